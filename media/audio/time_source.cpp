#include "media/audio/time_source.h"

#include <chrono>

namespace media::audio {

std::int64_t SteadyTimeSource::NowMicros() {
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  return std::chrono::duration_cast<std::chrono::microseconds>(now).count();
}

}  // namespace media::audio
