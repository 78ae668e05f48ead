// The capture tool run as a person runs it: whole captures into folders and MP4 files,
// their determinism, pictures and sound in step through a track change, and its exit codes.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int kSamplesPerFrame = 735;
// Facts of the disk: a track change winds the old track down for 500 ms, then the loading
// picture is shown in its own frame and stays for a second.
constexpr int kWindDownFrames = 30;
constexpr int kLoadingFrames = 1 + 60;

struct ToolRun {
  int status = -1;
  std::string out;
  std::string err;
};

std::string ReadFile(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}

std::string Quote(const std::string& text) {
  return "'" + text + "'";
}

// Everything the tests write, in a folder of this process's own (ctest may run several).
fs::path ScratchRoot() {
  static const fs::path root =
      fs::temp_directory_path() / ("capture_run_test_" + std::to_string(getpid()));
  fs::create_directories(root);
  return root;
}

// A fresh path `name` in the scratch folder.
fs::path Scratch(const std::string& name) {
  const fs::path path = ScratchRoot() / name;
  fs::remove_all(path);
  return path;
}

// Runs a shell command, keeping what it writes to its standard output and error.
ToolRun RunCommand(const std::string& command) {
  const fs::path scratch = ScratchRoot();
  const int raw = std::system((command + " >" + Quote((scratch / "out").string()) + " 2>" +
                               Quote((scratch / "err").string()) + " </dev/null")
                                  .c_str());
  ToolRun run;
  run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  run.out = ReadFile(scratch / "out");
  run.err = ReadFile(scratch / "err");
  return run;
}

// Runs the tool with `args` (already quoted where needed) under `env` (e.g. "PATH=...").
ToolRun RunTool(const std::string& args, const std::string& env = "") {
  return RunCommand((env.empty() ? "" : "env " + env + " ") + Quote(MUSICDISK_CAPTURE_TOOL) + " " +
                    args);
}

std::uint32_t Le32(const std::string& b, std::size_t at) {
  return static_cast<std::uint8_t>(b[at]) | static_cast<std::uint8_t>(b[at + 1]) << 8 |
         static_cast<std::uint8_t>(b[at + 2]) << 16 |
         static_cast<std::uint32_t>(static_cast<std::uint8_t>(b[at + 3])) << 24;
}
std::uint32_t Be32(const std::string& b, std::size_t at) {
  return static_cast<std::uint32_t>(static_cast<std::uint8_t>(b[at])) << 24 |
         static_cast<std::uint8_t>(b[at + 1]) << 16 | static_cast<std::uint8_t>(b[at + 2]) << 8 |
         static_cast<std::uint8_t>(b[at + 3]);
}

// The loudest sample of each frame's share of interleaved 16-bit stereo `pcm`.
std::vector<int> PeakPerFrame(const std::string& pcm) {
  std::vector<int> peaks;
  const std::size_t frameBytes = kSamplesPerFrame * 4;
  for (std::size_t at = 0; at + frameBytes <= pcm.size(); at += frameBytes) {
    int peak = 0;
    for (std::size_t i = at; i < at + frameBytes; i += 2) {
      const auto sample = static_cast<std::int16_t>(static_cast<std::uint8_t>(pcm[i]) |
                                                    static_cast<std::uint8_t>(pcm[i + 1]) << 8);
      peak = std::max(peak, std::abs(static_cast<int>(sample)));
    }
    peaks.push_back(peak);
  }
  return peaks;
}

// A folder capture read back: each frame's PNG bytes (index 0 is frame 1) and the WAV file.
struct FolderCapture {
  std::vector<std::string> frames;
  std::string wav;
  std::vector<std::string> otherFiles;
};

FolderCapture ReadCapture(const fs::path& folder) {
  FolderCapture capture;
  capture.wav = ReadFile(folder / "audio.wav");
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  for (const std::string& name : names) {
    if (name.rfind("frame_", 0) == 0) {
      capture.frames.push_back(ReadFile(folder / name));
    } else if (name != "audio.wav") {
      capture.otherFiles.push_back(name);
    }
  }
  return capture;
}

class CaptureRun : public ::testing::Test {
 protected:
  static void TearDownTestSuite() { fs::remove_all(ScratchRoot()); }
};

// The second track (F2) at frame 80, the credits (C) at 65: frames 1-61 are the loading
// picture, 62-80 the disk, 81-110 the wind-down, 111-171 the loading picture again, then
// the disk with the second track.
constexpr int kFrames = 175;
constexpr int kCreditsKeyFrame = 65;
constexpr int kTrackKeyFrame = 80;

