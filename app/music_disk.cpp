#include "app/music_disk.h"

#include <string>
#include <system_error>
#include <thread>

#include "app/app_state.h"
#include "app/debug_log.h"
#include "app/embedded_files_registration.h"
#include "app/logo_letters.h"
#include "app/panels.h"
#include "app/scroll_text.h"
#include "app/song_player.h"
#include "app/track_list.h"
#include "media/audio/bass.h"
#include "media/draw2d/canvas.h"
#include "media/platform/app_title.h"
#include "media/platform/dialogs.h"
#include "media/platform/key_codes.h"
#include "media/platform/mouse.h"
#include "media/platform/polled_input.h"
#include "media/platform/process_end.h"
#include "media/platform/video.h"
#include "media/resources/stream_factory.h"
#include "media/resources/utf16.h"
#include "timing/delta.h"

namespace app {

namespace {

bool& HasRun() {
  static bool hasRun = false;
  return hasRun;
}

void LoadPicturesAndFonts(AppState& state) {
  constexpr int kImageFlags = media::kUseDefaultImageFlags;  // masked and filtered
  constexpr int kSmoothFont = media::kFontSmooth;
  state.letterImage1 = media::LoadImage(u"incbin::gfx/v.png", kImageFlags);
  state.letterImage2 = media::LoadImage(u"incbin::gfx/o.png", kImageFlags);
  state.letterImage3 = media::LoadImage(u"incbin::gfx/k.png", kImageFlags);
  state.scrollBordersImage = media::LoadImage(u"incbin::gfx/scrollborders.png", kImageFlags);
  state.logoImage = media::LoadImage(u"incbin::gfx/logo.png", kImageFlags);
  state.infoPadImage = media::LoadImage(u"incbin::gfx/infopad.png", kImageFlags);
  state.panelFont = media::LoadImageFont(u"incbin::fonts/HoboStd.otf", 24, kSmoothFont);
  state.scrollFont = media::LoadImageFont(u"incbin::fonts/Erika_Ormig.ttf", 82, kSmoothFont);
  state.loadingFont = media::LoadImageFont(u"incbin::fonts/Erika_Ormig.ttf", 40, kSmoothFont);
  state.spectrum.assign(512, 0.0f);
}

// Without a display there is nothing to show: say so and fail rather than play blind.
int NoDisplay() {
  DebugLog(u"Can't open a display");
  // Why, in the video library's words, for whoever reads the log.
  if (*media::VideoStartFailure() != '\0') {
    std::u16string reason(1, u'(');
    reason.append(media::Utf8ToUtf16(media::VideoStartFailure()));
    reason.push_back(u')');
    DebugLog(reason);
  }
  media::TBass::Free();
  return kExitNoDisplay;
}

// A panel key starts a fade-out of the panel on screen towards `panel`.
void RequestPanel(AppState& state, int panel) {
  state.panelFading = 1;
  state.panelAlpha = 1.0f;
  state.panelFadeStep = -0.02f;
  state.panelWanted = panel;
}

void StartUpModules() {
  RegisterApplicationFiles();
  // Library modules: streams first (everything loads through them), then frame timing,
  // which subscribes to the flip hook.
  media::InitStreams();
  timing::InitDelta();
  media::SelectProgramDrivers(media::kGraphicsBackBuffer);
}

void LoadContent(AppState& state) {
  state.scrollText = AssembleScrollText();
  LoadPicturesAndFonts(state);
}

// Decodes the pictures and fonts on a thread of their own while the audio output opens and
// the question waits for its answer: the box shows about 20 ms sooner, and an answer that
// comes sooner than the pictures waits for them. Everything the thread writes is in
// `state`, read only once it has been joined; meanwhile the main thread touches neither the
// streams nor FreeType. Where no thread can be started, the loading happens right here.
class ContentLoader {
 public:
  explicit ContentLoader(AppState& state) {
    try {
      thread_ = std::thread([&state] { LoadContent(state); });
    } catch (const std::system_error&) {
      LoadContent(state);
    }
  }
  ContentLoader(const ContentLoader&) = delete;
  ContentLoader& operator=(const ContentLoader&) = delete;
  ~ContentLoader() { Wait(); }
  void Wait() {
    if (thread_.joinable()) thread_.join();
  }

