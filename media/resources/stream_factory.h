// URL protocol handlers. Each factory serves one protocol; constructing one pushes it at the
// head of a process-wide chain, so the newest handler is asked first.
// Depends on: stream.h, ram_stream.h, embedded_files.h.
#pragma once

#include <memory>
#include <string_view>

#include "media/resources/stream.h"

namespace media {

class TStreamFactory {
 public:
  TStreamFactory();
  virtual ~TStreamFactory();
  TStreamFactory(const TStreamFactory&) = delete;
  TStreamFactory& operator=(const TStreamFactory&) = delete;

  // A stream for `path` under `proto` (already lower case), or null when this handler does
  // not serve the request.
  virtual std::shared_ptr<TStream> CreateStream(std::u16string_view url, std::u16string_view proto,
                                                std::u16string_view path, int readable,
                                                int writeable) = 0;

  // The newest factory, then each one's successor.
  static TStreamFactory* First();
  TStreamFactory* Next() const { return _succ; }

 private:
  TStreamFactory* _succ = nullptr;  // the factory created before this one
};

// The "incbin" protocol: read-only streams over the embedded files.
class TRamStreamFactory : public TStreamFactory {
 public:
  std::shared_ptr<TStream> CreateStream(std::u16string_view url, std::u16string_view proto,
                                        std::u16string_view path, int readable,
                                        int writeable) override;
};

// Brings up the stream layer: creates the one "incbin" handler. Safe to call more than once.
void InitStreams();

}  // namespace media
