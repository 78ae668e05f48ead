// A stream over a file of the file system: what a URL without a protocol opens.
// Depends on: stream.h, the C library.
#pragma once

#include <cstdio>
#include <memory>
#include <string_view>

#include "media/resources/stream.h"

namespace media {

class TFileStream : public TStream {
 public:
  // Opens `path` (UTF-16, converted to the file system's UTF-8) or returns null.
  // Read and write together open an existing file for update; write alone truncates.
  static std::shared_ptr<TFileStream> Open(std::u16string_view path, int readable, int writeable);
  ~TFileStream() override;

  std::int64_t Pos() override { return _pos; }
  std::int64_t Size() override { return _size; }
  std::int64_t Seek(std::int64_t pos) override;
  int Flush() override;
  int Close() override;
  std::int64_t Read(void* buffer, std::int64_t count) override;
  std::int64_t Write(const void* buffer, std::int64_t count) override;

 private:
  std::FILE* _file = nullptr;  // null once closed
  std::int64_t _pos = 0;       // current position
  std::int64_t _size = 0;      // file length, grown by writes past the end
  int _read = 0;               // reading allowed
  int _write = 0;              // writing allowed
};

}  // namespace media
