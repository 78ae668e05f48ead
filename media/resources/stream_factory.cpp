#include "media/resources/stream_factory.h"

#include "media/resources/embedded_files.h"
#include "media/resources/ram_stream.h"

namespace media {

namespace {

TStreamFactory*& ChainHead() {
  static TStreamFactory* head = nullptr;
  return head;
}

}  // namespace

TStreamFactory::TStreamFactory() : _succ(ChainHead()) { ChainHead() = this; }

// A factory that goes away (tests make short-lived ones) takes itself out of the chain.
TStreamFactory::~TStreamFactory() {
  for (TStreamFactory** link = &ChainHead(); *link != nullptr; link = &(*link)->_succ) {
    if (*link == this) {
      *link = _succ;
      break;
    }
  }
}

TStreamFactory* TStreamFactory::First() { return ChainHead(); }

std::shared_ptr<TStream> TRamStreamFactory::CreateStream(std::u16string_view /*url*/,
                                                         std::u16string_view proto,
                                                         std::u16string_view path, int readable,
                                                         int writeable) {
  if (proto != u"incbin" || writeable != 0) return nullptr;
  const std::uint8_t* data = EmbeddedFileData(path);
  if (data == nullptr) return nullptr;
  return TRamStream::Create(data, EmbeddedFileSize(path), readable);
}

void InitStreams() {
  static TRamStreamFactory incbin;
}

}  // namespace media
