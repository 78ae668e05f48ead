// The folder form of a capture: frame_000001.png, frame_000002.png, ... and audio.wav.
// Depends on: libpng, wav_writer.
#pragma once

#include <filesystem>
#include <string>

#include "tools/capture/frame_sink.h"
#include "tools/capture/wav_writer.h"

namespace capture {

class PngFolderSink final : public FrameSink {
 public:
  explicit PngFolderSink(std::filesystem::path folder) : folder_(std::move(folder)) {}

  bool Open(std::string& error) override;
  bool WriteFrame(std::int64_t frame, const std::uint8_t* rgb, const std::int16_t* samples,
                  std::string& error) override;
  bool Finish(std::string& error) override;

  // frame_000001.png for frame 1.
  static std::string FrameFileName(std::int64_t frame);

 private:
  std::filesystem::path folder_;
  WavWriter audio_;
};

// Writes an 800x600 RGB picture as a PNG file, compressed for speed rather than size.
bool WritePngPicture(const std::filesystem::path& path, const std::uint8_t* rgb,
                     std::string& error);

}  // namespace capture