TEST_F(CaptureRun, FolderCaptureIsExactAndTheSameEveryRun) {
  const fs::path keys = Scratch("keys.txt");
  std::ofstream(keys) << "# credits, then the second track\n"
                      << kCreditsKeyFrame << " C\n"
                      << kTrackKeyFrame << " F2\n";
  const fs::path first = Scratch("first");
  const fs::path second = Scratch("second");
  // The folder is made, and a frame left over from a longer capture does not stay.
  fs::create_directories(second);
  std::ofstream(second / "frame_000999.png") << "stale";
  const std::string args =
      "--frames " + std::to_string(kFrames) + " --keys " + Quote(keys.string()) + " ";
  const ToolRun run1 = RunTool(args + Quote(first.string()));
  ASSERT_EQ(run1.status, 0) << run1.err;
  const ToolRun run2 = RunTool(args + "-q " + Quote(second.string()));
  ASSERT_EQ(run2.status, 0) << run2.err;
  EXPECT_TRUE(run2.err.empty()) << run2.err;
  // Standard error is no terminal here: no progress line.
  EXPECT_EQ(run1.err.find('\r'), std::string::npos);

  const FolderCapture a = ReadCapture(first);
  const FolderCapture b = ReadCapture(second);
  ASSERT_EQ(a.frames.size(), static_cast<std::size_t>(kFrames));
  EXPECT_TRUE(a.otherFiles.empty());
  EXPECT_EQ(fs::exists(first / "frame_000001.png"), true);
  EXPECT_EQ(fs::exists(first / "frame_000175.png"), true);
  ASSERT_EQ(b.frames.size(), a.frames.size());
  for (std::size_t i = 0; i < a.frames.size(); ++i) {
    ASSERT_TRUE(a.frames[i] == b.frames[i]) << "frame " << i + 1 << " differs between runs";
  }
  EXPECT_TRUE(a.wav == b.wav) << "the sound differs between runs";

  // Every picture: a PNG of 800x600, 8-bit RGB.
  for (std::size_t i = 0; i < a.frames.size(); ++i) {
    const std::string& png = a.frames[i];
    ASSERT_GT(png.size(), 33u);
    ASSERT_EQ(png.substr(0, 8), "\x89PNG\r\n\x1a\n") << "frame " << i + 1;
    ASSERT_EQ(png.substr(12, 4), "IHDR");
    EXPECT_EQ(Be32(png, 16), 800u);
    EXPECT_EQ(Be32(png, 20), 600u);
    EXPECT_EQ(png[24], 8);  // bits per channel
    EXPECT_EQ(png[25], 2);  // RGB
  }

  // The sound: 16-bit PCM stereo at 44.1 kHz, exactly 735 sample frames per video frame.
  const std::string& wav = a.wav;
  ASSERT_EQ(wav.size(), 44u + kFrames * kSamplesPerFrame * 4u);
  EXPECT_EQ(wav.substr(0, 4), "RIFF");
  EXPECT_EQ(Le32(wav, 4), wav.size() - 8);
  EXPECT_EQ(wav.substr(8, 8), "WAVEfmt ");
  EXPECT_EQ(Le32(wav, 16), 16u);
  EXPECT_EQ(Le32(wav, 20), 1u | 2u << 16);  // PCM, two channels
  EXPECT_EQ(Le32(wav, 24), 44100u);
  EXPECT_EQ(Le32(wav, 28), 44100u * 4);
  EXPECT_EQ(Le32(wav, 32), 4u | 16u << 16);  // 4 bytes a frame, 16 bits a sample
  EXPECT_EQ(wav.substr(36, 4), "data");
  EXPECT_EQ(Le32(wav, 40), kFrames * kSamplesPerFrame * 4u);

  // Pictures and sound in step. Index = frame - 1.
  const std::vector<int> peak = PeakPerFrame(wav.substr(44));
  ASSERT_EQ(peak.size(), static_cast<std::size_t>(kFrames));
  const std::string& loading = a.frames[0];
  for (int f = 1; f <= kLoadingFrames; ++f) {
    EXPECT_TRUE(a.frames[f - 1] == loading) << "frame " << f << " is not the loading picture";
    EXPECT_EQ(peak[f - 1], 0) << "frame " << f << " of the loading picture is not silent";
  }
  // The disk runs: a new picture every frame, music under each.
  for (int f = kLoadingFrames + 1; f <= kTrackKeyFrame; ++f) {
    EXPECT_TRUE(a.frames[f - 1] != a.frames[f - 2]) << "frame " << f << " repeats the one before";
    EXPECT_GT(peak[f - 1], 1000) << "frame " << f << " has no music";
  }
  // F2: the picture stops while the old track winds down, from the next frame on.
  const int windDownEnd = kTrackKeyFrame + kWindDownFrames;
  for (int f = kTrackKeyFrame + 1; f <= windDownEnd; ++f) {
    EXPECT_TRUE(a.frames[f - 1] == a.frames[kTrackKeyFrame - 1]) << "frame " << f;
  }
  EXPECT_GT(peak[kTrackKeyFrame], 1000);  // the first wind-down frame still sounds
  EXPECT_EQ(peak[windDownEnd - 1], 0);    // the fade has ended by its last
  // Then the loading picture for a second, in silence. (It is drawn over what the disk
  // left in its drawing state, so it need not match the first one to the pixel.)
  const std::string& loadingAgain = a.frames[windDownEnd];
  EXPECT_TRUE(loadingAgain != a.frames[windDownEnd - 1]);
  for (int f = windDownEnd + 1; f <= windDownEnd + kLoadingFrames; ++f) {
    EXPECT_TRUE(a.frames[f - 1] == loadingAgain) << "frame " << f << " is not the loading picture";
    EXPECT_EQ(peak[f - 1], 0) << "frame " << f;
  }
  for (int f = windDownEnd + kLoadingFrames + 1; f <= kFrames; ++f) {
    EXPECT_TRUE(a.frames[f - 1] != a.frames[f - 2]) << "frame " << f;
    EXPECT_GT(peak[f - 1], 0) << "frame " << f << ": the second track is not playing";
  }

  // Without the keys the same frames come up to the credits key's frame, and from the next
  // frame on the picture differs: a key acts in the frame after the one it is pressed in.
  const fs::path plain = Scratch("plain");
  const ToolRun run3 =
      RunTool("-q --frames " + std::to_string(kCreditsKeyFrame + 1) + " " + Quote(plain.string()));
  ASSERT_EQ(run3.status, 0) << run3.err;
  const FolderCapture c = ReadCapture(plain);
  ASSERT_EQ(c.frames.size(), static_cast<std::size_t>(kCreditsKeyFrame + 1));
  for (int f = 1; f <= kCreditsKeyFrame; ++f) {
    ASSERT_TRUE(c.frames[f - 1] == a.frames[f - 1]) << "frame " << f;
  }
  EXPECT_TRUE(c.frames[kCreditsKeyFrame] != a.frames[kCreditsKeyFrame]);
  EXPECT_TRUE(c.wav.substr(44) == a.wav.substr(44, c.wav.size() - 44));
}

