#include "media/resources/url.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

#include "media/resources/embedded_files.h"
#include "media/resources/stream_factory.h"
#include "tests/support/portable_process.h"

namespace media {
namespace {

class UrlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetEmbeddedFilesForTesting();
    InitStreams();
    logo_.resize(5000);
    for (size_t i = 0; i < logo_.size(); ++i) logo_[i] = static_cast<std::uint8_t>(i * 7);
    RegisterEmbeddedFile(u"gfx/logo.png", logo_.data(), static_cast<std::int32_t>(logo_.size()));
    RegisterEmbeddedFile(u"empty.bin", logo_.data(), 0);
  }
  void TearDown() override { ResetEmbeddedFilesForTesting(); }

  std::vector<std::uint8_t> logo_;
};

TEST_F(UrlTest, IncbinOpensEmbeddedFilesWithTheProtocolInAnyCase) {
  for (const char16_t* url :
       {u"incbin::gfx/logo.png", u"INCBIN::gfx/logo.png", u"InCbIn::gfx/logo.png"}) {
    auto stream = OpenUrlStream(url, 1, 0);
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(stream->Size(), 5000);
    std::uint8_t first[3] = {};
    stream->ReadBytes(first, 3);
    EXPECT_EQ(first[2], 14);
  }
}

TEST_F(UrlTest, PathsMatchExactlyAndMalformedUrlsOpenNothing) {
  EXPECT_EQ(OpenUrlStream(u"incbin::GFX/logo.png", 1, 0), nullptr);
  EXPECT_EQ(OpenUrlStream(u"incbin::", 1, 0), nullptr);
  EXPECT_EQ(OpenUrlStream(u"::gfx/logo.png", 1, 0), nullptr);
  EXPECT_EQ(OpenUrlStream(u"", 1, 0), nullptr);
  EXPECT_EQ(OpenUrlStream(u"ram::gfx/logo.png", 1, 0), nullptr);
  // The path starts after the first "::": a second one belongs to the path.
  EXPECT_EQ(OpenUrlStream(u"incbin::::gfx/logo.png", 1, 0), nullptr);
}

TEST_F(UrlTest, EmbeddedFilesAreNeverOpenedForWriting) {
  EXPECT_EQ(OpenUrlStream(u"incbin::gfx/logo.png", 1, 1), nullptr);
  EXPECT_EQ(OpenUrlStream(u"incbin::gfx/logo.png", 0, 1), nullptr);
  auto stream = OpenUrlStream(u"incbin::gfx/logo.png", 1, 0);
  std::uint8_t b = 0;
  EXPECT_EQ(stream->Write(&b, 1), 0);
  EXPECT_EQ(logo_[0], 0);
}

TEST_F(UrlTest, SizeZeroFileIsAnEmptyStreamAtItsEnd) {
  auto stream = OpenUrlStream(u"incbin::empty.bin", 1, 0);
  ASSERT_NE(stream, nullptr);
  EXPECT_EQ(stream->Eof(), 1);
  EXPECT_TRUE(LoadUrlBytes(u"incbin::empty.bin").empty());
}

TEST_F(UrlTest, LoadUrlBytesReturnsExactlyTheContentAcrossGrowthSteps) {
  // 5000 bytes need several ×3/2 growth steps from the first 1024.
  EXPECT_EQ(LoadUrlBytes(u"incbin::gfx/logo.png"), logo_);
  RegisterEmbeddedFile(u"exact.bin", logo_.data(), 1024);
  EXPECT_EQ(LoadUrlBytes(u"incbin::exact.bin"),
            std::vector<std::uint8_t>(logo_.begin(), logo_.begin() + 1024));
  EXPECT_THROW(LoadUrlBytes(u"incbin::nope"), TStreamReadException);
}

// A handler whose streams never report their end and stop delivering after a few bytes.
class StallingFactory : public TStreamFactory {
 public:
  class Stalling : public TStream {
   public:
    std::int64_t Read(void* buffer, std::int64_t count) override {
      if (left_ == 0 || count <= 0) return 0;
      static_cast<std::uint8_t*>(buffer)[0] = 'x';
      --left_;
      return 1;
    }
    int left_ = 3;
  };
  std::shared_ptr<TStream> CreateStream(std::u16string_view, std::u16string_view proto,
                                        std::u16string_view, int, int) override {
    ++asked_;
    if (proto != u"stall") return nullptr;
    return std::make_shared<Stalling>();
  }
  int asked_ = 0;
};

TEST_F(UrlTest, NewestFactoryIsAskedFirstAndAStallingStreamEndsTheLoad) {
  StallingFactory factory;
  EXPECT_EQ(LoadUrlBytes(u"STALL::anything"), std::vector<std::uint8_t>({'x', 'x', 'x'}));
  EXPECT_EQ(factory.asked_, 1);
  // The incbin handler still answers once the newer one declines.
  EXPECT_NE(OpenUrlStream(u"incbin::gfx/logo.png", 1, 0), nullptr);
  EXPECT_EQ(factory.asked_, 2);
}

TEST_F(UrlTest, UrlWithoutProtocolOpensAFileSystemPath) {
  const std::filesystem::path path =
      std::filesystem::temp_directory_path() /
      ("url_test_" + std::to_string(test_support::ProcessId()) + ".bin");
  {
    std::ofstream out(path, std::ios::binary);
    out << "hello";
  }
  const std::u16string url(path.u16string());
  EXPECT_EQ(LoadUrlBytes(url), std::vector<std::uint8_t>({'h', 'e', 'l', 'l', 'o'}));
  auto stream = OpenUrlStream(url, 1, 0);
  ASSERT_NE(stream, nullptr);
  EXPECT_EQ(stream->Size(), 5);
  EXPECT_EQ(stream->Seek(99), 5);
  EXPECT_EQ(stream->Eof(), 1);
  stream.reset();
  std::filesystem::remove(path);
  EXPECT_EQ(OpenUrlStream(url, 1, 0), nullptr);
}

}  // namespace
}  // namespace media
