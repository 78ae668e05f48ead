#include "app/logo_letters.h"

#include <cmath>
#include <numbers>

#include "app/app_state.h"
#include "media/draw2d/canvas.h"

namespace app {

int DrawLogoLetters(AppState& state) {
  media::SetColor(255, 255, 255);
  media::SetAlpha(0.1f);
  // One full swing per 360 counts of frameTick; the scroller's emissions add counts too,
  // so the letters swing faster while the text moves than while it pauses.
  const float angle = static_cast<float>(state.frameTick % 360);
  const double wave = std::sin(static_cast<double>(angle) * std::numbers::pi / 180.0);
  const float* bins = state.spectrum.data();
  const float y = static_cast<float>(200.0 + 80.0 * wave);
  media::DrawImage(state.letterImage1, static_cast<float>(100.0 + 30.0 * bins[0]), y, 0);
  // The middle letter swings furthest; it follows bin 1, plus bin 2 without gain.
  media::DrawImage(state.letterImage2, static_cast<float>(330.0 + bins[2] + 30.0 * bins[1]),
                   static_cast<float>(200.0 + 180.0 * wave), 0);
  media::DrawImage(state.letterImage3, static_cast<float>(550.0 + 30.0 * bins[3]), y, 0);
  media::SetAlpha(1.0f);
  return 0;
}

}  // namespace app
