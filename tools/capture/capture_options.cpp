#include "tools/capture/capture_options.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

#include "media/platform/key_codes.h"

namespace capture {

namespace {

std::string Lower(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return lower;
}

bool EndsWithMp4(std::string_view name) {
  return name.size() > 4 && Lower(name.substr(name.size() - 4)) == ".mp4";
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) {
    text.remove_prefix(1);
  }
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) {
    text.remove_suffix(1);
  }
  return text;
}

// A whole decimal number, nothing else around it.
bool ParseCount(std::string_view text, std::int64_t& value) {
  if (text.empty() || text.front() == '+' || text.front() == '-') return false;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc{} && end == text.data() + text.size();
}

bool ParseFrameCount(std::string_view text, std::int64_t& frames, std::string& error) {
  if (!ParseCount(text, frames) || frames < 1 || frames > kMaxFrames) {
    error = "--frames wants a whole number from 1 to " + std::to_string(kMaxFrames) + ", not '" +
            std::string(text) + "'";
    return false;
  }
  return true;
}

bool ParseSeconds(const std::string& text, std::int64_t& frames, std::string& error) {
  char* end = nullptr;
  const double seconds = text.empty() ? 0.0 : std::strtod(text.c_str(), &end);
  const bool whole = end != nullptr && *end == '\0';
  const double count = std::round(seconds * kFramesPerSecond);
  if (!whole || !std::isfinite(seconds) || count < 1.0 || count > static_cast<double>(kMaxFrames)) {
    error = "--seconds wants a length of at least 1/60 s, not '" + text + "'";
    return false;
  }
  frames = static_cast<std::int64_t>(count);
  return true;
}

// "'TEXT' WHAT". Out of line: inlined into the parser, GCC 12 at -O3 takes this string
// assembly for an overlapping copy (a false -Wrestrict).
[[gnu::noinline]] std::string Complaint(std::string_view text, std::string_view what) {
  std::string complaint = "'";
  complaint += text;
  complaint += "' ";
  complaint += what;
  return complaint;
}

// "FRAME KEY" or "FRAME:KEY".
bool ParseKeyLine(std::string_view line, ScriptedKey& press, std::string& error) {
  const std::size_t split = line.find_first_of(" \t:");
  if (split == std::string_view::npos) {
    error = Complaint(line, "is not 'FRAME KEY'");
    return false;
  }
  const std::string_view frameText = Trim(line.substr(0, split));
  std::string_view keyText = Trim(line.substr(split + 1));
  if (!keyText.empty() && keyText.front() == ':') keyText = Trim(keyText.substr(1));
  if (!ParseCount(frameText, press.frame) || press.frame < 1) {
    error = Complaint(frameText, "is not a frame number (frames count from 1)");
    return false;
  }
  press.key = KeyCodeForName(keyText);
  if (press.key == 0) {
    error = Complaint(keyText, "is not a key the disk reacts to (F1-F9, M, C, G, I, Space)");
    return false;
  }
  return true;
}

bool ReadWholeFile(const std::string& name, std::string& text) {
  if (name == "-") {
    text.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
    return !std::cin.bad();
  }
  std::ifstream file(name, std::ios::binary);
  if (!file) return false;
  std::ostringstream contents;
  contents << file.rdbuf();
  text = contents.str();
  return !file.bad();
}

ParseResult Bad(std::string error) {
  ParseResult result;
  result.status = ParseResult::Status::kBadArguments;
  result.error = std::move(error);
  return result;
}

}  // namespace

int KeyCodeForName(std::string_view name) {
  const std::string key = Lower(Trim(name));
  if (key.size() == 2 && key[0] == 'f' && key[1] >= '1' && key[1] <= '9') {
    return media::kKeyF1 + (key[1] - '1');
  }
  if (key == "m") return media::kKeyM;
  if (key == "c") return media::kKeyC;
  if (key == "g") return media::kKeyG;
  if (key == "i") return media::kKeyI;
  if (key == "space") return media::kKeySpace;
  return 0;
}

bool ParseKeyScript(std::string_view text, std::string_view source, std::vector<ScriptedKey>& keys,
                    std::string& error) {
  int lineNumber = 0;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    const std::string_view line = Trim(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    ++lineNumber;
    if (line.empty() || line.front() == '#') continue;
    ScriptedKey press;
    std::string why;
    if (!ParseKeyLine(line, press, why)) {
      error = std::string(source) + ":" + std::to_string(lineNumber) + ": " + why;
      return false;
    }
    keys.push_back(press);
  }
  return true;
}

