// The capture tool's command line and key scripts.
#include "tools/capture/capture_options.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "media/platform/key_codes.h"

namespace capture {
namespace {

using Status = ParseResult::Status;

TEST(CaptureOptions, ReadsLengthKeysAndOutput) {
  ParseResult r = ParseCaptureArguments(
      {"--seconds", "2.5", "--key", "120 F2", "--key", "30:c", "-q", "clip.MP4"});
  ASSERT_EQ(r.status, Status::kRun) << r.error;
  EXPECT_EQ(r.options.frames, 150);
  EXPECT_EQ(r.options.keys,
            (std::vector<ScriptedKey>{{120, media::kKeyF1 + 1}, {30, media::kKeyC}}));
  EXPECT_EQ(r.options.output, "clip.MP4");
  EXPECT_EQ(r.options.outputKind, OutputKind::kMp4);
  EXPECT_TRUE(r.options.quiet);

  r = ParseCaptureArguments({"-o", "frames.mp4.d", "--frames", "90"});
  ASSERT_EQ(r.status, Status::kRun) << r.error;
  EXPECT_EQ(r.options.frames, 90);
  EXPECT_EQ(r.options.outputKind, OutputKind::kFolder);
  EXPECT_FALSE(r.options.quiet);
  EXPECT_TRUE(r.options.keys.empty());

  // A fraction of a frame rounds to the nearest frame.
  r = ParseCaptureArguments({"--seconds", "0.02", "out"});
  ASSERT_EQ(r.status, Status::kRun) << r.error;
  EXPECT_EQ(r.options.frames, 1);

  EXPECT_EQ(ParseCaptureArguments({"--frames", "x", "--help"}).status, Status::kBadArguments);
  EXPECT_EQ(ParseCaptureArguments({"--frames", "5", "--help", "out"}).status, Status::kHelp);
}

TEST(CaptureOptions, KeyScriptFileHasOnePressPerLineAndNamesBadLines) {
  const std::filesystem::path path =
      std::filesystem::temp_directory_path() /
      ("capture_options_test_keys_" + std::to_string(getpid()) + ".txt");
  {
    std::ofstream script(path);
    script << "# the second track, then the credits\n\n  120 F2\r\n300\tC\n400 space\n";
  }
  ParseResult r = ParseCaptureArguments({"--frames", "400", "--keys", path.string(), "out"});
  ASSERT_EQ(r.status, Status::kRun) << r.error;
  EXPECT_EQ(r.options.keys,
            (std::vector<ScriptedKey>{
                {120, media::kKeyF1 + 1}, {300, media::kKeyC}, {400, media::kKeySpace}}));

  std::vector<ScriptedKey> keys;
  std::string error;
  EXPECT_FALSE(ParseKeyScript("10 M\n\n20 Q\n", "keys.txt", keys, error));
  EXPECT_EQ(error.rfind("keys.txt:3: 'Q'", 0), 0u) << error;
  for (const char* bad : {"0 M", "-5 M", "M 10", "10", "ten M", "10 M M", "10 Esc"}) {
    keys.clear();
    EXPECT_FALSE(ParseKeyScript(bad, "s", keys, error)) << bad;
  }
  std::filesystem::remove(path);
}

TEST(CaptureOptions, KeyNamesAreTheKeysTheDiskReactsTo) {
  for (int n = 1; n <= 9; ++n) {
    const char upper[] = {'F', static_cast<char>('0' + n), '\0'};
    const char lower[] = {'f', static_cast<char>('0' + n), '\0'};
    EXPECT_EQ(KeyCodeForName(upper), media::kKeyF1 + n - 1);
    EXPECT_EQ(KeyCodeForName(lower), media::kKeyF1 + n - 1);
  }
  EXPECT_EQ(KeyCodeForName("M"), media::kKeyM);
  EXPECT_EQ(KeyCodeForName("g"), media::kKeyG);
  EXPECT_EQ(KeyCodeForName("I"), media::kKeyI);
  EXPECT_EQ(KeyCodeForName("SPACE"), media::kKeySpace);
  for (const char* other : {"Esc", "Escape", "F10", "F0", "A", "", "Return"}) {
    EXPECT_EQ(KeyCodeForName(other), 0) << other;
  }
}

TEST(CaptureOptions, BadArgumentsSayWhat) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{}, "--frames N or --seconds S"},
      {{"out"}, "--frames N or --seconds S"},
      {{"--frames", "90"}, "where the capture goes"},
      {{"--frames", "0", "out"}, "--frames"},
      {{"--frames", "-3", "out"}, "--frames"},
      {{"--frames", "1.5", "out"}, "--frames"},
      {{"--frames", "12x", "out"}, "--frames"},
      {{"--frames", "1000001", "out"}, "--frames"},
      {{"--frames"}, "needs a value"},
      {{"--seconds", "abc", "out"}, "--seconds"},
      {{"--seconds", "0.001", "out"}, "--seconds"},
      {{"--seconds", "nan", "out"}, "--seconds"},
      {{"--seconds", "inf", "out"}, "--seconds"},
      {{"--frames", "9", "--seconds", "1", "out"}, "once"},
      {{"--frames", "9", "--fps", "30", "out"}, "unknown option '--fps'"},
      {{"--frames", "9", "a", "b"}, "more than one output"},
      {{"--frames", "9", "--key", "10 C", "out"}, "after the last frame"},
      {{"--frames", "9", "--key", "5 Esc", "out"}, "'Esc'"},
      {{"--frames", "9", "--keys", "/nonexistent/keys", "out"}, "can't read"},
  };
  for (const auto& [args, hint] : cases) {
    std::string joined;
    for (const std::string& arg : args) joined += arg + " ";
    const ParseResult r = ParseCaptureArguments(args);
    EXPECT_EQ(r.status, Status::kBadArguments) << joined;
    EXPECT_NE(r.error.find(hint), std::string::npos) << joined << "-> " << r.error;
  }
}

}  // namespace
}  // namespace capture
