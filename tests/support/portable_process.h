// What tests need from their own process on Linux and Windows alike: environment variables
// (which SDL reads when a subsystem starts), the process id for unique file names, the
// resident memory size, and a video driver for GL without a visible display.
#pragma once

#include <cstdio>
#include <cstdlib>

#if defined(_WIN32)
#include <process.h>
#ifndef NOMINMAX
#define NOMINMAX  // std::min and std::max stay usable
#endif
#include <windows.h>
// After windows.h, whose types it uses.
#include <psapi.h>
#else
#include <unistd.h>
#endif

namespace test_support {

// The SDL video driver that gives a GL context without showing anything.
#if defined(_WIN32)
inline constexpr const char* kHiddenGLVideoDriver = "windows";
#else
inline constexpr const char* kHiddenGLVideoDriver = "offscreen";
#endif

inline void SetEnv(const char* name, const char* value) {
#if defined(_WIN32)
  // Both copies: the C runtime's (getenv) and the process's own (GetEnvironmentVariable).
  _putenv_s(name, value);
  SetEnvironmentVariableA(name, value);
#else
  setenv(name, value, 1);
#endif
}

inline void UnsetEnv(const char* name) {
#if defined(_WIN32)
  _putenv_s(name, "");  // an empty value removes the variable from the C runtime's copy
  SetEnvironmentVariableA(name, nullptr);
#else
  unsetenv(name);
#endif
}

inline long ProcessId() {
#if defined(_WIN32)
  return _getpid();
#else
  return static_cast<long>(getpid());
#endif
}

// Resident memory of this process in bytes; 0 when it cannot be read.
inline long ResidentBytes() {
#if defined(_WIN32)
  PROCESS_MEMORY_COUNTERS counters{};
  if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return 0;
  return static_cast<long>(counters.WorkingSetSize);
#else
  long pages = 0, resident = 0;
  if (std::FILE* f = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(f);
  }
  return resident * sysconf(_SC_PAGESIZE);
#endif
}

}  // namespace test_support
