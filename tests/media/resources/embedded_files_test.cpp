#include "media/resources/embedded_files.h"

#include <gtest/gtest.h>

namespace media {
namespace {

class EmbeddedFilesTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetEmbeddedFilesForTesting(); }
  void TearDown() override { ResetEmbeddedFilesForTesting(); }
};

TEST_F(EmbeddedFilesTest, LookupReturnsRegisteredPointerAndSizeAndNothingForUnknownNames) {
  static const unsigned char logo[] = {1, 2, 3, 4};
  EXPECT_EQ(RegisterEmbeddedFile(u"gfx/logo.png", logo, 4), 1);
  EXPECT_EQ(EmbeddedFileData(u"gfx/logo.png"), logo);
  EXPECT_EQ(EmbeddedFileSize(u"gfx/logo.png"), 4);

  EXPECT_EQ(EmbeddedFileData(u"gfx/missing.png"), nullptr);
  EXPECT_EQ(EmbeddedFileSize(u"gfx/missing.png"), 0);
  EXPECT_EQ(EmbeddedFileData(u""), nullptr);
}

TEST_F(EmbeddedFilesTest, NamesMatchExactlyIncludingCaseAndLength) {
  static const unsigned char data[] = {9};
  RegisterEmbeddedFile(u"gfx/logo.png", data, 1);
  EXPECT_EQ(EmbeddedFileData(u"GFX/logo.png"), nullptr);
  EXPECT_EQ(EmbeddedFileData(u"gfx/logo.pn"), nullptr);
  EXPECT_EQ(EmbeddedFileData(u"gfx/logo.png "), nullptr);
  // Non-ASCII names compare code unit by code unit.
  RegisterEmbeddedFile(u"sound/gl\u00f8w.mp3", data, 1);
  EXPECT_EQ(EmbeddedFileData(u"sound/gl\u00f8w.mp3"), data);
  EXPECT_EQ(EmbeddedFileData(u"sound/gl\u00d8w.mp3"), nullptr);
}

TEST_F(EmbeddedFilesTest, FirstRegistrationOfANameWins) {
  static const unsigned char first[] = {1, 1};
  static const unsigned char second[] = {2, 2, 2};
  EXPECT_EQ(RegisterEmbeddedFile(u"a", first, 2), 1);
  EXPECT_EQ(RegisterEmbeddedFile(u"a", second, 3), 0);
  EXPECT_EQ(EmbeddedFileData(u"a"), first);
  EXPECT_EQ(EmbeddedFileSize(u"a"), 2);
}

TEST_F(EmbeddedFilesTest, ManyEntriesStayFindableAndResetEmptiesTheTable) {
  static const unsigned char byte = 0;
  for (int i = 0; i < 3000; ++i) {
    std::u16string name = u"f";
    for (char c : std::to_string(i)) name.push_back(static_cast<char16_t>(c));
    ASSERT_EQ(RegisterEmbeddedFile(name, &byte, i), 1);
  }
  EXPECT_EQ(EmbeddedFileSize(u"f0"), 0);
  EXPECT_EQ(EmbeddedFileSize(u"f2999"), 2999);
  ResetEmbeddedFilesForTesting();
  EXPECT_EQ(EmbeddedFileData(u"f5"), nullptr);
}

}  // namespace
}  // namespace media
