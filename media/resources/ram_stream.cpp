#include "media/resources/ram_stream.h"

#include <algorithm>
#include <cstring>

namespace media {

std::shared_ptr<TRamStream> TRamStream::Create(const void* buffer, std::int32_t size,
                                               int readable) {
  auto stream = std::make_shared<TRamStream>();
  stream->_buf = static_cast<const std::uint8_t*>(buffer);
  stream->_size = std::max<std::int32_t>(size, 0);
  stream->_read = readable != 0 ? 1 : 0;
  return stream;
}

std::shared_ptr<TRamStream> TRamStream::Create(void* buffer, std::int32_t size, int readable,
                                               int writeable) {
  auto stream = Create(static_cast<const void*>(buffer), size, readable);
  stream->_writeBuf = static_cast<std::uint8_t*>(buffer);
  stream->_write = writeable != 0 ? 1 : 0;
  return stream;
}

std::int64_t TRamStream::Seek(std::int64_t pos) {
  _pos = static_cast<std::int32_t>(std::clamp<std::int64_t>(pos, 0, _size));
  return _pos;
}

// The remaining room is compared as `count > _size - _pos`, never `_pos + count > _size`,
// so that a huge count cannot wrap around and copy past the block.
std::int64_t TRamStream::Read(void* buffer, std::int64_t count) {
  if (count <= 0 || _read == 0) return 0;
  count = std::min<std::int64_t>(count, _size - _pos);
  if (count > 0) std::memcpy(buffer, _buf + _pos, static_cast<size_t>(count));
  _pos += static_cast<std::int32_t>(count);
  return count;
}

std::int64_t TRamStream::Write(const void* buffer, std::int64_t count) {
  if (count <= 0 || _write == 0) return 0;
  count = std::min<std::int64_t>(count, _size - _pos);
  if (count > 0) std::memcpy(_writeBuf + _pos, buffer, static_cast<size_t>(count));
  _pos += static_cast<std::int32_t>(count);
  return count;
}

}  // namespace media
