// The scanline rasteriser behind fill(): every pixel row is sampled on kSubRows horizontal
// lines; on each line the spans where the winding number is non-zero add their exact
// horizontal extent to the row's coverage.
#include <algorithm>
#include <cmath>

#include "tools/gfxgen/mask.h"

namespace gfxgen {
namespace {

struct Edge {
  double x0, y0;  // upper end (smaller y)
  double y1;      // lower end
  double slope;   // dx / dy
  int direction;  // +1 when the contour runs downwards, -1 upwards
};

struct Crossing {
  double x;
  int direction;
};

std::vector<Edge> collectEdges(const Path& path) {
  std::vector<Edge> edges;
  for (const auto& contour : path.contours()) {
    for (std::size_t i = 0; i < contour.size(); ++i) {
      Vec2 a = contour[i];
      Vec2 b = contour[(i + 1) % contour.size()];
      if (a.y == b.y) continue;  // horizontal edges never cross a sample line
      int direction = a.y < b.y ? 1 : -1;
      if (direction < 0) std::swap(a, b);
      edges.push_back({a.x, a.y, b.y, (b.x - a.x) / (b.y - a.y), direction});
    }
  }
  std::sort(edges.begin(), edges.end(), [](const Edge& l, const Edge& r) { return l.y0 < r.y0; });
  return edges;
}

// Adds the span [from, to) to the row accumulator, clipped to the row.
void addSpan(std::vector<double>& row, double from, double to) {
  const double width = static_cast<double>(row.size());
  from = std::max(from, 0.0);
  to = std::min(to, width);
  if (to <= from) return;
  const auto first = static_cast<std::size_t>(from);
  const auto last = static_cast<std::size_t>(to);
  if (first == last) {
    row[first] += to - from;
    return;
  }
  row[first] += static_cast<double>(first + 1) - from;
  for (std::size_t i = first + 1; i < last; ++i) row[i] += 1.0;
  if (last < row.size()) row[last] += to - static_cast<double>(last);
}

}  // namespace

Mask fill(const Path& path, int width, int height) {
  Mask mask(width, height);
  const std::vector<Edge> edges = collectEdges(path);
  std::vector<const Edge*> active;
  std::vector<Crossing> crossings;
  std::vector<double> row(static_cast<std::size_t>(width));
  std::size_t next = 0;

  for (int y = 0; y < height; ++y) {
    while (next < edges.size() && edges[next].y0 < y + 1.0) active.push_back(&edges[next++]);
    std::erase_if(active, [y](const Edge* e) { return e->y1 <= y; });
    if (active.empty()) continue;

    std::fill(row.begin(), row.end(), 0.0);
    for (int s = 0; s < kSubRows; ++s) {
      const double sampleY = y + (s + 0.5) / kSubRows;
      crossings.clear();
      for (const Edge* e : active) {
        if (e->y0 <= sampleY && sampleY < e->y1) {
          crossings.push_back({e->x0 + (sampleY - e->y0) * e->slope, e->direction});
        }
      }
      std::sort(crossings.begin(), crossings.end(),
                [](const Crossing& l, const Crossing& r) { return l.x < r.x; });
      int winding = 0;
      double spanStart = 0.0;
      for (const Crossing& c : crossings) {
        const int before = winding;
        winding += c.direction;
        if (before == 0 && winding != 0) spanStart = c.x;
        if (before != 0 && winding == 0) addSpan(row, spanStart, c.x);
      }
    }
    for (int x = 0; x < width; ++x) {
      mask.at(x, y) = static_cast<float>(std::min(1.0, row[std::size_t(x)] / kSubRows));
    }
  }
  return mask;
}

}  // namespace gfxgen
