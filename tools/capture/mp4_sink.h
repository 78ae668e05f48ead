// The video form of a capture: one MP4 file, H.264 video and AAC sound, made by ffmpeg.
// The pictures go to ffmpeg raw on a pipe as they are captured (no picture files); the sound
// goes into a WAV file beside them, and a second, quick ffmpeg run puts the finished video
// and the sound into the MP4. Feeding the sound on a second pipe at the same time could
// stall: ffmpeg reads its two inputs in an order of its own, and while it waits on one pipe
// the capture may be blocked writing the other. Both runs use bit-exact settings and one
// encoder thread, so the same capture gives the same file.
// Depends on: POSIX processes and pipes, ffmpeg on the PATH, wav_writer.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tools/capture/frame_sink.h"
#include "tools/capture/wav_writer.h"

namespace capture {

class Mp4Sink final : public FrameSink {
 public:
  explicit Mp4Sink(std::filesystem::path output) : output_(std::move(output)) {}
  ~Mp4Sink() override;

  bool Open(std::string& error) override;
  bool WriteFrame(std::int64_t frame, const std::uint8_t* rgb, const std::int16_t* samples,
                  std::string& error) override;
  bool Finish(std::string& error) override;

 private:
  bool StopEncoder(std::string& error);

  std::filesystem::path output_;
  std::filesystem::path scratch_;  // a private folder for the video and the sound
  std::string ffmpeg_;             // where ffmpeg was found
  WavWriter audio_;
  pid_t encoder_ = -1;          // the ffmpeg encoding the pictures, while it runs
  int pictures_ = -1;           // the pipe to its standard input
  bool createdOutput_ = false;  // the video file was made here (and goes if the capture fails)
  bool finished_ = false;
};

// The path of an executable called `name` in one of PATH's folders, or empty.
std::string FindOnPath(const std::string& name);

}  // namespace capture
