// A 16-bit PCM stereo WAV file written as the samples come; the header's lengths are filled
// in when it is closed.
// Depends on: nothing.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace capture {

class WavWriter {
 public:
  WavWriter() = default;
  WavWriter(const WavWriter&) = delete;
  WavWriter& operator=(const WavWriter&) = delete;
  ~WavWriter();

  // Creates `path` (replacing it) and writes a header for `sampleRate` Hz stereo.
  bool Open(const std::string& path, int sampleRate, std::string& error);
  // Appends `frames` interleaved stereo frames.
  bool Append(const std::int16_t* samples, int frames, std::string& error);
  // Writes the final lengths into the header and closes the file.
  bool Close(std::string& error);

  std::int64_t framesWritten() const { return framesWritten_; }

 private:
  bool WriteHeader(std::string& error);

  std::FILE* file_ = nullptr;
  std::string path_;
  int sampleRate_ = 0;
  std::int64_t framesWritten_ = 0;
  std::vector<std::uint8_t> bytes_;  // little-endian staging, reused
};

}  // namespace capture