TEST_F(CaptureRun, BadArgumentsExitTwoWithTheUsage) {
  for (const std::string args : {"", "out", "--frames 0 out", "--frames 10 --bogus out",
                                 "--frames 10 --key '11 C' out", "--frames 10 a b"}) {
    const ToolRun run = RunTool(args);
    EXPECT_EQ(run.status, 2) << args;
    EXPECT_NE(run.err.find("Usage: musicdisk-capture"), std::string::npos) << args;
    EXPECT_NE(run.err.find("musicdisk-capture: "), std::string::npos) << args;
  }
  const ToolRun help = RunTool("--help");
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("Key script"), std::string::npos);
  EXPECT_NE(help.out.find("FRAME KEY"), std::string::npos);
}

// On a terminal a progress line counts the frames; --quiet, or no terminal, keeps it quiet.
TEST_F(CaptureRun, ShowsProgressOnlyOnATerminal) {
  if (std::system("command -v script >/dev/null") != 0) GTEST_SKIP() << "no 'script' command";
  const fs::path folder = Scratch("progress");
  const std::string capture = Quote(MUSICDISK_CAPTURE_TOOL) + " --frames 12 ";
  // `script` runs the command on a pseudo-terminal and copies what it writes there.
  const ToolRun shown =
      RunCommand("script -qec \"" + capture + Quote(folder.string()) + "\" /dev/null");
  EXPECT_EQ(shown.status, 0) << shown.err;
  EXPECT_NE(shown.out.find("\rframe 12/12 "), std::string::npos) << shown.out;
  const ToolRun quiet =
      RunCommand("script -qec \"" + capture + "--quiet " + Quote(folder.string()) + "\" /dev/null");
  EXPECT_EQ(quiet.status, 0) << quiet.err;
  EXPECT_EQ(quiet.out.find("frame"), std::string::npos) << quiet.out;
}

