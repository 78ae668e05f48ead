#include "media/resources/file_stream.h"

#include <algorithm>

#include "media/resources/utf16.h"

namespace media {

std::shared_ptr<TFileStream> TFileStream::Open(std::u16string_view path, int readable,
                                               int writeable) {
  if (readable == 0 && writeable == 0) return nullptr;
  const char* mode = writeable == 0 ? "rb" : readable == 0 ? "wb" : "r+b";
  std::FILE* file = std::fopen(Utf16ToUtf8(path).c_str(), mode);
  if (file == nullptr) return nullptr;
  auto stream = std::make_shared<TFileStream>();
  stream->_file = file;
  stream->_read = readable != 0 ? 1 : 0;
  stream->_write = writeable != 0 ? 1 : 0;
  if (std::fseek(file, 0, SEEK_END) == 0) stream->_size = std::max<long>(std::ftell(file), 0);
  std::fseek(file, 0, SEEK_SET);
  return stream;
}

TFileStream::~TFileStream() { Close(); }

std::int64_t TFileStream::Seek(std::int64_t pos) {
  if (_file == nullptr) return -1;
  pos = std::clamp<std::int64_t>(pos, 0, _size);
  if (std::fseek(_file, static_cast<long>(pos), SEEK_SET) == 0) _pos = pos;
  return _pos;
}

int TFileStream::Flush() { return _file != nullptr && std::fflush(_file) == 0 ? 1 : 0; }

int TFileStream::Close() {
  if (_file == nullptr) return 0;
  std::fclose(_file);
  _file = nullptr;
  return 1;
}

std::int64_t TFileStream::Read(void* buffer, std::int64_t count) {
  if (count <= 0 || _read == 0 || _file == nullptr) return 0;
  const size_t n = std::fread(buffer, 1, static_cast<size_t>(count), _file);
  _pos += static_cast<std::int64_t>(n);
  return static_cast<std::int64_t>(n);
}

std::int64_t TFileStream::Write(const void* buffer, std::int64_t count) {
  if (count <= 0 || _write == 0 || _file == nullptr) return 0;
  const size_t n = std::fwrite(buffer, 1, static_cast<size_t>(count), _file);
  _pos += static_cast<std::int64_t>(n);
  _size = std::max(_size, _pos);
  return static_cast<std::int64_t>(n);
}

}  // namespace media
