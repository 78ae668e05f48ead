// Opening URLs: "protocol::path" goes to the protocol's handler, anything without "::" is a
// path of the file system.
// Depends on: stream_factory.h, file_stream.h.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "media/resources/stream.h"

namespace media {

// A stream for `url`, or null. The protocol is matched without regard to case; the path is
// passed on exactly as written.
std::shared_ptr<TStream> OpenUrlStream(std::u16string_view url, int readable, int writeable);

// The whole content of `url`. Throws TStreamReadException when it cannot be opened.
std::vector<std::uint8_t> LoadUrlBytes(std::u16string_view url);

}  // namespace media
