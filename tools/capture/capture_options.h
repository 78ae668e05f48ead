// The capture tool's command line: how long to capture, which keys to press when, and where
// the result goes (a folder of PNG frames and a WAV file, or one MP4 file).
// Depends on: media/platform key codes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace capture {

// The disk draws 60 frames a second and its sound runs at 44.1 kHz: 735 stereo sample
// frames belong to each video frame.
constexpr int kFramesPerSecond = 60;
constexpr int kSampleRate = 44100;
constexpr int kSamplesPerFrame = kSampleRate / kFramesPerSecond;
constexpr int kPictureWidth = 800;
constexpr int kPictureHeight = 600;
// About 4.6 hours; keeps the WAV file well inside its 4 GiB limit.
constexpr std::int64_t kMaxFrames = 1'000'000;

// One key press: the key goes down and up during video frame `frame` (from 1).
struct ScriptedKey {
  std::int64_t frame = 0;
  int key = 0;  // virtual-key code (media/platform/key_codes.h)
  bool operator==(const ScriptedKey&) const = default;
};

enum class OutputKind { kFolder, kMp4 };

struct CaptureOptions {
  std::int64_t frames = 0;
  std::vector<ScriptedKey> keys;  // in script order
  std::string output;
  OutputKind outputKind = OutputKind::kFolder;
  bool quiet = false;
};

struct ParseResult {
  enum class Status { kRun, kHelp, kBadArguments };
  Status status = Status::kBadArguments;
  CaptureOptions options;
  std::string error;  // why the arguments are bad
};

// Reads the arguments after the program name. Key scripts named with --keys are read here
// ("-" is the standard input).
ParseResult ParseCaptureArguments(const std::vector<std::string>& args);

// Adds the presses of a key script (lines "FRAME KEY", # comments) to `keys`. On a bad line
// returns false and says which in `error`, prefixed with `source` (a file name).
bool ParseKeyScript(std::string_view text, std::string_view source, std::vector<ScriptedKey>& keys,
                    std::string& error);

// The key code for a name in a key script (F1..F9, M, C, G, I, Space; any case), or 0.
int KeyCodeForName(std::string_view name);

// The help text: options, output forms, key script format and exit codes.
std::string UsageText();

}  // namespace capture
