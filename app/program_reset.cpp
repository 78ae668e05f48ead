#include "app/program_reset.h"

#include "app/debug_log.h"
#include "app/music_disk.h"
#include "media/audio/audio_engine.h"
#include "media/audio/bass.h"
#include "media/draw2d/canvas.h"
#include "media/platform/clock.h"
#include "media/platform/dialogs.h"
#include "media/platform/polled_input.h"
#include "media/platform/process_end.h"
#include "media/resources/embedded_files.h"
#include "timing/delta.h"

namespace app {

void ResetProgramState() {
  // The sound first (its thread reads streams over the embedded files), then the display
  // (closing it runs through the drawing state), then what both were fed from.
  media::TBass::Free();
  media::audio::UseOutputForNextInit(nullptr, nullptr);
  media::SetDrawObserver(nullptr);
  media::ResetCanvasForTesting();
  timing::ResetDeltaForTesting();
  media::SetProceedHook(nullptr);
  media::SetEndHook(nullptr);
  media::SetCurrentClock(nullptr);
  SetDebugLogHook(nullptr);
  media::SetEventObserver(nullptr);
  media::ResetPolledInputForTesting();
  media::ResetEmbeddedFilesForTesting();
  ResetRunOnceGuardForTesting();
}

}  // namespace app
