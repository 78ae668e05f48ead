// The software driver's frame record: a frame's clears and fills are kept until the frame
// ends, then drawn only into the tiles of the picture whose drawing differs from the last
// frame's. A tile is kept as it is only when it begins with a clear over the whole tile and
// every fill that reaches it is the same, in the same order, as in the last frame: its
// pixels then depend on nothing else (soft_raster's scissor leaves every pixel's value as it
// is), so they are the ones already there. The disk redraws a still band, pad and logo every
// frame; only the letters and the scroll text move.
// Depends on: soft_raster.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "media/draw2d/soft/soft_raster.h"

namespace media {

struct TRasterRect {
  int x0 = 0, y0 = 0;  // first pixel
  int x1 = 0, y1 = 0;  // one past the last
};

class TSoftFrameRecord {
 public:
  static constexpr int kTileSize = 16;  // pixels across and down

  // A new back buffer of this size: the next frame is drawn whole.
  void Start(int width, int height);
  // The back buffer was changed outside the record (a pixmap pasted into it, a texture freed
  // that the last frame used): this frame's record cannot stand for it, so the next frame
  // is drawn whole.
  void Forget() { forgotten_ = true; }

  void Clear(const TRasterTarget& target, std::uint32_t color);
  void Fill(const TRasterTarget& target, std::span<const TRasterPoint> points,
            const TRasterTexture* texture, std::uint32_t color, int blend);

  // Draws everything recorded so far, everywhere, so that the back buffer can be read (or
  // written) in the middle of a frame; the rest of the frame is then drawn whole too.
  void DrawPending();
  // Ends the frame: draws its record where it changed the picture and returns the
  // rectangles of the back buffer that were drawn (valid until the next call).
  std::span<const TRasterRect> EndFrame();

 private:
  enum class Kind : std::uint8_t { kClear, kFill };
  struct Command {
    Kind kind = Kind::kFill;
    int blend = 0;
    std::uint32_t color = 0;
    TRasterTarget target;  // pixels, pitch and clip; no scissor
    bool textured = false;
    TRasterTexture texture;
    int firstPoint = 0;  // in points_
    int pointCount = 0;
    int tileX0 = 0, tileY0 = 0, tileX1 = 0, tileY1 = 0;  // tiles it may touch, X1/Y1 past
  };
  struct Frame {
    std::vector<Command> commands;
    std::vector<TRasterPoint> points;
    std::vector<int> tileStart;    // tile t's commands: tileEntries[tileStart[t]..tileStart[t+1])
    std::vector<int> tileEntries;  // command indices, in drawing order
    void Clear();
  };

  void Add(Command& command);
  void IndexTiles(Frame& frame) const;
  bool TileUnchanged(int tile) const;
  bool SameDrawing(const Command& a, const Frame& fa, const Command& b, const Frame& fb) const;
  void FindChangedRectangles(bool whole);
  void Draw(const Command& command, const Frame& frame, const TRasterRect* scissor) const;

  int width_ = 0, height_ = 0;
  int tilesX_ = 0, tilesY_ = 0;
  Frame current_;
  Frame last_;
  bool lastValid_ = false;  // last_ describes what the back buffer holds
  int drawnUpTo_ = 0;       // current_'s commands already drawn (whole) by DrawPending
  bool forgotten_ = false;
  std::vector<std::uint8_t> changed_;  // per tile, this frame
  std::vector<TRasterRect> rects_;
};

}  // namespace media
