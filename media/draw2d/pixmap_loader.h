// The pixmap loaders: each turns the bytes of one picture file format into a pixmap. They
// form a chain that is tried in turn; PNG is the one the program needs.
// Depends on: pixmap.h, media/resources (streams, URLs).
#pragma once

#include <memory>
#include <string_view>

#include "media/draw2d/pixmap.h"
#include "media/resources/stream.h"

namespace media {

class TPixmapLoader {
 public:
  virtual ~TPixmapLoader() = default;
  // A pixmap from `stream`, read from its current position, or null when the data is not in
  // this loader's format. May throw; the chain decides which errors end the search.
  virtual std::shared_ptr<TPixmap> LoadPixmap(TStream& stream) = 0;
};

// Puts `loader` at the head of the chain (asked first). The caller keeps it alive until it
// removes it again.
void AddPixmapLoader(TPixmapLoader& loader);
void RemovePixmapLoader(TPixmapLoader& loader);

// Tries every loader in turn, seeking the stream back to its start position before each. A
// stream error inside a loader counts as "not mine"; any other error passes on. Null when
// the stream cannot tell its position or no loader accepts the data.
std::shared_ptr<TPixmap> LoadPixmap(TStream& stream);

}  // namespace media
