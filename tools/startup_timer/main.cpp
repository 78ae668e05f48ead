// startup-timer: how long a person waits for the disk, seen from the X server. It starts the
// program, and prints, one line each as they happen:
//   "pid N"        the program's process
//   "box MS"       from the start to the first drawn picture in the first window it maps
//                  (the question box): a window counts as drawn once its pixels are not all
//                  one colour, so the background the server paints on mapping does not count
//   "answered"     after ANSWER_MS more, N was typed into the box through the X server (XTest)
//   "frame MS"     from that key reaching the server to the first drawn picture in the next
//                  window the program maps (its display)
//   "peak_rss_kib N" once the program has ended (whoever measures more ends it meanwhile)
// and exits with the program's status.
//   startup-timer [--answer-after MS] PROGRAM [ARGUMENT...]
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xdamage.h>
#include <X11/keysym.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Windows go away under us (the box closes while it is looked at): those errors are expected.
int IgnoreError(Display*, XErrorEvent*) {
  return 0;
}

// True when the window's pixels are not all the same: something was drawn into it. Sixteen
// rows across the window are read, not all of it: a whole 800x600 picture each time would
// keep the X server busy while the program presents, and delay what is measured.
bool Drawn(Display* display, Window window) {
  XWindowAttributes attributes;
  if (XGetWindowAttributes(display, window, &attributes) == 0) return false;
  constexpr int kRows = 16;
  const auto width = static_cast<unsigned>(attributes.width);
  std::vector<char> first;
  bool drawn = false;
  for (int row = 0; row < kRows && !drawn; ++row) {
    const int y = attributes.height * (2 * row + 1) / (2 * kRows);
    XImage* image = XGetImage(display, window, 0, y, width, 1, AllPlanes, ZPixmap);
    if (image == nullptr) return false;
    const int pixelBytes = image->bits_per_pixel / 8;
    const char* const pixels = image->data;
    if (first.empty()) first.assign(pixels, pixels + pixelBytes);
    for (int x = 0; x < image->width && !drawn && pixelBytes > 0; ++x) {
      drawn = std::memcmp(first.data(), pixels + x * pixelBytes, first.size()) != 0;
    }
    XDestroyImage(image);
  }
  return drawn;
}

void TypeKey(Display* display, Window window, KeySym keysym) {
  XSetInputFocus(display, window, RevertToPointerRoot, CurrentTime);
  const KeyCode code = XKeysymToKeycode(display, keysym);
  XTestFakeKeyEvent(display, code, True, CurrentTime);
  XTestFakeKeyEvent(display, code, False, CurrentTime);
  XSync(display, False);
}

// Waits up to `milliseconds` for the next X event; false when none came.
bool NextEvent(Display* display, XEvent& event, int milliseconds) {
  if (XPending(display) == 0) {
    pollfd connection{ConnectionNumber(display), POLLIN, 0};
    if (poll(&connection, 1, milliseconds) <= 0) return false;
  }
  XNextEvent(display, &event);
  return true;
}

int Usage() {
  std::fprintf(stderr, "usage: startup-timer [--answer-after MS] PROGRAM [ARGUMENT...]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  int first = 1;
  int answerAfter = 500;  // nobody reads a question and answers it sooner
  if (argc > 2 && std::strcmp(argv[1], "--answer-after") == 0) {
    answerAfter = std::atoi(argv[2]);
    first = 3;
  }
  if (first >= argc) return Usage();

  Display* display = XOpenDisplay(nullptr);
  int damageEvent = 0;
  int damageError = 0;
  int xtest[4];
  if (display == nullptr || !XDamageQueryExtension(display, &damageEvent, &damageError) ||
      !XTestQueryExtension(display, &xtest[0], &xtest[1], &xtest[2], &xtest[3])) {
    std::fprintf(stderr, "startup-timer: needs an X server with DAMAGE and XTEST\n");
    return 2;
  }
  XSetErrorHandler(IgnoreError);
  XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
  XSync(display, False);

  const Clock::time_point start = Clock::now();
  const pid_t pid = fork();
  if (pid == 0) {
    close(ConnectionNumber(display));
    execvp(argv[first], argv + first);
    _exit(127);
  }
  std::printf("pid %d\n", static_cast<int>(pid));
  std::fflush(stdout);

  // The box first, then the display: each the window that was mapped while waiting for it.
  enum class Waiting { kBox, kDisplay, kNothing } waiting = Waiting::kBox;
  Window watched = 0;
  Damage damage = 0;
  double answeredAt = 0.0;
  int status = 0;
  rusage usage{};
  bool ended = false;
  const Clock::time_point giveUp = Clock::now() + std::chrono::seconds(60);
  while (waiting != Waiting::kNothing && Clock::now() < giveUp) {
    XEvent event;
    if (!NextEvent(display, event, 100)) {
      ended = wait4(pid, &status, WNOHANG, &usage) == pid;
      if (ended) break;
      continue;
    }
    const double seen = MillisecondsSince(start);
    bool check = false;
    if (event.type == MapNotify && event.xmap.window != watched) {
      if (damage != 0) XDamageDestroy(display, damage);
      watched = event.xmap.window;
      damage = XDamageCreate(display, watched, XDamageReportNonEmpty);
      XSync(display, False);
      check = true;  // it may have drawn before the damage was watched
    } else if (event.type == damageEvent + XDamageNotify &&
               reinterpret_cast<XDamageNotifyEvent&>(event).drawable == watched) {
      XDamageSubtract(display, damage, None, None);
      check = true;
    }
    if (!check || !Drawn(display, watched)) continue;
    if (waiting == Waiting::kBox) {
      std::printf("box %.1f\n", seen);
      std::fflush(stdout);
      usleep(static_cast<useconds_t>(answerAfter) * 1000);
      TypeKey(display, watched, XK_n);
      answeredAt = MillisecondsSince(start);
      std::printf("answered\n");
      waiting = Waiting::kDisplay;
      XDamageDestroy(display, damage);  // the box may draw once more as it goes
      damage = 0;
      watched = 0;
    } else {
      std::printf("frame %.1f\n", seen - answeredAt);
      waiting = Waiting::kNothing;
    }
    std::fflush(stdout);
  }
  XCloseDisplay(display);
  if (waiting != Waiting::kNothing) {
    std::fprintf(stderr, "startup-timer: the program showed no %s\n",
                 waiting == Waiting::kBox ? "question box" : "display after the answer");
    if (!ended) kill(pid, SIGTERM);
  }
  if (!ended && wait4(pid, &status, 0, &usage) != pid) return 2;
  std::printf("peak_rss_kib %ld\n", usage.ru_maxrss);
  if (waiting != Waiting::kNothing) return 1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}
