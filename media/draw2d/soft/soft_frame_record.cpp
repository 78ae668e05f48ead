#include "media/draw2d/soft/soft_frame_record.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace media {

namespace {

// The first pixel a coordinate can reach, kept within [low, high]; NaN gives low.
int PixelFloor(double v, int low, int high) {
  if (!(v > low)) return low;
  if (v > high) return high;
  return static_cast<int>(std::floor(v));
}

// One past the last pixel a coordinate can reach, kept within [low, high]; NaN gives high.
int PixelCeil(double v, int low, int high) {
  if (!(v < high)) return high;
  if (v < low) return low;
  return static_cast<int>(std::ceil(v));
}

bool SameBits(double a, double b) {
  return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

bool SameTarget(const TRasterTarget& a, const TRasterTarget& b) {
  return a.pixels == b.pixels && a.pitch == b.pitch && a.clipX0 == b.clipX0 &&
         a.clipY0 == b.clipY0 && a.clipX1 == b.clipX1 && a.clipY1 == b.clipY1;
}

bool SameTexture(const TRasterTexture& a, const TRasterTexture& b) {
  return a.texels == b.texels && a.width == b.width && a.height == b.height &&
         a.bilinear == b.bilinear && SameBits(a.u0, b.u0) && SameBits(a.dudx, b.dudx) &&
         SameBits(a.dudy, b.dudy) && SameBits(a.v0, b.v0) && SameBits(a.dvdx, b.dvdx) &&
         SameBits(a.dvdy, b.dvdy);
}

}  // namespace

void TSoftFrameRecord::Frame::Clear() {
  commands.clear();
  points.clear();
  tileEntries.clear();
}

void TSoftFrameRecord::Start(int width, int height) {
  width_ = std::max(width, 0);
  height_ = std::max(height, 0);
  tilesX_ = (width_ + kTileSize - 1) / kTileSize;
  tilesY_ = (height_ + kTileSize - 1) / kTileSize;
  current_.Clear();
  last_.Clear();
  lastValid_ = false;
  drawnUpTo_ = 0;
  forgotten_ = false;
  changed_.assign(static_cast<size_t>(tilesX_) * tilesY_, 0);
  // Frames take turns in the two records: room for a busy frame in both, made now, keeps
  // the frames themselves from allocating.
  for (Frame* frame : {&current_, &last_}) {
    frame->commands.reserve(1024);
    frame->points.reserve(8192);
    frame->tileEntries.reserve(16384);
    frame->tileStart.reserve(changed_.size() + 1);
  }
}

void TSoftFrameRecord::Add(Command& command) {
  if (command.tileX0 >= command.tileX1 || command.tileY0 >= command.tileY1) return;
  current_.commands.push_back(command);
}

void TSoftFrameRecord::Clear(const TRasterTarget& target, std::uint32_t color) {
  Command command;
  command.kind = Kind::kClear;
  command.color = color;
  command.target = target;
  const int x0 = std::clamp(target.clipX0, 0, width_);
  const int x1 = std::clamp(target.clipX1, x0, width_);
  const int y0 = std::clamp(target.clipY0, 0, height_);
  const int y1 = std::clamp(target.clipY1, y0, height_);
  command.tileX0 = x0 / kTileSize;
  command.tileY0 = y0 / kTileSize;
  command.tileX1 = (x1 + kTileSize - 1) / kTileSize;
  command.tileY1 = (y1 + kTileSize - 1) / kTileSize;
  Add(command);
}

void TSoftFrameRecord::Fill(const TRasterTarget& target, std::span<const TRasterPoint> points,
                            const TRasterTexture* texture, std::uint32_t color, int blend) {
  if (points.size() < 3) return;
  Command command;
  command.blend = blend;
  command.color = color;
  command.target = target;
  command.textured = texture != nullptr;
  if (texture != nullptr) command.texture = *texture;
  double minX = points[0].x, maxX = points[0].x;
  double minY = points[0].y, maxY = points[0].y;
  for (const TRasterPoint& p : points) {
    minX = std::min(minX, p.x);
    maxX = std::max(maxX, p.x);
    minY = std::min(minY, p.y);
    maxY = std::max(maxY, p.y);
  }
  // Pixels whose centres lie inside, with a pixel to spare on each side.
  const int x0 =
      PixelFloor(minX - 1.0, std::max(target.clipX0, 0), std::min(target.clipX1, width_));
  const int x1 = PixelCeil(maxX + 1.0, x0, std::min(target.clipX1, width_));
  const int y0 =
      PixelFloor(minY - 1.0, std::max(target.clipY0, 0), std::min(target.clipY1, height_));
  const int y1 = PixelCeil(maxY + 1.0, y0, std::min(target.clipY1, height_));
  command.tileX0 = x0 / kTileSize;
  command.tileY0 = y0 / kTileSize;
  command.tileX1 = (x1 + kTileSize - 1) / kTileSize;
  command.tileY1 = (y1 + kTileSize - 1) / kTileSize;
  if (x0 >= x1 || y0 >= y1) return;
  command.firstPoint = static_cast<int>(current_.points.size());
  command.pointCount = static_cast<int>(points.size());
  current_.points.insert(current_.points.end(), points.begin(), points.end());
  Add(command);
}

void TSoftFrameRecord::Draw(const Command& command, const Frame& frame,
                            const TRasterRect* scissor) const {
  TRasterTarget target = command.target;
  if (scissor != nullptr) {
    target.scissorX0 = scissor->x0;
    target.scissorY0 = scissor->y0;
    target.scissorX1 = scissor->x1;
    target.scissorY1 = scissor->y1;
  }
  if (command.kind == Kind::kClear) {
    FillClip(target, command.color);
    return;
  }
  const std::span<const TRasterPoint> points(frame.points.data() + command.firstPoint,
                                             static_cast<size_t>(command.pointCount));
  FillConvexPolygon(target, points, command.textured ? &command.texture : nullptr, command.color,
                    command.blend);
}

void TSoftFrameRecord::DrawPending() {
  const int count = static_cast<int>(current_.commands.size());
  for (; drawnUpTo_ < count; ++drawnUpTo_) Draw(current_.commands[drawnUpTo_], current_, nullptr);
}

void TSoftFrameRecord::IndexTiles(Frame& frame) const {
  // A counting sort of (tile, command) pairs by tile, commands staying in drawing order.
  const size_t tiles = static_cast<size_t>(tilesX_) * tilesY_;
  frame.tileStart.assign(tiles + 1, 0);
  for (const Command& c : frame.commands) {
    for (int ty = c.tileY0; ty < c.tileY1; ++ty) {
      for (int tx = c.tileX0; tx < c.tileX1; ++tx) ++frame.tileStart[ty * tilesX_ + tx + 1];
    }
  }
  for (size_t t = 0; t < tiles; ++t) frame.tileStart[t + 1] += frame.tileStart[t];
  frame.tileEntries.resize(static_cast<size_t>(frame.tileStart[tiles]));
  // Each start serves as its tile's next free entry, and is shifted back afterwards.
  for (int index = 0; index < static_cast<int>(frame.commands.size()); ++index) {
    const Command& c = frame.commands[index];
    for (int ty = c.tileY0; ty < c.tileY1; ++ty) {
      for (int tx = c.tileX0; tx < c.tileX1; ++tx) {
        frame.tileEntries[frame.tileStart[ty * tilesX_ + tx]++] = index;
      }
    }
  }
  for (size_t t = tiles; t > 0; --t) frame.tileStart[t] = frame.tileStart[t - 1];
  frame.tileStart[0] = 0;
}

bool TSoftFrameRecord::SameDrawing(const Command& a, const Frame& fa, const Command& b,
                                   const Frame& fb) const {
  if (a.kind != b.kind || a.color != b.color || !SameTarget(a.target, b.target)) return false;
  if (a.kind == Kind::kClear) return true;
  if (a.blend != b.blend || a.textured != b.textured || a.pointCount != b.pointCount) return false;
  if (a.textured && !SameTexture(a.texture, b.texture)) return false;
  for (int k = 0; k < a.pointCount; ++k) {
    const TRasterPoint& pa = fa.points[a.firstPoint + k];
    const TRasterPoint& pb = fb.points[b.firstPoint + k];
    if (!SameBits(pa.x, pb.x) || !SameBits(pa.y, pb.y)) return false;
  }
  return true;
}

bool TSoftFrameRecord::TileUnchanged(int tile) const {
  const int from = current_.tileStart[tile];
  const int to = current_.tileStart[tile + 1];
  if (to - from != last_.tileStart[tile + 1] - last_.tileStart[tile]) return false;
  if (from == to) return false;
  // Only a clear over the whole tile first makes its pixels independent of what it held.
  const Command& first = current_.commands[current_.tileEntries[from]];
  const int tx = tile % tilesX_;
  const int ty = tile / tilesX_;
  if (first.kind != Kind::kClear || first.target.clipX0 > tx * kTileSize ||
      first.target.clipY0 > ty * kTileSize ||
      first.target.clipX1 < std::min((tx + 1) * kTileSize, width_) ||
      first.target.clipY1 < std::min((ty + 1) * kTileSize, height_)) {
    return false;
  }
  const int lastFrom = last_.tileStart[tile];
  for (int k = 0; k < to - from; ++k) {
    if (!SameDrawing(current_.commands[current_.tileEntries[from + k]], current_,
                     last_.commands[last_.tileEntries[lastFrom + k]], last_)) {
      return false;
    }
  }
  return true;
}

void TSoftFrameRecord::FindChangedRectangles(bool whole) {
  rects_.clear();
  if (width_ == 0 || height_ == 0) return;
  if (whole) {
    rects_.push_back({0, 0, width_, height_});
    return;
  }
  for (int tile = 0; tile < tilesX_ * tilesY_; ++tile) changed_[tile] = !TileUnchanged(tile);
  // Runs of changed tiles along each tile row; a run below one of the same columns extends it.
  for (int ty = 0; ty < tilesY_; ++ty) {
    const int y0 = ty * kTileSize;
    const int y1 = std::min(y0 + kTileSize, height_);
    for (int tx = 0; tx < tilesX_;) {
      if (changed_[ty * tilesX_ + tx] == 0) {
        ++tx;
        continue;
      }
      const int runFrom = tx;
      while (tx < tilesX_ && changed_[ty * tilesX_ + tx] != 0) ++tx;
      const TRasterRect run{runFrom * kTileSize, y0, std::min(tx * kTileSize, width_), y1};
      auto above = std::find_if(rects_.begin(), rects_.end(), [&](const TRasterRect& r) {
        return r.x0 == run.x0 && r.x1 == run.x1 && r.y1 == run.y0;
      });
      if (above != rects_.end()) {
        above->y1 = run.y1;
      } else {
        rects_.push_back(run);
      }
    }
  }
}

std::span<const TRasterRect> TSoftFrameRecord::EndFrame() {
  IndexTiles(current_);
  const bool whole = !lastValid_ || drawnUpTo_ > 0;
  FindChangedRectangles(whole);
  const int count = static_cast<int>(current_.commands.size());
  if (drawnUpTo_ > 0) {
    // Part of the frame was drawn whole already: the rest follows it everywhere.
    for (int index = drawnUpTo_; index < count; ++index) {
      Draw(current_.commands[index], current_, nullptr);
    }
  } else {
    for (const TRasterRect& rect : rects_) {
      const int tx0 = rect.x0 / kTileSize, tx1 = (rect.x1 + kTileSize - 1) / kTileSize;
      const int ty0 = rect.y0 / kTileSize, ty1 = (rect.y1 + kTileSize - 1) / kTileSize;
      for (const Command& c : current_.commands) {
        if (c.tileX1 <= tx0 || c.tileX0 >= tx1 || c.tileY1 <= ty0 || c.tileY0 >= ty1) continue;
        Draw(c, current_, &rect);
      }
    }
  }
  std::swap(current_, last_);
  current_.Clear();
  lastValid_ = !forgotten_;
  forgotten_ = false;
  drawnUpTo_ = 0;
  return rects_;
}

}  // namespace media
