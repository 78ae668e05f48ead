// Embedded file table: the pictures, fonts and music linked into the executable, looked up
// by name. The bytes are never copied or written; they live as long as the program.
// Depends on: nothing.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace media {

// One registered file. The table is a singly linked list, newest first.
struct EmbeddedFileEntry {
  std::unique_ptr<EmbeddedFileEntry> next;  // the entry registered before this one
  std::u16string name;                      // relative path with forward slashes
  const std::uint8_t* data = nullptr;       // first byte of the embedded file
  std::int32_t size = 0;                    // length in bytes
};

// Adds a file under `name`. Returns 1 when added, 0 when the name is already registered
// (the first registration of a name wins and the table is left unchanged).
int RegisterEmbeddedFile(std::u16string_view name, const void* data, std::int32_t size);

// The bytes registered under `name` (matched exactly, case included), or null.
const std::uint8_t* EmbeddedFileData(std::u16string_view name);

// The length registered under `name`, or 0 when the name is unknown.
std::int32_t EmbeddedFileSize(std::u16string_view name);

// Empties the table. The program never calls it; tests use it to start from nothing.
void ResetEmbeddedFilesForTesting();

}  // namespace media
