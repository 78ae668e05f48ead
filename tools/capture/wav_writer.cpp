#include "tools/capture/wav_writer.h"

#include <array>
#include <cerrno>
#include <cstring>

namespace capture {

namespace {

constexpr int kChannels = 2;
constexpr int kBytesPerFrame = kChannels * 2;
constexpr long kHeaderBytes = 44;

void Put16(std::uint8_t* at, std::uint32_t value) {
  at[0] = static_cast<std::uint8_t>(value);
  at[1] = static_cast<std::uint8_t>(value >> 8);
}

void Put32(std::uint8_t* at, std::uint32_t value) {
  Put16(at, value & 0xffff);
  Put16(at + 2, value >> 16);
}

std::string Why(const std::string& what, const std::string& path) {
  return "can't " + what + " " + path + ": " + std::strerror(errno);
}

}  // namespace

WavWriter::~WavWriter() {
  if (file_ != nullptr) std::fclose(file_);
}

bool WavWriter::Open(const std::string& path, int sampleRate, std::string& error) {
  path_ = path;
  sampleRate_ = sampleRate;
  framesWritten_ = 0;
  file_ = std::fopen(path.c_str(), "wb");
  if (file_ == nullptr) {
    error = Why("create", path);
    return false;
  }
  return WriteHeader(error);
}

bool WavWriter::WriteHeader(std::string& error) {
  const auto dataBytes = static_cast<std::uint32_t>(framesWritten_ * kBytesPerFrame);
  std::array<std::uint8_t, kHeaderBytes> header{};
  std::memcpy(&header[0], "RIFF", 4);
  Put32(&header[4], static_cast<std::uint32_t>(kHeaderBytes - 8) + dataBytes);
  std::memcpy(&header[8], "WAVEfmt ", 8);
  Put32(&header[16], 16);  // size of the format chunk
  Put16(&header[20], 1);   // integer PCM
  Put16(&header[22], kChannels);
  Put32(&header[24], static_cast<std::uint32_t>(sampleRate_));
  Put32(&header[28], static_cast<std::uint32_t>(sampleRate_ * kBytesPerFrame));
  Put16(&header[32], kBytesPerFrame);
  Put16(&header[34], 16);
  std::memcpy(&header[36], "data", 4);
  Put32(&header[40], dataBytes);
  if (std::fseek(file_, 0, SEEK_SET) != 0 ||
      std::fwrite(header.data(), 1, header.size(), file_) != header.size()) {
    error = Why("write", path_);
    return false;
  }
  return true;
}

bool WavWriter::Append(const std::int16_t* samples, int frames, std::string& error) {
  bytes_.resize(static_cast<std::size_t>(frames) * kBytesPerFrame);
  for (std::size_t i = 0; i < static_cast<std::size_t>(frames) * kChannels; ++i) {
    Put16(&bytes_[2 * i], static_cast<std::uint16_t>(samples[i]));
  }
  if (std::fwrite(bytes_.data(), 1, bytes_.size(), file_) != bytes_.size()) {
    error = Why("write", path_);
    return false;
  }
  framesWritten_ += frames;
  return true;
}

bool WavWriter::Close(std::string& error) {
  if (file_ == nullptr) return true;
  bool ok = WriteHeader(error);
  if (std::fclose(file_) != 0 && ok) {
    error = Why("write", path_);
    ok = false;
  }
  file_ = nullptr;
  return ok;
}

}  // namespace capture
