#include "media/resources/stream.h"

namespace media {

int TIO::Eof() { return Pos() == Size() ? 1 : 0; }

std::int64_t TIO::Read(void* /*buffer*/, std::int64_t /*count*/) {
  throw TRuntimeError("Stream is not readable");
}

std::int64_t TIO::Write(const void* /*buffer*/, std::int64_t /*count*/) {
  throw TRuntimeError("Stream is not writeable");
}

void TStream::ReadBytes(void* buffer, std::int64_t count) {
  auto* out = static_cast<std::uint8_t*>(buffer);
  while (count > 0) {
    const std::int64_t n = Read(out, count);
    if (n <= 0) throw TStreamReadException();
    out += n;
    count -= n;
  }
}

void TStream::WriteBytes(const void* buffer, std::int64_t count) {
  const auto* in = static_cast<const std::uint8_t*>(buffer);
  while (count > 0) {
    const std::int64_t n = Write(in, count);
    if (n <= 0) throw TStreamWriteException();
    in += n;
    count -= n;
  }
}

}  // namespace media
