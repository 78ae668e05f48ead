#include "app/panels.h"

#include "app/app_state.h"
#include "media/draw2d/canvas.h"

namespace app {

namespace {

constexpr float kPanelX = 350.0f;

void DrawCredits() {
  media::DrawText(u"Credits", kPanelX, 130.0f);
  media::DrawText(u"CODE:", kPanelX, 182.0f);
  media::DrawText(u"GRAPHICS:", kPanelX, 260.0f);
  media::DrawText(u"Quillon", kPanelX, 208.0f);
  media::DrawText(u"Quillon", kPanelX, 286.0f);
}

void DrawGreetings() {
  media::DrawText(u"Greetings", kPanelX, 130.0f);
  media::DrawText(u" Low Gust, Vexari, MajorPlumb,", kPanelX, 234.0f);
  media::DrawText(u" QLT/Velox and everybody we", kPanelX, 286.0f);
  media::DrawText(u" have forgotten!", kPanelX, 338.0f);
}

void DrawMusicInfo(const AppState& state) {
  media::DrawText(u"Music Information", kPanelX, 130.0f);
  media::DrawText(u"NAME:", kPanelX, 182.0f);
  media::DrawText(u"COMPOSER:", kPanelX, 260.0f);
  media::DrawText(u"STYLE:", kPanelX, 338.0f);
  media::DrawText(state.currentName, kPanelX, 208.0f);
  media::DrawText(state.currentComposer, kPanelX, 286.0f);
  media::DrawText(state.currentStyle, kPanelX, 364.0f);
}

// Three columns, drawn column by column: keys, "=" signs, meanings.
void DrawKeyLegend() {
  static constexpr const char16_t* kKeys[] = {u"I", u"M", u"C", u"G", u"SPACE"};
  static constexpr const char16_t* kMeanings[] = {u"Music Info", u"Music", u"Creditz", u"Greetingz",
                                                  u"Pause/Start"};
  for (int row = 0; row < 5; ++row) media::DrawText(kKeys[row], 30.0f, 176.0f + 24.0f * row);
  for (int row = 0; row < 5; ++row) media::DrawText(u"=", 120.0f, 176.0f + 24.0f * row);
  for (int row = 0; row < 5; ++row) media::DrawText(kMeanings[row], 150.0f, 176.0f + 24.0f * row);
}

}  // namespace

int UpdatePanelFade(AppState& state) {
  if (state.panelFading == 0) return 0;
  state.panelAlpha = state.panelAlpha + state.panelFadeStep;
  if (!(state.panelAlpha <= 1.0f)) {
    state.panelAlpha = 1.0f;
    state.panelShown = state.panelWanted;
    state.panelFading = 0;
  }
  if (!(state.panelAlpha >= 0.0f)) {
    state.panelShown = state.panelWanted;
    state.panelAlpha = 0.0f;
    state.panelFading = 0;
  }
  media::SetBlend(media::kBlendAlpha);
  media::SetAlpha(state.panelAlpha);
  return 0;
}

int DrawPanels(AppState& state) {
  // Each test reads panelShown afresh: a fade that ends inside one branch switches the
  // panel, and a later test then draws the new one in the same frame.
  if (state.panelShown == kPanelTrackList) {
    UpdatePanelFade(state);
    DemoList::UpdateAll(state.trackList, state.currentTrack);
    media::SetAlpha(1.0f);
  }
  if (state.panelShown == kPanelCredits) {
    UpdatePanelFade(state);
    DrawCredits();
    media::SetAlpha(1.0f);
  }
  if (state.panelShown == kPanelGreetings) {
    UpdatePanelFade(state);
    DrawGreetings();
    media::SetAlpha(1.0f);
  }
  if (state.panelShown == kPanelMusicInfo) {
    UpdatePanelFade(state);
    DrawMusicInfo(state);
    media::SetAlpha(1.0f);
  }
  media::SetColor(255, 255, 255);
  media::DrawImage(state.scrollBordersImage, 0.0f, 20.0f, 0);
  media::SetBlend(media::kBlendAlpha);
  media::SetAlpha(0.6f);
  media::DrawImage(state.infoPadImage, 309.0f, 110.0f, 0);
  media::SetAlpha(0.9f);
  media::DrawImage(state.logoImage, 20.0f, 380.0f, 0);
  media::SetAlpha(1.0f);
  media::SetColor(0, 0, 0);
  media::SetImageFont(state.panelFont);
  DrawKeyLegend();
  return 0;
}

}  // namespace app
