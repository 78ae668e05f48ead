#include "media/resources/url.h"

#include "media/resources/file_stream.h"
#include "media/resources/stream_factory.h"
#include "media/resources/utf16.h"

namespace media {

std::shared_ptr<TStream> OpenUrlStream(std::u16string_view url, int readable, int writeable) {
  std::u16string proto;
  std::u16string_view path;
  if (!url.empty()) {
    const size_t sep = url.find(u"::");
    if (sep == std::u16string_view::npos) return TFileStream::Open(url, readable, writeable);
    proto = ToLowerLatin(url.substr(0, sep));
    path = url.substr(sep + 2);
  }
  for (TStreamFactory* f = TStreamFactory::First(); f != nullptr; f = f->Next()) {
    if (auto stream = f->CreateStream(url, proto, path, readable, writeable)) return stream;
  }
  return nullptr;
}

std::vector<std::uint8_t> LoadUrlBytes(std::u16string_view url) {
  const std::shared_ptr<TStream> stream = OpenUrlStream(url, 1, 0);
  if (!stream) throw TStreamReadException();
  std::vector<std::uint8_t> bytes(1024);
  size_t count = 0;
  while (stream->Eof() == 0) {
    if (count == bytes.size()) bytes.resize(count * 3 / 2);
    const std::int64_t n =
        stream->Read(bytes.data() + count, static_cast<std::int64_t>(bytes.size() - count));
    // A stream that stops delivering without reporting its end would otherwise spin here
    // for ever; what has arrived is the content.
    if (n <= 0) break;
    count += static_cast<size_t>(n);
  }
  stream->Close();
  bytes.resize(count);
  bytes.shrink_to_fit();
  return bytes;
}

}  // namespace media