TEST_F(CaptureRun, OutputThatCannotBeWrittenExitsOne) {
  const fs::path blocker = Scratch("blocker");
  std::ofstream(blocker) << "a file, not a folder";
  const ToolRun folder = RunTool("-q --frames 5 " + Quote((blocker / "frames").string()));
  EXPECT_EQ(folder.status, 1);
  EXPECT_NE(folder.err.find((blocker / "frames").string()), std::string::npos) << folder.err;

  // An ffmpeg that fails, and none at all.
  const fs::path bin = Scratch("bin");
  fs::create_directories(bin);
  std::ofstream(bin / "ffmpeg") << "#!/bin/sh\nexit 3\n";
  fs::permissions(bin / "ffmpeg", fs::perms::owner_all);
  const fs::path video = Scratch("failed.mp4");
  const ToolRun failing =
      RunTool("-q --frames 30 " + Quote(video.string()), "PATH=" + Quote(bin.string()));
  EXPECT_EQ(failing.status, 1);
  EXPECT_NE(failing.err.find("ffmpeg failed encoding the video (exit status 3)"), std::string::npos)
      << failing.err;
  EXPECT_FALSE(fs::exists(video)) << "a failed capture left its video file behind";

  fs::remove(bin / "ffmpeg");
  const ToolRun missing =
      RunTool("-q --frames 30 " + Quote(video.string()), "PATH=" + Quote(bin.string()));
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("needs ffmpeg"), std::string::npos) << missing.err;
}

// With ffmpeg installed: one MP4 of the right length, H.264 and AAC, the same every run,
// its sound in step with its pictures.
TEST_F(CaptureRun, Mp4CaptureIsAVideoOfTheRightLengthAndTheSameEveryRun) {
  if (std::system("command -v ffmpeg >/dev/null && command -v ffprobe >/dev/null") != 0) {
    GTEST_SKIP() << "ffmpeg and ffprobe are not installed";
  }
  constexpr int kVideoFrames = 90;
  const fs::path first = Scratch("first.mp4");
  const fs::path second = Scratch("second.mp4");
  for (const fs::path& video : {first, second}) {
    const ToolRun run =
        RunTool("-q --frames " + std::to_string(kVideoFrames) + " " + Quote(video.string()));
    ASSERT_EQ(run.status, 0) << run.err;
  }
  EXPECT_TRUE(ReadFile(first) == ReadFile(second)) << "two runs gave different MP4 files";

  const fs::path probe = Scratch("probe.txt");
  ASSERT_EQ(std::system(("ffprobe -v error -show_entries "
                         "stream=codec_name,width,height,avg_frame_rate,nb_frames,sample_rate,"
                         "channels:format=duration -of default=noprint_wrappers=1 " +
                         Quote(first.string()) + " >" + Quote(probe.string()))
                            .c_str()),
            0);
  const std::string info = ReadFile(probe);
  for (const char* field : {"codec_name=h264", "width=800", "height=600", "avg_frame_rate=60/1",
                            "nb_frames=90", "codec_name=aac", "sample_rate=44100", "channels=2"}) {
    EXPECT_NE(info.find(field), std::string::npos) << field << " not in\n" << info;
  }
  const std::size_t at = info.find("duration=");
  ASSERT_NE(at, std::string::npos) << info;
  EXPECT_NEAR(std::stod(info.substr(at + 9)), kVideoFrames / 60.0, 0.03) << info;

  // The loading second is silent and the music starts with the disk's first drawn frame.
  const fs::path pcm = Scratch("sound.raw");
  ASSERT_EQ(std::system(("ffmpeg -v error -i " + Quote(first.string()) +
                         " -f s16le -ac 2 -ar 44100 " + Quote(pcm.string()))
                            .c_str()),
            0);
  const std::vector<int> peak = PeakPerFrame(ReadFile(pcm));
  ASSERT_GE(peak.size(), static_cast<std::size_t>(kVideoFrames));
  // Lossy coding smears a frame or so around the start: look a frame away from it.
  for (int f = 1; f < kLoadingFrames - 1; ++f) EXPECT_LT(peak[f - 1], 100) << "frame " << f;
  for (int f = kLoadingFrames + 2; f <= kVideoFrames; ++f) {
    EXPECT_GT(peak[f - 1], 1000) << "frame " << f;
  }
}

}  // namespace
