// musicdisk-capture: records the music disk frame by frame, with its sound, on an exact
// 60 frames-per-second clock. See UsageText (--help) for the command line.
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "tools/capture/capture_options.h"
#include "tools/capture/capture_session.h"
#include "tools/capture/frame_sink.h"

namespace {

constexpr int kExitWriteFailed = 1;
constexpr int kExitBadArguments = 2;

}  // namespace

int main(int argc, char** argv) {
  const capture::ParseResult parsed =
      capture::ParseCaptureArguments(std::vector<std::string>(argv + 1, argv + argc));
  if (parsed.status == capture::ParseResult::Status::kHelp) {
    std::fputs(capture::UsageText().c_str(), stdout);
    return 0;
  }
  if (parsed.status == capture::ParseResult::Status::kBadArguments) {
    std::fprintf(stderr, "musicdisk-capture: %s\n\n%s", parsed.error.c_str(),
                 capture::UsageText().c_str());
    return kExitBadArguments;
  }
  // A video encoder that dies shows up as a failed write, not as a signal that ends us.
  std::signal(SIGPIPE, SIG_IGN);

  const capture::CaptureOptions& options = parsed.options;
  std::unique_ptr<capture::FrameSink> sink = capture::MakeFrameSink(options);
  std::string error;
  const bool showProgress = !options.quiet && isatty(STDERR_FILENO) != 0;
  if (!sink->Open(error) || !capture::RunCapture(options, *sink, showProgress, error)) {
    std::fprintf(stderr, "%smusicdisk-capture: %s\n", showProgress ? "\n" : "", error.c_str());
    return kExitWriteFailed;
  }
  return 0;
}
