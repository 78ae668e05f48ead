#include "tools/gfxgen/mask.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace gfxgen {
namespace {

struct Offset {
  int dx, dy;
  double distance;
};

void requireSameSize(const Mask& a, const Mask& b) {
  if (a.width != b.width || a.height != b.height) {
    throw std::invalid_argument("masks of different sizes");
  }
}

template <typename Op>
Mask combine(const Mask& a, const Mask& b, Op op) {
  requireSameSize(a, b);
  Mask out(a.width, a.height);
  for (std::size_t i = 0; i < out.value.size(); ++i) out.value[i] = op(a.value[i], b.value[i]);
  return out;
}

// One pass of a separable blur along x (horizontal) or y.
Mask convolve(const Mask& in, const std::vector<double>& kernel, bool horizontal) {
  const int reach = static_cast<int>(kernel.size() / 2);
  Mask out(in.width, in.height);
  for (int y = 0; y < in.height; ++y) {
    for (int x = 0; x < in.width; ++x) {
      double sum = 0.0;
      for (int k = -reach; k <= reach; ++k) {
        const int sx = horizontal ? x + k : x;
        const int sy = horizontal ? y : y + k;
        if (sx < 0 || sy < 0 || sx >= in.width || sy >= in.height) continue;
        sum += kernel[std::size_t(k + reach)] * in.at(sx, sy);
      }
      out.at(x, y) = static_cast<float>(sum);
    }
  }
  return out;
}

}  // namespace

double Mask::area() const {
  double sum = 0.0;
  for (float v : value) sum += v;
  return sum;
}

Mask dilate(const Mask& mask, double radius) {
  // A pixel of coverage c is taken to reach c - 0.5 pixels past its centre, so an edge pixel
  // places the grown edge with sub-pixel accuracy: value(p) = max over q of r + c(q) - |p - q|.
  const int reach = static_cast<int>(std::ceil(radius + 1.0));
  std::vector<Offset> offsets;
  for (int dy = -reach; dy <= reach; ++dy) {
    for (int dx = -reach; dx <= reach; ++dx) {
      const double d = std::hypot(dx, dy);
      if (d < radius + 1.0) offsets.push_back({dx, dy, d});
    }
  }
  std::stable_sort(offsets.begin(), offsets.end(),
                   [](const Offset& l, const Offset& r) { return l.distance < r.distance; });

  // Only pixels within reach of the shape's bounding box can receive anything.
  int left = mask.width, top = mask.height, right = -1, bottom = -1;
  for (int y = 0; y < mask.height; ++y) {
    for (int x = 0; x < mask.width; ++x) {
      if (mask.at(x, y) <= 0.0f) continue;
      left = std::min(left, x);
      right = std::max(right, x);
      top = std::min(top, y);
      bottom = std::max(bottom, y);
    }
  }
  Mask out(mask.width, mask.height);
  for (int y = std::max(0, top - reach); y <= std::min(mask.height - 1, bottom + reach); ++y) {
    for (int x = std::max(0, left - reach); x <= std::min(mask.width - 1, right + reach); ++x) {
      double best = 0.0;
      for (const Offset& o : offsets) {
        if (radius + 1.0 - o.distance <= best) break;  // no farther pixel can do better
        const int sx = x + o.dx;
        const int sy = y + o.dy;
        if (sx < 0 || sy < 0 || sx >= mask.width || sy >= mask.height) continue;
        const float c = mask.at(sx, sy);
        if (c > 0.0f) best = std::max(best, radius + c - o.distance);
        if (best >= 1.0) break;
      }
      out.at(x, y) = static_cast<float>(std::clamp(best, 0.0, 1.0));
    }
  }
  return out;
}

Mask blur(const Mask& mask, double sigma) {
  if (sigma <= 0.0) return mask;
  const int reach = static_cast<int>(std::ceil(3.0 * sigma));
  std::vector<double> kernel(std::size_t(2 * reach + 1));
  double total = 0.0;
  for (int k = -reach; k <= reach; ++k) {
    const double w = std::exp(-(k * k) / (2.0 * sigma * sigma));
    kernel[std::size_t(k + reach)] = w;
    total += w;
  }
  for (double& w : kernel) w /= total;
  return convolve(convolve(mask, kernel, true), kernel, false);
}

Mask shifted(const Mask& mask, int dx, int dy) {
  Mask out(mask.width, mask.height);
  for (int y = 0; y < mask.height; ++y) {
    for (int x = 0; x < mask.width; ++x) {
      const int sx = x - dx;
      const int sy = y - dy;
      if (sx >= 0 && sy >= 0 && sx < mask.width && sy < mask.height) out.at(x, y) = mask.at(sx, sy);
    }
  }
  return out;
}

Mask unite(const Mask& a, const Mask& b) {
  return combine(a, b, [](float l, float r) { return std::max(l, r); });
}

Mask intersect(const Mask& a, const Mask& b) {
  return combine(a, b, [](float l, float r) { return l * r; });
}

Mask subtract(const Mask& a, const Mask& b) {
  return combine(a, b, [](float l, float r) { return l * (1.0f - r); });
}

}  // namespace gfxgen
