// The pixmap loader chain and loading a pixmap from a URL.
#include "media/draw2d/pixmap_loader.h"

#include <algorithm>
#include <vector>

#include "media/draw2d/image.h"
#include "media/draw2d/png_loader.h"
#include "media/resources/url.h"

namespace media {

namespace {

// Newest first. The PNG loader is always there, so a static library that nobody asks for
// it by name still reads PNG.
std::vector<TPixmapLoader*>& Chain() {
  static std::vector<TPixmapLoader*> chain{&PngPixmapLoader()};
  return chain;
}

// Closes the stream however the search ends.
struct StreamCloser {
  TStream& stream;
  ~StreamCloser() { stream.Close(); }
};

}  // namespace

void AddPixmapLoader(TPixmapLoader& loader) {
  Chain().insert(Chain().begin(), &loader);
}

void RemovePixmapLoader(TPixmapLoader& loader) {
  std::erase(Chain(), &loader);
}

std::shared_ptr<TPixmap> LoadPixmap(TStream& stream) {
  const std::int64_t start = stream.Pos();
  if (start < 0) return nullptr;
  for (TPixmapLoader* loader : Chain()) {
    stream.Seek(start);
    try {
      if (auto pixmap = loader->LoadPixmap(stream)) return pixmap;
    } catch (const TStreamException&) {
      // The data ran out or could not be read: not this loader's format.
    }
  }
  return nullptr;
}

std::shared_ptr<TPixmap> LoadPixmap(std::u16string_view url) {
  const std::shared_ptr<TStream> stream = OpenUrlStream(url, 1, 0);
  if (!stream) return nullptr;
  StreamCloser closer{*stream};
  return LoadPixmap(*stream);
}

}  // namespace media
