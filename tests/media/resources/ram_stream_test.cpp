#include "media/resources/ram_stream.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <limits>
#include <numeric>

namespace media {
namespace {

std::array<std::uint8_t, 100> Counting() {
  std::array<std::uint8_t, 100> bytes{};
  std::iota(bytes.begin(), bytes.end(), 0);
  return bytes;
}

TEST(TRamStream, ReadNearTheEndReturnsOnlyWhatIsLeftThenStaysAtTheEnd) {
  const auto bytes = Counting();
  auto stream = TRamStream::Create(bytes.data(), 100, 1);
  EXPECT_EQ(stream->Seek(90), 90);
  std::array<std::uint8_t, 1000> out{};
  EXPECT_EQ(stream->Read(out.data(), 1000), 10);
  EXPECT_EQ(out[0], 90);
  EXPECT_EQ(out[9], 99);
  EXPECT_EQ(out[10], 0);  // nothing copied past the block
  EXPECT_EQ(stream->Pos(), 100);
  EXPECT_EQ(stream->Eof(), 1);
  EXPECT_EQ(stream->Read(out.data(), 1), 0);
}

TEST(TRamStream, HugeCountsCannotOverflowThePositionTest) {
  const auto bytes = Counting();
  auto stream = TRamStream::Create(bytes.data(), 100, 1);
  stream->Seek(50);
  std::array<std::uint8_t, 100> out{};
  // 50 + INT32_MAX wraps negative in 32 bits; the read must still stop at the block's end.
  EXPECT_EQ(stream->Read(out.data(), std::numeric_limits<std::int32_t>::max()), 50);
  stream->Seek(50);
  EXPECT_EQ(stream->Read(out.data(), std::numeric_limits<std::int64_t>::max()), 50);
  EXPECT_EQ(out[49], 99);

  std::array<std::uint8_t, 100> target{};
  auto writable = TRamStream::Create(target.data(), 100, 1, 1);
  writable->Seek(60);
  EXPECT_EQ(writable->Write(bytes.data(), std::numeric_limits<std::int32_t>::max()), 40);
  EXPECT_EQ(target[99], 39);
}

TEST(TRamStream, SeekClampsToTheBlock) {
  const auto bytes = Counting();
  auto stream = TRamStream::Create(bytes.data(), 100, 1);
  EXPECT_EQ(stream->Seek(-5), 0);
  EXPECT_EQ(stream->Seek(1000), 100);
  EXPECT_EQ(stream->Pos(), 100);
  EXPECT_EQ(stream->Seek(42), 42);
  std::uint8_t b = 0;
  EXPECT_EQ(stream->Read(&b, 1), 1);
  EXPECT_EQ(b, 42);
}

TEST(TRamStream, FlagsAndNonPositiveCountsRefuseTransfers) {
  auto bytes = Counting();
  std::uint8_t b = 7;
  auto readOnly = TRamStream::Create(bytes.data(), 100, 1);
  EXPECT_EQ(readOnly->Write(&b, 1), 0);
  EXPECT_EQ(bytes[0], 0);
  EXPECT_EQ(readOnly->Read(&b, 0), 0);
  EXPECT_EQ(readOnly->Read(&b, -3), 0);
  EXPECT_EQ(readOnly->Pos(), 0);

  auto writeOnly = TRamStream::Create(bytes.data(), 100, 0, 1);
  EXPECT_EQ(writeOnly->Read(&b, 1), 0);
  EXPECT_EQ(writeOnly->Write(&b, 1), 1);
  EXPECT_EQ(bytes[0], 7);
}

TEST(TRamStream, EmptyBlockIsAtItsEndAtOnce) {
  auto stream = TRamStream::Create(nullptr, 0, 1);
  EXPECT_EQ(stream->Size(), 0);
  EXPECT_EQ(stream->Eof(), 1);
  std::uint8_t b = 0;
  EXPECT_EQ(stream->Read(&b, 1), 0);
  EXPECT_THROW(stream->ReadBytes(&b, 1), TStreamReadException);
}

TEST(TStream, ReadBytesAndWriteBytesDemandTheWholeCount) {
  const auto bytes = Counting();
  auto stream = TRamStream::Create(bytes.data(), 100, 1);
  std::array<std::uint8_t, 100> out{};
  stream->Seek(95);
  try {
    stream->ReadBytes(out.data(), 6);
    FAIL() << "reading past the end must throw";
  } catch (const TStreamReadException& e) {
    EXPECT_STREQ(e.what(), "Error reading from stream");
  }
  stream->Seek(95);
  EXPECT_NO_THROW(stream->ReadBytes(out.data(), 5));
  EXPECT_EQ(out[4], 99);

  std::array<std::uint8_t, 4> small{};
  auto target = TRamStream::Create(small.data(), 4, 0, 1);
  try {
    target->WriteBytes(bytes.data(), 5);
    FAIL() << "writing past the end must throw";
  } catch (const TStreamWriteException& e) {
    EXPECT_STREQ(e.what(), "Error writing to stream");
  }
}

TEST(TIO, DefaultsRefuseTransfersWithTheirMessages) {
  TIO io;
  EXPECT_EQ(io.Pos(), -1);
  EXPECT_EQ(io.Size(), 0);
  EXPECT_EQ(io.Seek(3), -1);
  EXPECT_EQ(io.Eof(), 0);  // -1 is not 0
  std::uint8_t b = 0;
  try {
    io.Read(&b, 1);
    FAIL();
  } catch (const TRuntimeError& e) {
    EXPECT_STREQ(e.what(), "Stream is not readable");
  }
  try {
    io.Write(&b, 1);
    FAIL();
  } catch (const TRuntimeError& e) {
    EXPECT_STREQ(e.what(), "Stream is not writeable");
  }
}

}  // namespace
}  // namespace media
