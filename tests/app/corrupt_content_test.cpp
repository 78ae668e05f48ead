// Damaged embedded files: a picture, a font or a track cut short (or replaced by garbage) is
// registered before the program's own, so the program meets it where it expects the real
// file. It must run on without that element: every panel shown, tracks changed, no crash.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "assets/embedded_assets.h"
#include "media/platform/key_codes.h"
#include "media/resources/embedded_files.h"
#include "tests/app/program_harness.h"

namespace app::testing {
namespace {

struct Damage {
  const char* label;
  std::u16string_view name;  // the embedded file to damage
  int keepBytes;             // its first bytes that survive; -1 keeps half
  bool garbageAfter;         // the rest replaced by bytes that mean nothing
};

std::vector<unsigned char> DamagedCopy(const Damage& damage) {
  for (const assets::EmbeddedAsset& asset : assets::EmbeddedAssets()) {
    if (asset.name != damage.name) continue;
    const int keep = damage.keepBytes < 0 ? asset.size() / 2 : damage.keepBytes;
    std::vector<unsigned char> bytes(asset.begin, asset.begin + keep);
    if (damage.garbageAfter) {
      for (int i = 0; i < asset.size() - keep; ++i) bytes.push_back((i * 151 + 7) & 0xff);
    }
    return bytes;
  }
  return {};
}

class CorruptContent : public ProgramHarness, public ::testing::WithParamInterface<Damage> {};

TEST_P(CorruptContent, TheProgramRunsOnWithoutTheDamagedElement) {
  const std::vector<unsigned char> bytes = DamagedCopy(GetParam());
  ASSERT_FALSE(bytes.empty());
  ASSERT_EQ(media::RegisterEmbeddedFile(GetParam().name, bytes.data(),
                                        static_cast<std::int32_t>(bytes.size())),
            1);
  // Every panel (each drawn with the panel font), both scroll lines, track changes onto and
  // away from track 1, a pause and a resume.
  const int keys[] = {media::kKeyC,      media::kKeyG,      media::kKeyI,      media::kKeyM,
                      media::kKeyF1 + 1, media::kKeyF1,     media::kKeySpace,  media::kKeySpace,
                      media::kKeyF1 + 4, media::kKeyF1 + 2, media::kKeyF1 + 3, media::kKeyF1};
  int frame = 20;
  for (const int key : keys) PressAt(frame += 40, key);
  const int lastFrame = frame + 60;
  ASSERT_TRUE(RunMain(lastFrame));
  EXPECT_GE(loopFrame_, lastFrame);
  // The rest of the screen is still drawn: the letters, and text (scroller and panel).
  int images = 0, texts = 0;
  for (const RecordedCall& call : CallsOf(lastFrame - 1)) {
    images += call.kind == media::DrawCall::Kind::kImage && call.image != nullptr;
    texts += call.kind == media::DrawCall::Kind::kText;
  }
  EXPECT_GE(images, 3);
  EXPECT_GT(texts, 0);
  const std::u16string name(GetParam().name);
  if (name == u"gfx/logo.png") {
    EXPECT_EQ(state_.logoImage, nullptr);
  }
  if (name == u"gfx/infopad.png") {
    EXPECT_EQ(state_.infoPadImage, nullptr);
  }
  // FreeType reads a face's tables lazily, so a font with garbage after its table directory
  // may load and render blank glyphs: it is only asked to run on.
  if (name == u"fonts/HoboStd.otf") {
    EXPECT_EQ(state_.panelFont, nullptr);
  }
  // The last key went back to track 1, damaged or not: the program still plays.
  EXPECT_EQ(state_.currentTrack, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Files, CorruptContent,
    ::testing::Values(Damage{"PictureCutInHalf", u"gfx/logo.png", -1, false},
                      Damage{"PictureWithGarbageAfterItsHeader", u"gfx/infopad.png", 41, true},
                      Damage{"PanelFontCutShort", u"fonts/HoboStd.otf", 1000, false},
                      Damage{"ScrollFontWithGarbageAfterItsTables", u"fonts/Erika_Ormig.ttf", 400,
                             true},
                      Damage{"FirstTrackCutInHalf", u"sound/VorWIP2.mp3", -1, false},
                      Damage{"FirstTrackCutAfterOneFrame", u"sound/VorWIP2.mp3", 600, false},
                      Damage{"OggTrackWithGarbageAfterItsHeaders", u"sound/music.ogg", 4000, true}),
    [](const ::testing::TestParamInfo<Damage>& info) { return std::string(info.param.label); });

}  // namespace
}  // namespace app::testing
