#include "media/resources/embedded_files.h"

namespace media {

namespace {

// Registration happens on the main thread before any lookup, so nothing is locked.
std::unique_ptr<EmbeddedFileEntry>& Head() {
  static std::unique_ptr<EmbeddedFileEntry> head;
  return head;
}

const EmbeddedFileEntry* Find(std::u16string_view name) {
  for (const EmbeddedFileEntry* e = Head().get(); e != nullptr; e = e->next.get()) {
    if (e->name == name) return e;
  }
  return nullptr;
}

}  // namespace

int RegisterEmbeddedFile(std::u16string_view name, const void* data, std::int32_t size) {
  if (Find(name) != nullptr) return 0;
  auto entry = std::make_unique<EmbeddedFileEntry>();
  entry->name = std::u16string(name);
  entry->data = static_cast<const std::uint8_t*>(data);
  entry->size = size;
  entry->next = std::move(Head());
  Head() = std::move(entry);
  return 1;
}

const std::uint8_t* EmbeddedFileData(std::u16string_view name) {
  const EmbeddedFileEntry* e = Find(name);
  return e != nullptr ? e->data : nullptr;
}

std::int32_t EmbeddedFileSize(std::u16string_view name) {
  const EmbeddedFileEntry* e = Find(name);
  return e != nullptr ? e->size : 0;
}

void ResetEmbeddedFilesForTesting() {
  // Unlink iteratively so a long table cannot overflow the stack through nested destructors.
  std::unique_ptr<EmbeddedFileEntry> e = std::move(Head());
  while (e) e = std::move(e->next);
}

}  // namespace media