 private:
  std::thread thread_;
};

}  // namespace

void StartUpBeforeDevices(AppState& state) {
  StartUpModules();
  LoadContent(state);
}

void StartUpOnTheDisplay(AppState& state) {
  media::SetColor(0, 0, 0);
  media::Cls();
  media::SetClsColor(177, 142, 130);
  BuildTrackList(state);
  media::HideMouse();
  PlaySong(state, 1);
}

void HandleKeys(AppState& state) {
  if (media::KeyHit(media::kKeySpace) != 0) {
    if (state.musicPlaying == 1) {
      media::TBass::Pause();
      state.musicPlaying = 0;
    } else if (state.musicPlaying == 0) {
      media::TBass::Start();
      state.musicPlaying = 1;
    }
  }
  // Every key is asked each frame, so a press never waits for a later frame; among the
  // panel keys the last one in this order wins.
  if (media::KeyHit(media::kKeyM) != 0) RequestPanel(state, kPanelTrackList);
  if (media::KeyHit(media::kKeyC) != 0) RequestPanel(state, kPanelCredits);
  if (media::KeyHit(media::kKeyG) != 0) RequestPanel(state, kPanelGreetings);
  if (media::KeyHit(media::kKeyI) != 0) RequestPanel(state, kPanelMusicInfo);
  for (int number = 1; number <= 9; ++number) {
    if (media::KeyHit(media::kKeyF1 + number - 1) == 0) continue;
    // F6 to F9 have no track to play with five tracks: they do nothing rather than mark a
    // track that is not playing.
    if (number > state.trackList.Count()) continue;
    state.currentTrack = number;
    PlaySong(state, state.currentTrack);
  }
}

bool RunFrame(AppState& state) {
  media::Cls();
  if (state.musicStream) state.musicStream->GetData(state.spectrum.data(), media::kBassDataFft512);
  HandleKeys(state);
  if (state.currentTrack > state.trackList.Count()) state.currentTrack = state.trackList.Count();
  media::SetImageFont(state.panelFont);
  DrawLogoLetters(state);
  DrawPanels(state);
  media::SetImageFont(state.scrollFont);
  DemoScroll::UpdateAll(state);
  media::Flip(-1);
  state.frameTick += 1;
  state.pauseTick += 1;
  // A close request is only asked for in a frame without Escape.
  if (media::KeyHit(media::kKeyEscape) != 0) return true;
  return media::AppTerminate() != 0;
}

void Shutdown(AppState& state) {
  if (state.musicStream) state.musicStream->Stop();
  media::TBass::Free();
  media::End();
}

int MusicDiskMain(AppState& state) {
  if (HasRun()) return 0;
  HasRun() = true;

  StartUpModules();
  ContentLoader content(state);

  if (media::TBass::Init(-1, 44100, 4, nullptr, nullptr) == 0) {
    DebugLog(u"Can't initialize output device");
    return 0;
  }
  media::TBass::Set3DFactors(1.0f, 1.0f, 1.0f);
  if (media::TBass::SetEAXParameters(-1, 0.0f, -1.0f, -1.0f) == 0) DebugLog(u"No EAX Support");

  media::SetAppTitle(u"VOK Music Collection #1");
  // Without any window system the question cannot even be asked: say so and fail rather
  // than end quietly as if the user had cancelled.
  if (!media::VideoAvailable()) return NoDisplay();
  const int answer = media::Proceed(u"Would You Like To Run In Fullscreen Mode?", 0);
  content.Wait();  // before End too: no thread may run while the process ends
  if (answer != 0 && answer != 1) media::End();
  // Yes: full screen at 32 bits; No: a window (depth 0). Both paced to 60 frames per second.
  if (!media::Graphics(800, 600, answer == 1 ? 32 : 0, 60, 0)) return NoDisplay();

  StartUpOnTheDisplay(state);

  while (!RunFrame(state)) {
  }
  Shutdown(state);
}

void ResetRunOnceGuardForTesting() {
  HasRun() = false;
}

}  // namespace app
