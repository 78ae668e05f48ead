#include "media/audio/fft.h"

#include <cmath>
#include <cstring>
#include <numbers>
#include <utility>

namespace media::audio {
namespace {

// Four floats that add and multiply lane by lane; GCC and Clang lower it to the target's
// vector registers.
typedef float Lanes __attribute__((vector_size(16)));

inline Lanes Load(const float* from) {
  Lanes lanes;
  std::memcpy(&lanes, from, sizeof lanes);
  return lanes;
}

inline void Store(float* to, Lanes lanes) {
  std::memcpy(to, &lanes, sizeof lanes);
}

// One radix-4 butterfly on values of type T (a float or four lanes of floats): reads a, b, c,
// d at `inRe`/`inIm` and `quarter`, 2 `quarter`, 3 `quarter` after, and gives the four
// results, the last three turned by their twiddles (w1, w2, w3 as real, imaginary pairs).
template <typename T>
struct Quad {
  T re[4];
  T im[4];
};

template <typename T, typename Read>
inline Quad<T> Butterfly(const float* inRe, const float* inIm, std::size_t quarter, T w1r, T w1i,
                         T w2r, T w2i, T w3r, T w3i, Read read) {
  const T ar = read(inRe), ai = read(inIm);
  const T br = read(inRe + quarter), bi = read(inIm + quarter);
  const T cr = read(inRe + 2 * quarter), ci = read(inIm + 2 * quarter);
  const T dr = read(inRe + 3 * quarter), di = read(inIm + 3 * quarter);
  const T apcR = ar + cr, apcI = ai + ci;
  const T amcR = ar - cr, amcI = ai - ci;
  const T bpdR = br + dr, bpdI = bi + di;
  // i * (b - d)
  const T jbmdR = di - bi, jbmdI = br - dr;
  const T x1r = amcR - jbmdR, x1i = amcI - jbmdI;
  const T x2r = apcR - bpdR, x2i = apcI - bpdI;
  const T x3r = amcR + jbmdR, x3i = amcI + jbmdI;
  return {{apcR + bpdR, w1r * x1r - w1i * x1i, w2r * x2r - w2i * x2i, w3r * x3r - w3i * x3i},
          {apcI + bpdI, w1r * x1i + w1i * x1r, w2r * x2i + w2i * x2r, w3r * x3i + w3i * x3r}};
}

// Lane j of rows[k] goes to lane k of rows[j].
inline void Transpose(Lanes rows[4]) {
  const Lanes r0 = rows[0], r1 = rows[1], r2 = rows[2], r3 = rows[3];
  rows[0] = Lanes{r0[0], r1[0], r2[0], r3[0]};
  rows[1] = Lanes{r0[1], r1[1], r2[1], r3[1]};
  rows[2] = Lanes{r0[2], r1[2], r2[2], r3[2]};
  rows[3] = Lanes{r0[3], r1[3], r2[3], r3[3]};
}

}  // namespace

ComplexFft::ComplexFft(std::size_t size)
    : size_(size),
      scratchRe_(std::make_unique<float[]>(size)),
      scratchIm_(std::make_unique<float[]>(size)) {
  std::size_t total = 0;
  for (std::size_t n = size; n >= 4; n /= 4) total += 6 * (n / 4);
  twiddles_ = std::make_unique<float[]>(total);
  float* table = twiddles_.get();
  for (std::size_t n = size; n >= 4; n /= 4) {
    const std::size_t quarter = n / 4;
    for (std::size_t p = 0; p < quarter; ++p) {
      for (std::size_t k = 1; k <= 3; ++k) {
        const double angle =
            -2.0 * std::numbers::pi * static_cast<double>(k * p) / static_cast<double>(n);
        table[(2 * (k - 1)) * quarter + p] = static_cast<float>(std::cos(angle));
        table[(2 * (k - 1) + 1) * quarter + p] = static_cast<float>(std::sin(angle));
      }
    }
    table += 6 * quarter;
  }
}

ComplexFft::~ComplexFft() = default;

void ComplexFft::Forward(float* re, float* im) {
  float* fromRe = re;
  float* fromIm = im;
  float* toRe = scratchRe_.get();
  float* toIm = scratchIm_.get();
  const float* table = twiddles_.get();
  // The pass of length n works on size / n interleaved sub-sequences (stride s): element q of
  // sub-sequence position p sits at q + s * p.
  for (std::size_t n = size_, s = 1; n >= 4; n /= 4, s *= 4) {
    const std::size_t quarter = n / 4;
    const float* w1r = table;
    const float* w1i = table + quarter;
    const float* w2r = table + 2 * quarter;
    const float* w2i = table + 3 * quarter;
    const float* w3r = table + 4 * quarter;
    const float* w3i = table + 5 * quarter;
    const auto load = [](const float* at) { return Load(at); };
    if (s == 1 && quarter >= 4) {
      // Four neighbouring butterflies at once: their inputs are neighbours, and each one's
      // four results are neighbours, so the results are transposed before they are stored.
      for (std::size_t p = 0; p < quarter; p += 4) {
        Quad<Lanes> out =
            Butterfly<Lanes>(fromRe + p, fromIm + p, quarter, Load(w1r + p), Load(w1i + p),
                             Load(w2r + p), Load(w2i + p), Load(w3r + p), Load(w3i + p), load);
        Transpose(out.re);
        Transpose(out.im);
        for (std::size_t j = 0; j < 4; ++j) {
          Store(toRe + 4 * (p + j), out.re[j]);
          Store(toIm + 4 * (p + j), out.im[j]);
        }
      }
    } else if (s == 1) {
      // A 4-point transform: one butterfly, no twiddles.
      const Quad<float> out = Butterfly<float>(fromRe, fromIm, 1, 1.0f, 0.0f, 1.0f, 0.0f, 1.0f,
                                               0.0f, [](const float* at) { return *at; });
      for (std::size_t k = 0; k < 4; ++k) {
        toRe[k] = out.re[k];
        toIm[k] = out.im[k];
      }
    } else {
      // s is a multiple of 4: four neighbouring sub-sequences per step.
      for (std::size_t p = 0; p < quarter; ++p) {
        const Lanes a1r = Lanes{} + w1r[p], a1i = Lanes{} + w1i[p];
        const Lanes a2r = Lanes{} + w2r[p], a2i = Lanes{} + w2i[p];
        const Lanes a3r = Lanes{} + w3r[p], a3i = Lanes{} + w3i[p];
        for (std::size_t q = 0; q < s; q += 4) {
          const Quad<Lanes> out = Butterfly<Lanes>(fromRe + q + s * p, fromIm + q + s * p,
                                                   s * quarter, a1r, a1i, a2r, a2i, a3r, a3i, load);
          for (std::size_t k = 0; k < 4; ++k) {
            Store(toRe + q + s * (4 * p + k), out.re[k]);
            Store(toIm + q + s * (4 * p + k), out.im[k]);
          }
        }
      }
    }
    table += 6 * quarter;
    std::swap(fromRe, toRe);
    std::swap(fromIm, toIm);
  }
  if (fromRe != re) {
    std::memcpy(re, fromRe, size_ * sizeof(float));
    std::memcpy(im, fromIm, size_ * sizeof(float));
  }
}

}  // namespace media::audio
