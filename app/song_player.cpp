#include "app/song_player.h"

#include <string>

#include "app/app_state.h"
#include "app/debug_log.h"
#include "media/audio/bass.h"
#include "media/draw2d/canvas.h"
#include "media/platform/clock.h"
#include "media/resources/embedded_files.h"

namespace app {

namespace {

constexpr int kLoopingAutoFree = media::kBassStreamAutoFree | media::kBassSampleLoop;
// The wind-down normally ends after 500 ms; if the engine never reports the slides done,
// the track change goes on after this long instead of hanging.
constexpr std::int32_t kWindDownLimitMs = 2000;

void PublishTrack(AppState& state, int n) {
  for (const auto& entry : state.trackList.entries) {
    if (entry->id != n) continue;
    state.currentName = entry->name;
    state.currentComposer = entry->composer;
    state.currentStyle = entry->style;
    state.currentSong = entry->song;
    return;
  }
}

// The old track slows to a stop like a tape and fades out.
void WindDown(media::TBassStream& stream) {
  stream.SlideAttribute(media::kBassAttribFrequency, 1000.0f, 500);
  stream.SlideAttribute(media::kBassAttribVolume, -1.0f, 200);
  const std::int32_t start = media::Millisecs();
  while (stream.IsSliding(media::kBassAttribAny) != 0 &&
         media::Millisecs() - start < kWindDownLimitMs) {
    media::Delay(1);
  }
  stream.Stop();
}

void ShowLoadingScreen(const AppState& state) {
  media::SetColor(255, 255, 255);
  media::DrawImage(state.scrollBordersImage, 0.0f, 200.0f, 0);
  media::SetImageFont(state.loadingFont);
  // Centred on x 424, a little right of the screen's middle.
  const int x = 424 - media::TextWidth(u"LOADING...") / 2;
  media::DrawText(u"LOADING...", static_cast<float>(x), 210.0f);
  media::Flip(-1);
}

void LogPlayFailure() {
  std::u16string message = u"can't play... : ";
  for (char c : std::to_string(media::TBass::ErrorGetCode())) message.push_back(static_cast<char16_t>(c));
  DebugLog(message);
}

}  // namespace

int PlaySong(AppState& state, int n) {
  if (!state.trackList.created) return 0;
  // No entry with that number keeps the previous track's texts: its music starts again.
  PublishTrack(state, n);
  media::Cls();
  if (state.musicStream) WindDown(*state.musicStream);
  ShowLoadingScreen(state);
  media::Delay(1000);

  auto stream = std::make_shared<media::TBassStream>();
  state.musicStream =
      stream->CreateMem(media::EmbeddedFileData(state.currentSong),
                        static_cast<std::int64_t>(media::EmbeddedFileSize(state.currentSong)),
                        kLoopingAutoFree);
  // A stream that cannot be made leaves no stream: the frame loop and the shutdown skip it,
  // and the next track change starts afresh.
  if (!state.musicStream || state.musicStream->Play(0) == 0) LogPlayFailure();
  return 0;
}

}  // namespace app
