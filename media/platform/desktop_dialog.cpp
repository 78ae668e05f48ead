// The question box through the desktop's own dialog helper, zenity: it looks and answers
// like every other program's box on that desktop. It is started without a shell, each
// argument its own string (the text cannot become an option or a command), and its answer
// is read from its exit code.
// Depends on: POSIX (posix_spawn, waitpid).
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "media/platform/question_box.h"
#include "media/resources/utf16.h"

extern char** environ;

namespace media {

namespace {

// zenity lets its caller choose the exit code of each outcome. By default No and Escape
// both give 1, and 1 is also what it exits with when it cannot open the display; codes of
// our own keep the three answers apart from each other and from any failure of zenity's.
constexpr int kExitYes = 20;
constexpr int kExitNo = 21;
constexpr int kExitClosed = 22;  // Escape, the window's close box
constexpr int kExitFailed = 23;

// The extra button's label; zenity writes it to standard output when the button is pressed.
constexpr char kCancelLabel[] = "_Cancel";

bool HasDisplay() {
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY"}) {
    const char* value = std::getenv(name);
    if (value != nullptr && value[0] != '\0') return true;
  }
  return false;
}

// The first executable `name` in PATH's folders, as execvp would find it; empty when none.
// An empty PATH entry (the current folder) is not searched.
std::string FindOnPath(const char* name) {
  const char* path = std::getenv("PATH");
  std::string_view rest = path != nullptr ? path : "/usr/local/bin:/usr/bin:/bin";
  while (!rest.empty()) {
    const std::size_t colon = rest.find(':');
    const std::string_view folder = rest.substr(0, colon);
    if (!folder.empty()) {
      std::string candidate = std::string(folder) + '/' + name;
      if (access(candidate.c_str(), X_OK) == 0) return candidate;
    }
    if (colon == std::string_view::npos) break;
    rest.remove_prefix(colon + 1);
  }
  return {};
}

std::vector<std::string> ZenityArguments(const QuestionBoxRequest& request) {
  // The buttons keep the desktop's own order (Cancel, No, Yes) and Yes is the default; the
  // underscores make Alt+Y, Alt+N and Alt+C answer.
  std::vector<std::string> arguments = {
      "zenity",
      "--question",
      "--no-markup",
      "--modal",
      "--title=" + Utf16ToUtf8(request.caption),
      "--text=" + Utf16ToUtf8(request.text),
      std::string("--icon-name=") +
          (request.serious == 0 ? "dialog-information" : "dialog-warning"),
      "--ok-label=_Yes",
      "--cancel-label=_No",
      std::string("--extra-button=") + kCancelLabel,
  };
  if (request.ownerX11Window != 0) {
    arguments.push_back("--attach=" + std::to_string(request.ownerX11Window));
  }
  return arguments;
}

std::vector<std::string> ZenityEnvironment() {
  std::vector<std::string> environment;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    if (std::strncmp(*entry, "ZENITY_", 7) != 0) environment.emplace_back(*entry);
  }
  for (const std::string& code : {
           "ZENITY_OK=" + std::to_string(kExitYes),
           "ZENITY_CANCEL=" + std::to_string(kExitNo),
           "ZENITY_ESC=" + std::to_string(kExitClosed),
           "ZENITY_EXTRA=" + std::to_string(kExitClosed),
           "ZENITY_ERROR=" + std::to_string(kExitFailed),
           "ZENITY_TIMEOUT=" + std::to_string(kExitFailed),
       }) {
    environment.push_back(code);
  }
  return environment;
}

std::vector<char*> PointersTo(std::vector<std::string>& strings) {
  std::vector<char*> pointers;
  for (std::string& text : strings) pointers.push_back(text.data());
  pointers.push_back(nullptr);
  return pointers;
}

struct ChildResult {
  int status = 0;       // as waitpid gives it
  std::string printed;  // its standard output
};

// Runs `program` with standard input and error on /dev/null (GTK's warnings under a bare X
// server stay out of our error output) and standard output read back; waits for it to end.
// The answer is a button label of a few bytes, far less than a pipe holds.
std::optional<ChildResult> RunAndWait(const std::string& program,
                                      std::vector<std::string> arguments,
                                      std::vector<std::string> environment) {
  int output[2];
  if (pipe2(output, O_CLOEXEC) != 0) return std::nullopt;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  std::vector<char*> argv = PointersTo(arguments);
  std::vector<char*> envp = PointersTo(environment);
  pid_t child = 0;
  const int spawned =
      posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  close(output[1]);
  if (spawned != 0) {
    close(output[0]);
    return std::nullopt;
  }

  // It is waited for first and its output read afterwards: a process it leaves behind (a
  // session bus it started) may hold the pipe open long after it has answered.
  ChildResult result;
  while (waitpid(child, &result.status, 0) < 0) {
    if (errno != EINTR) {
      close(output[0]);
      return std::nullopt;
    }
  }
  fcntl(output[0], F_SETFL, O_NONBLOCK);
  char buffer[256];
  for (;;) {
    const ssize_t got = read(output[0], buffer, sizeof buffer);
    if (got > 0) {
      result.printed.append(buffer, static_cast<std::size_t>(got));
    } else if (got == 0 || errno != EINTR) {
      break;
    }
  }
  close(output[0]);
  return result;
}

// The extra button's label on standard output means Cancel, whatever the exit code (zenity
// versions differ in the code they give it).
bool PressedCancel(const std::string& printed) {
  std::size_t start = 0;
  while (start < printed.size()) {
    const std::size_t end = printed.find('\n', start);
    const std::string line = printed.substr(start, end - start);
    if (line == kCancelLabel || line == kCancelLabel + 1) return true;
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return false;
}

}  // namespace

std::optional<int> AskWithDesktopDialog(const QuestionBoxRequest& request) {
  if (!HasDisplay()) return std::nullopt;
  const std::string zenity = FindOnPath("zenity");
  if (zenity.empty()) return std::nullopt;
  const std::optional<ChildResult> result =
      RunAndWait(zenity, ZenityArguments(request), ZenityEnvironment());
  if (!result) return std::nullopt;
  if (PressedCancel(result->printed)) return kAnswerCancel;
  if (WIFSIGNALED(result->status)) {
    // Ctrl+C in the terminal or the session ending stops the question; a crash does not.
    const int signal = WTERMSIG(result->status);
    if (signal == SIGINT || signal == SIGTERM || signal == SIGHUP) return kAnswerCancel;
    return std::nullopt;
  }
  if (!WIFEXITED(result->status)) return std::nullopt;
  switch (WEXITSTATUS(result->status)) {
    case kExitYes:
      return kAnswerYes;
    case kExitNo:
      return kAnswerNo;
    case kExitClosed:
      return kAnswerCancel;
    default:  // zenity could not show the box: the next box shows instead
      return std::nullopt;
  }
}

}  // namespace media
