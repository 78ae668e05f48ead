// URLs and stream operations: the input is a URL (UTF-8, up to the first NUL), then the bytes
// of an embedded file, then nothing more. The file is registered under "fuzz/file"; the URL
// goes through OpenUrlStream (only "proto::path" URLs, so the fuzzer never opens files of the
// machine) and LoadUrlBytes; then the file's bytes drive seeks, reads and writes on a RAM
// stream over a copy of themselves.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "media/resources/embedded_files.h"
#include "media/resources/ram_stream.h"
#include "media/resources/stream.h"
#include "media/resources/stream_factory.h"
#include "media/resources/url.h"
#include "media/resources/utf16.h"

namespace {

void DriveRamStream(const std::uint8_t* ops, std::size_t size) {
  std::vector<std::uint8_t> block(ops, ops + size);
  auto stream = media::TRamStream::Create(block.data(), static_cast<std::int32_t>(block.size()), 1,
                                          ops[0] & 1);
  std::uint8_t scratch[64];
  for (std::size_t i = 1; i + 1 < size; i += 2) {
    const std::int64_t amount = static_cast<std::int8_t>(ops[i + 1]) * 3;
    switch (ops[i] % 4) {
      case 0:
        stream->Seek(amount);
        break;
      case 1:
        stream->Read(scratch, std::clamp<std::int64_t>(amount, 0, sizeof scratch));
        break;
      case 2:
        stream->Write(scratch, std::clamp<std::int64_t>(amount, 0, sizeof scratch));
        break;
      default:
        stream->Eof();
        stream->Pos();
        stream->Size();
        break;
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 1 << 16) return 0;
  const auto* end = static_cast<const std::uint8_t*>(std::memchr(data, 0, size));
  const std::size_t urlLength = end != nullptr ? static_cast<std::size_t>(end - data) : size;
  const std::string url8(reinterpret_cast<const char*>(data), urlLength);
  const std::uint8_t* content = data + std::min(size, urlLength + 1);
  const std::size_t contentSize = size - std::min(size, urlLength + 1);

  media::InitStreams();
  media::ResetEmbeddedFilesForTesting();
  media::RegisterEmbeddedFile(u"fuzz/file", content, static_cast<std::int32_t>(contentSize));
  const std::u16string url = media::Utf8ToUtf16(url8);
  if (url.find(u"::") != std::u16string::npos) {
    if (auto stream = media::OpenUrlStream(url, 1, data[0] & 1)) {
      std::uint8_t scratch[32];
      stream->Read(scratch, sizeof scratch);
      stream->Seek(stream->Size() / 2);
      stream->Read(scratch, sizeof scratch);
      stream->Close();
    }
    try {
      media::LoadUrlBytes(url);
    } catch (const media::TStreamException&) {
    }
  }
  if (contentSize > 0) DriveRamStream(content, contentSize);
  media::ResetEmbeddedFilesForTesting();
  return 0;
}
