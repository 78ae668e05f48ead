// musicgen: renders the disk's songs to WAV, and writes the ID3v2.2 tag no installable
// encoder writes any more.
//
//   musicgen <song-id> <out.wav> [--seconds N | --bars FIRST COUNT]
//   musicgen id3v22 <in.mp3> <out.mp3> --title T --artist A
//   musicgen twins <song-id> <other-song-id> [similarity]
//   musicgen --list
#include <cstdint>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "musicgen/arrangement_checks.h"
#include "musicgen/audio_buffer.h"
#include "musicgen/id3v22.h"
#include "musicgen/loudness.h"
#include "musicgen/mastering.h"
#include "musicgen/renderer.h"
#include "musicgen/schedule.h"
#include "musicgen/song_library.h"
#include "musicgen/wav_writer.h"

namespace {

using musicgen::kSampleRate;

int usage() {
  std::cerr << "usage: musicgen <song-id> <out.wav> [--seconds N | --bars FIRST COUNT]\n"
               "       musicgen id3v22 <in.mp3> <out.mp3> --title T --artist A\n"
               "       musicgen twins <song-id> <other-song-id> [similarity]\n"
               "       musicgen --list\n";
  return 2;
}

// The value after `flag` in args[from..], or nothing.
std::optional<std::string> option(const std::vector<std::string>& args, std::size_t from,
                                  const std::string& flag) {
  for (std::size_t i = from; i + 1 < args.size(); ++i)
    if (args[i] == flag) return args[i + 1];
  return std::nullopt;
}

std::vector<std::uint8_t> readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

int tagCommand(const std::vector<std::string>& args) {
  const auto title = option(args, 3, "--title");
  const auto artist = option(args, 3, "--artist");
  if (args.size() != 7 || !title || !artist) return usage();
  const std::vector<std::uint8_t> audio = readFile(args[1]);
  // Two tags in a row would leave the second one to be played as audio.
  if (musicgen::hasId3v2Tag(audio)) throw std::runtime_error(args[1] + " already has an ID3v2 tag");
  std::vector<std::uint8_t> out = musicgen::buildId3v22Tag(*title, *artist);
  out.insert(out.end(), audio.begin(), audio.end());
  std::ofstream file(args[2], std::ios::binary);
  file.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
  if (!file) throw std::runtime_error("cannot write " + args[2]);
  return 0;
}

// A number from the command line, all of it.
double numberArgument(const std::string& flag, const std::string& text) {
  std::size_t used = 0;
  double value = 0.0;
  try {
    value = std::stod(text, &used);
  } catch (const std::logic_error&) {
    used = 0;
  }
  if (used != text.size() || text.empty())
    throw std::runtime_error(flag + " wants a number, not '" + text + "'");
  return value;
}

// A whole track as a listener replaying it hears it: no lull that outlasts a few bars,
// and always something changing. Prints the figures; false if one is off.
bool checkArrangement(const musicgen::Song& song, const musicgen::StereoBuffer& mix) {
  constexpr double kQuietLufs = -24.0, kLongestQuietSeconds = 8.0;
  constexpr int kLongestRepeatBars = 8;
  const double quiet = musicgen::longestStretchBelow(
      musicgen::shortTermLoudness(mix, kSampleRate, song.ending == musicgen::Ending::Loop),
      kQuietLufs, 0.1);
  const int repeat = musicgen::longestRepeatBars(song);
  // Each section's own loudness, for hearing whether a return lifts.
  const musicgen::Timing timing = musicgen::timingOf(song, kSampleRate);
  std::int64_t step = 0;
  for (const musicgen::Section& section : song.sections) {
    const std::int64_t end = step + section.bars * musicgen::stepsPerBar(song);
    const auto from = static_cast<std::ptrdiff_t>(timing.frameOf(step));
    const auto to = static_cast<std::ptrdiff_t>(timing.frameOf(end));
    musicgen::StereoBuffer part;
    part.left.assign(mix.left.begin() + from, mix.left.begin() + to);
    part.right.assign(mix.right.begin() + from, mix.right.begin() + to);
    std::cout << "  " << section.name << ": " << musicgen::integratedLoudness(part, kSampleRate)
              << " LUFS\n";
    step = end;
  }
  std::cout << "  longest stretch below " << kQuietLufs << " LUFS short-term: " << quiet
            << " s; longest exact repetition: " << repeat << " bars\n";
  bool good = true;
  if (quiet > kLongestQuietSeconds) {
    std::cerr << "musicgen: " << song.id << " stays below " << kQuietLufs << " LUFS for " << quiet
              << " s (at most " << kLongestQuietSeconds << ")\n";
    good = false;
  }
  if (repeat > kLongestRepeatBars) {
    std::cerr << "musicgen: " << song.id << " repeats " << repeat << " bars exactly (at most "
              << kLongestRepeatBars << ")\n";
    good = false;
  }
  return good;
}

// How much of one song another one plays again: the share of the first's bars that have
// a near twin in the second.
int twinsCommand(const std::vector<std::string>& args) {
  const auto song = musicgen::findSong(args[1]), other = musicgen::findSong(args[2]);
  if (!song || !other || args.size() > 4) return usage();
  const double similarity = args.size() == 4 ? numberArgument("similarity", args[3]) : 0.9;
  std::cout << args[1] << " bars with a near twin in " << args[2] << ": "
            << 100.0 * musicgen::nearTwinShare(*song, *other, similarity) << "%\n";
  return 0;
}

int renderCommand(const std::vector<std::string>& args) {
  musicgen::RenderOptions options;
  if (args.size() == 4 && args[2] == "--seconds") {
    options.seconds = numberArgument(args[2], args[3]);
  } else if (args.size() == 5 && args[2] == "--bars") {
    options.bars = musicgen::BarRange{static_cast<int>(numberArgument(args[2], args[3])),
                                      static_cast<int>(numberArgument(args[2], args[4]))};
  } else if (args.size() != 2) {
    return usage();
  }
  const auto song = musicgen::findSong(args[0]);
  if (!song) {
    std::cerr << "musicgen: no song '" << args[0] << "' (try --list)\n";
    return 1;
  }
  const musicgen::StereoBuffer mix = musicgen::renderSong(*song, options);
  musicgen::writeWav16(args[1], mix, static_cast<int>(kSampleRate));
  std::cout << args[0] << ": \"" << song->title << "\", "
            << static_cast<double>(mix.frames()) / kSampleRate << " s, peak "
            << musicgen::peakLevel(mix) << "\n";
  // Excerpts and imposed lengths are for listening; only the track as it ships is judged.
  if (args.size() == 2 && !checkArrangement(*song, mix)) return 1;
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  try {
    if (args.size() == 1 && args[0] == "--list") {
      for (const std::string& id : musicgen::songIds()) std::cout << id << "\n";
      return 0;
    }
    if (!args.empty() && args[0] == "id3v22") return tagCommand(args);
    if (args.size() >= 3 && args[0] == "twins") return twinsCommand(args);
    return renderCommand(args);
  } catch (const std::exception& e) {
    std::cerr << "musicgen: " << e.what() << "\n";
    return 1;
  }
}
