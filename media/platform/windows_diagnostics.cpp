#include "media/platform/windows_diagnostics.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstdio>
#include <string>

#include "media/resources/utf16.h"

namespace media {

void WriteWindowsDiagnostic(std::u16string_view message) {
  std::wstring line(message.begin(), message.end());
  line += L"\n";
  OutputDebugStringW(line.c_str());
  std::fprintf(stderr, "%s\n", Utf16ToUtf8(message).c_str());
  std::fflush(stderr);
}

}  // namespace media
