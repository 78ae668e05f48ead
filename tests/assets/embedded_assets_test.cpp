// The bytes the program registers at start-up are exactly the files in assets/.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/embedded_files_registration.h"
#include "assets/embedded_assets.h"
#include "media/resources/embedded_files.h"
#include "media/resources/stream_factory.h"
#include "media/resources/url.h"
#include "media/resources/utf16.h"

namespace {

std::vector<std::uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

const std::vector<std::u16string> kRegistrationOrder = {
    u"gfx/v.png",         u"gfx/o.png",
    u"gfx/k.png",         u"sound/fennick - basswobbler.mp3",
    u"sound/music.ogg",   u"sound/VorWIP2.mp3",
    u"sound/01.mp3",      u"sound/03.mp3",
    u"sound/fennick - glw.mp3", u"gfx/scrollborders.png",
    u"gfx/logo.png",      u"gfx/infopad.png",
    u"fonts/HoboStd.otf", u"fonts/Erika_Ormig.ttf"};

TEST(EmbeddedAssets, TableHoldsTheFourteenFilesInRegistrationOrder) {
  const auto table = assets::EmbeddedAssets();
  ASSERT_EQ(table.size(), kRegistrationOrder.size());
  for (size_t i = 0; i < table.size(); ++i) EXPECT_EQ(table[i].name, kRegistrationOrder[i]) << i;
}

TEST(EmbeddedAssets, RegisteredBytesEqualTheFilesInTheAssetFolder) {
  media::ResetEmbeddedFilesForTesting();
  app::RegisterApplicationFiles();
  media::InitStreams();
  for (const std::u16string& name : kRegistrationOrder) {
    const std::string utf8 = media::Utf16ToUtf8(name);
    SCOPED_TRACE(utf8);
    const std::vector<std::uint8_t> file = ReadFile(std::string(MUSICDISK_ASSET_DIR) + "/" + utf8);
    ASSERT_FALSE(file.empty());
    ASSERT_EQ(media::EmbeddedFileSize(name), static_cast<std::int32_t>(file.size()));
    const std::uint8_t* data = media::EmbeddedFileData(name);
    ASSERT_NE(data, nullptr);
    EXPECT_TRUE(std::equal(file.begin(), file.end(), data));
    // The URL path reads the same bytes.
    EXPECT_EQ(media::LoadUrlBytes(u"incbin::" + name), file);
  }
  media::ResetEmbeddedFilesForTesting();
}

}  // namespace
