#include "media/draw2d/pixmap_loader.h"

#include <gtest/gtest.h>
#include <png.h>

#include <stdexcept>

#include "media/draw2d/image.h"
#include "media/resources/embedded_files.h"
#include "media/resources/ram_stream.h"
#include "media/resources/stream_factory.h"
#include "png_test_writer.h"

namespace media {
namespace {

std::vector<std::uint8_t> TwoPixelPng() {
  testing::PngPicture picture = testing::Picture(2, 1, PNG_COLOR_TYPE_RGB_ALPHA);
  picture.rows = {testing::RgbaRow({0x10203040, 0x50607080})};
  return testing::EncodePng(picture);
}

// Takes a few bytes, then fails the way it is told to; remembers where it started reading.
class FailingLoader : public TPixmapLoader {
 public:
  explicit FailingLoader(bool streamError) : streamError_(streamError) {}
  std::shared_ptr<TPixmap> LoadPixmap(TStream& stream) override {
    startedAt = stream.Pos();
    std::uint8_t bytes[5];
    stream.ReadBytes(bytes, 5);
    if (streamError_) throw TStreamReadException();
    throw std::logic_error("loader fault");
  }
  std::int64_t startedAt = -1;

 private:
  bool streamError_;
};

class FixedLoader : public TPixmapLoader {
 public:
  std::shared_ptr<TPixmap> LoadPixmap(TStream& /*stream*/) override { return pixmap; }
  std::shared_ptr<TPixmap> pixmap = TPixmap::Create(7, 7, kPixelFormatI8);
};

// Keeps a loader in the chain for one test.
class ScopedLoader {
 public:
  explicit ScopedLoader(TPixmapLoader& loader) : loader_(loader) { AddPixmapLoader(loader_); }
  ~ScopedLoader() { RemovePixmapLoader(loader_); }

 private:
  TPixmapLoader& loader_;
};

class PixmapLoaderChain : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetEmbeddedFilesForTesting();
    InitStreams();
    RegisterEmbeddedFile(u"pic.png", png_.data(), static_cast<std::int32_t>(png_.size()));
  }
  void TearDown() override { ResetEmbeddedFilesForTesting(); }

  const std::vector<std::uint8_t> png_ = TwoPixelPng();
};

TEST_F(PixmapLoaderChain, StreamErrorMeansNotMineAndTheNextLoaderStartsAtTheSamePlace) {
  // Five bytes of something else before the picture: the chain starts where the stream is.
  std::vector<std::uint8_t> bytes = {1, 2, 3, 4, 5};
  bytes.insert(bytes.end(), png_.begin(), png_.end());
  auto stream = TRamStream::Create(bytes.data(), static_cast<std::int32_t>(bytes.size()), 1);
  stream->Seek(5);

  FailingLoader failing(/*streamError=*/true);
  ScopedLoader inChain(failing);
  auto pixmap = LoadPixmap(*stream);
  EXPECT_EQ(failing.startedAt, 5);
  ASSERT_TRUE(pixmap);
  EXPECT_EQ(pixmap->width, 2);
  EXPECT_EQ(pixmap->PixelPtr(1, 0)[0], 0x50);
}

TEST_F(PixmapLoaderChain, OtherErrorsPassOn) {
  FailingLoader failing(/*streamError=*/false);
  ScopedLoader inChain(failing);
  EXPECT_THROW(LoadPixmap(u"incbin::pic.png"), std::logic_error);
}

TEST_F(PixmapLoaderChain, FirstLoaderWithAPixmapEndsTheSearch) {
  FixedLoader fixed;
  FailingLoader failing(/*streamError=*/false);
  ScopedLoader last(failing);
  ScopedLoader first(fixed);  // newest, so asked first
  EXPECT_EQ(LoadPixmap(u"incbin::pic.png"), fixed.pixmap);
  EXPECT_EQ(failing.startedAt, -1);
}

TEST_F(PixmapLoaderChain, UrlThatOpensNothingGivesNothing) {
  ASSERT_TRUE(LoadPixmap(u"incbin::pic.png"));
  EXPECT_FALSE(LoadPixmap(u"incbin::missing.png"));
  EXPECT_FALSE(LoadPixmap(u"incbin::"));
}

// A stream that cannot say where it is.
class PositionlessStream : public TStream {};

TEST_F(PixmapLoaderChain, StreamWithoutAPositionGivesNothing) {
  PositionlessStream stream;
  EXPECT_FALSE(LoadPixmap(stream));
}

// Serves the first `limit` bytes, then fails with an error that is not a stream error.
class BreakingStream : public TStream {
 public:
  BreakingStream(const std::vector<std::uint8_t>& bytes, std::int64_t limit)
      : bytes_(bytes), limit_(limit) {}
  std::int64_t Pos() override { return pos_; }
  std::int64_t Size() override { return static_cast<std::int64_t>(bytes_.size()); }
  std::int64_t Seek(std::int64_t pos) override { return pos_ = pos; }
  std::int64_t Read(void* buffer, std::int64_t count) override {
    if (pos_ >= limit_) throw std::runtime_error("device gone");
    count = std::min(count, limit_ - pos_);
    std::copy_n(bytes_.begin() + pos_, count, static_cast<std::uint8_t*>(buffer));
    pos_ += count;
    return count;
  }

 private:
  const std::vector<std::uint8_t>& bytes_;
  std::int64_t limit_;
  std::int64_t pos_ = 0;
};

TEST_F(PixmapLoaderChain, ErrorRaisedInsideThePngReadReachesTheCaller) {
  // The error comes up through libpng's C frames; it must arrive intact, with nothing leaked.
  BreakingStream breaking(png_, 40);
  EXPECT_THROW(LoadPixmap(breaking), std::runtime_error);
}

}  // namespace
}  // namespace media
