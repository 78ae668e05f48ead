#include "app/logo_letters.h"

#include "app/app_state.h"

namespace app {

int DrawLogoLetters(AppState& /*state*/) {
  // The letters arrive with pictures.
  return 0;
}

}  // namespace app
