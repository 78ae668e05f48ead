// Where captured frames go: each video frame's picture (800x600 RGB, rows top first) with
// the 735 stereo sample frames of sound that play during it. Two forms: a folder of PNG
// files with a WAV file (png_folder_sink.h), and an MP4 file made by ffmpeg (mp4_sink.h).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "tools/capture/capture_options.h"

namespace capture {

class FrameSink {
 public:
  virtual ~FrameSink() = default;
  // Gets the output ready before the capture starts, so that a path that cannot be written
  // fails at once. False with `error` set on failure.
  virtual bool Open(std::string& error) = 0;
  // Frame `frame` (from 1): kPictureWidth * kPictureHeight * 3 bytes of RGB and
  // kSamplesPerFrame * 2 interleaved samples.
  virtual bool WriteFrame(std::int64_t frame, const std::uint8_t* rgb, const std::int16_t* samples,
                          std::string& error) = 0;
  // Completes the output after the last frame.
  virtual bool Finish(std::string& error) = 0;
};

// The sink for `options.output` in the form `options.outputKind` names.
std::unique_ptr<FrameSink> MakeFrameSink(const CaptureOptions& options);

}  // namespace capture
