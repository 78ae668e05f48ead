#include "tools/capture/mp4_sink.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <system_error>

extern char** environ;

namespace capture {

namespace {

// Starts `args` with its standard input from `inputFd`, or from /dev/null when it is -1.
bool Spawn(const std::vector<std::string>& args, int inputFd, pid_t& pid, std::string& error) {
  std::vector<char*> argv;
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (inputFd >= 0) {
    posix_spawn_file_actions_adddup2(&actions, inputFd, STDIN_FILENO);
  } else {
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  }
  const int failure = posix_spawn(&pid, args[0].c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (failure != 0) {
    error = "can't start " + args[0] + ": " + std::strerror(failure);
    return false;
  }
  return true;
}

// Waits for `pid`; true when it exited with status 0, otherwise says how it ended.
bool Reap(pid_t pid, const std::string& what, std::string& error) {
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) {
      error = "lost track of ffmpeg " + what + ": " + std::strerror(errno);
      return false;
    }
  }
  if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return true;
  error = "ffmpeg failed " + what + " (" +
          (WIFEXITED(status) ? "exit status " + std::to_string(WEXITSTATUS(status))
                             : "ended by signal " + std::to_string(WTERMSIG(status))) +
          ")";
  return false;
}

bool WriteAll(int fd, const std::uint8_t* bytes, std::size_t size) {
  while (size > 0) {
    const ssize_t written = write(fd, bytes, size);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes += written;
    size -= static_cast<std::size_t>(written);
  }
  return true;
}

// Adds the space-separated words of `line` to `args`.
void Append(std::vector<std::string>& args, const std::string& line) {
  std::istringstream words(line);
  for (std::string word; words >> word;) args.push_back(word);
}

// Flags that keep ffmpeg's output free of versions, dates and thread-dependent choices.
constexpr const char* kBitExact =
    "-fflags +bitexact -flags:v +bitexact -flags:a +bitexact -map_metadata -1 -threads 1";

}  // namespace

std::string FindOnPath(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::string_view folders = path != nullptr ? path : "";
  while (true) {
    const std::size_t end = folders.find(':');
    const std::string_view folder = folders.substr(0, end);
    const std::string candidate =
        (std::filesystem::path(folder.empty() ? "." : folder) / name).string();
    struct stat info {};
    if (stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
        access(candidate.c_str(), X_OK) == 0) {
      return candidate;
    }
    if (end == std::string_view::npos) return {};
    folders.remove_prefix(end + 1);
  }
}

Mp4Sink::~Mp4Sink() {
  std::string ignored;
  StopEncoder(ignored);
  std::error_code failure;
  if (!scratch_.empty()) std::filesystem::remove_all(scratch_, failure);
  // A capture that failed leaves no half-made video behind.
  if (createdOutput_ && !finished_) std::filesystem::remove(output_, failure);
}

bool Mp4Sink::Open(std::string& error) {
  ffmpeg_ = FindOnPath("ffmpeg");
  if (ffmpeg_.empty()) {
    error =
        "making an MP4 file needs ffmpeg, which is not installed (or not on the PATH); "
        "name a folder instead to get PNG frames and a WAV file";
    return false;
  }
  // Fail now rather than after a long capture when the video cannot be written.
  if (!std::ofstream(output_, std::ios::binary)) {
    error = "can't write " + output_.string() + ": " + std::strerror(errno);
    return false;
  }
  createdOutput_ = true;
  std::string scratchTemplate =
      (std::filesystem::temp_directory_path() / "musicdisk-capture-XXXXXX").string();
  if (mkdtemp(scratchTemplate.data()) == nullptr) {
    error = "can't make a scratch folder in " + std::filesystem::temp_directory_path().string() +
            ": " + std::strerror(errno);
    return false;
  }
  scratch_ = scratchTemplate;
  if (!audio_.Open((scratch_ / "audio.wav").string(), kSampleRate, error)) return false;

  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) {
    error = std::string("can't make a pipe to ffmpeg: ") + std::strerror(errno);
    return false;
  }
  const std::string size = std::to_string(kPictureWidth) + "x" + std::to_string(kPictureHeight);
  std::vector<std::string> args = {ffmpeg_};
  Append(args, "-hide_banner -nostdin -loglevel error -f rawvideo -pixel_format rgb24");
  Append(args, "-video_size " + size + " -framerate " + std::to_string(kFramesPerSecond));
  Append(args, "-i pipe:0 -c:v libx264 -preset fast -crf 18 -pix_fmt yuv420p");
  Append(args, kBitExact);
  args.insert(args.end(), {"-y", (scratch_ / "video.mp4").string()});
  const bool started = Spawn(args, fds[0], encoder_, error);
  close(fds[0]);
  if (!started) {
    close(fds[1]);
    encoder_ = -1;
    return false;
  }
  pictures_ = fds[1];
  return true;
}

bool Mp4Sink::WriteFrame(std::int64_t /*frame*/, const std::uint8_t* rgb,
                         const std::int16_t* samples, std::string& error) {
  if (!WriteAll(pictures_, rgb, static_cast<std::size_t>(kPictureWidth) * kPictureHeight * 3)) {
    error = std::string("ffmpeg stopped taking pictures: ") + std::strerror(errno);
    std::string why;
    if (!StopEncoder(why)) error += "; " + why;
    return false;
  }
  return audio_.Append(samples, kSamplesPerFrame, error);
}

bool Mp4Sink::StopEncoder(std::string& error) {
  if (pictures_ >= 0) close(pictures_);
  pictures_ = -1;
  if (encoder_ < 0) return true;
  const pid_t encoder = encoder_;
  encoder_ = -1;
  return Reap(encoder, "encoding the video", error);
}

bool Mp4Sink::Finish(std::string& error) {
  if (!StopEncoder(error) || !audio_.Close(error)) return false;
  std::vector<std::string> args = {ffmpeg_};
  Append(args, "-hide_banner -nostdin -loglevel error");
  args.insert(args.end(), {"-i", (scratch_ / "video.mp4").string()});
  args.insert(args.end(), {"-i", (scratch_ / "audio.wav").string()});
  Append(args, "-map 0:v:0 -map 1:a:0 -c:v copy -c:a aac -b:a 192k");
  Append(args, kBitExact);
  // A name starting with '-' would read as an option.
  const std::string output =
      output_.string().front() == '-' ? "./" + output_.string() : output_.string();
  args.insert(args.end(), {"-movflags", "+faststart", "-f", "mp4", "-y", output});
  pid_t muxer = -1;
  if (!Spawn(args, -1, muxer, error) || !Reap(muxer, "adding the sound", error)) return false;
  finished_ = true;
  return true;
}

}  // namespace capture
