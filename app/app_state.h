// The music disk's state: pictures, fonts, the playing stream, the chosen track and its
// texts, the panel fade and the frame counters. The program makes one; each test makes its
// own, so no test sees another's leftovers.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/scroll_text.h"
#include "app/track_list.h"
#include "media/audio/bass.h"
#include "media/draw2d/image.h"
#include "media/draw2d/image_font.h"

namespace app {

// Panel numbers of panelWanted and panelShown.
enum Panel : int { kPanelTrackList = 0, kPanelGreetings = 1, kPanelCredits = 2, kPanelMusicInfo = 3 };

struct AppState {
  std::u16string scrollText;                              // the greeting text, assembled at start-up
  std::shared_ptr<media::TImage> letterImage1;            // "V", bobbing behind everything
  std::shared_ptr<media::TImage> letterImage2;            // "O"
  std::shared_ptr<media::TImage> letterImage3;            // "K"
  std::shared_ptr<media::TImage> scrollBordersImage;      // the band under the scroller
  std::shared_ptr<media::TImage> logoImage;               // the group logo
  std::shared_ptr<media::TImage> infoPadImage;            // translucent pad behind the panels
  std::shared_ptr<media::TImageFont> panelFont;           // 24 px, panels and legend
  std::shared_ptr<media::TImageFont> scrollFont;          // 82 px, the scroller
  std::shared_ptr<media::TImageFont> loadingFont;         // 40 px, the loading screen
  std::vector<float> spectrum;                            // 512 floats once started; FFT of the heard music
  std::shared_ptr<media::TBassStream> musicStream;        // the playing track, or null
  int musicPlaying = 1;                                   // 0 while Space has paused the output
  int currentTrack = 0;                                   // number of the chosen track
  std::u16string currentName;                             // texts of the playing track
  std::u16string currentComposer;
  std::u16string currentStyle;
  std::u16string currentSong;                             // its embedded file name
  int panelShown = kPanelTrackList;                       // panel on screen
  int panelWanted = kPanelTrackList;                      // panel the fade leads to
  int panelFading = 1;                                    // 1 while a panel fade runs
  float panelAlpha = 0.0f;                                // alpha of the panel being faded
  float panelFadeStep = 0.01f;                            // added to panelAlpha each frame
  std::int32_t frameTick = 0;                             // frames drawn; drives the sine and the scroller
  std::int32_t pauseTick = 0;                             // frames since the scroller last paused
  TrackList trackList;                                    // the catalogue of tracks
  ScrollState scroll;                                     // the scroller's letters and counters
};

}  // namespace app