ParseResult ParseCaptureArguments(const std::vector<std::string>& args) {
  ParseResult result;
  CaptureOptions& options = result.options;
  bool haveLength = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--help" || arg == "-h") {
      result.status = ParseResult::Status::kHelp;
      return result;
    }
    if (arg == "--quiet" || arg == "-q") {
      options.quiet = true;
      continue;
    }
    const bool takesValue = arg == "--frames" || arg == "--seconds" || arg == "--keys" ||
                            arg == "--key" || arg == "--output" || arg == "-o";
    if (takesValue) {
      if (i + 1 >= args.size()) return Bad(arg + " needs a value");
      const std::string& value = args[++i];
      std::string error;
      if (arg == "--frames" || arg == "--seconds") {
        if (haveLength) return Bad("give the length once, with --frames or --seconds");
        haveLength = true;
        const bool ok = arg == "--frames" ? ParseFrameCount(value, options.frames, error)
                                          : ParseSeconds(value, options.frames, error);
        if (!ok) return Bad(error);
      } else if (arg == "--keys") {
        std::string text;
        if (!ReadWholeFile(value, text)) return Bad("can't read the key script '" + value + "'");
        if (!ParseKeyScript(text, value, options.keys, error)) return Bad(error);
      } else if (arg == "--key") {
        if (!ParseKeyScript(value, "--key", options.keys, error)) return Bad(error);
      } else {
        if (!options.output.empty()) return Bad("more than one output given");
        options.output = value;
      }
      continue;
    }
    if (arg.size() > 1 && arg.front() == '-') return Bad("unknown option '" + arg + "'");
    if (!options.output.empty()) return Bad("more than one output given");
    options.output = arg;
  }
  if (!haveLength) return Bad("say how long to capture: --frames N or --seconds S");
  if (options.output.empty()) return Bad("say where the capture goes: a folder or a .mp4 file");
  for (const ScriptedKey& press : options.keys) {
    if (press.frame > options.frames) {
      return Bad("a key is pressed at frame " + std::to_string(press.frame) +
                 ", after the last frame (" + std::to_string(options.frames) + ")");
    }
  }
  options.outputKind = EndsWithMp4(options.output) ? OutputKind::kMp4 : OutputKind::kFolder;
  result.status = ParseResult::Status::kRun;
  return result;
}

std::string UsageText() {
  return R"(Usage: musicdisk-capture (--frames N | --seconds S) [--keys FILE] [--key 'FRAME KEY']...
                         [--quiet] OUTPUT

Runs the music disk without a screen or a sound card, on a clock that moves exactly 1/60 s
per video frame, and records every frame it shows and the sound that plays with it. The
capture starts when the disk's window opens (the question is answered "No": an 800x600
window), so it begins with the one-second loading screen, as the program does. Two runs
with the same arguments give the same files, bit for bit (MP4 files too, made by the same
ffmpeg).

OUTPUT
  NAME.mp4       one video: H.264 at 60 frames per second and AAC sound, made by ffmpeg,
                 which must be installed
  anything else  a folder (made if missing) holding frame_000001.png, frame_000002.png, ...
                 (800x600 RGB) and audio.wav (16-bit PCM stereo, 44.1 kHz): exactly 735
                 sample frames per video frame

Options
  --frames N         capture N video frames
  --seconds S        capture S seconds (a fraction is allowed), rounded to whole frames
  --keys FILE        press keys as the key script FILE says ('-': standard input)
  --key 'FRAME KEY'  press one key, e.g. --key '120 F2' or --key 120:F2; may be repeated
  -o, --output OUT   the output, instead of giving it last
  -q, --quiet        no progress line (there is none either when standard error is not a
                     terminal)
  -h, --help         this text

Key script
  One key press per line: FRAME KEY, e.g.
      # play the second track, then show the credits
      120 F2
      300 C
      400 Space
  The key goes down and up during video frame FRAME (frames count from 1); the disk reacts
  in the next frame it draws. KEY is F1-F9, M, C, G, I or Space, in any case. Blank lines
  and lines starting with # are skipped. Esc is not a key here: the capture ends the disk
  itself after its last frame.

Exit status
  0  the capture was written
  1  it could not be written (the folder or file, or ffmpeg failed or is missing)
  2  bad arguments
)";
}

}  // namespace capture
