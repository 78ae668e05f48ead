// UTF-16 helpers: text on screen and every name the program handles is UTF-16, while the
// file system and the C library speak UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace media {

// Converts UTF-16 to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

// Converts UTF-8 to UTF-16; a malformed sequence becomes U+FFFD.
std::u16string Utf8ToUtf16(std::string_view text);

// Lower-cases the Basic Latin and Latin-1 letters; every other code unit is kept.
std::u16string ToLowerLatin(std::u16string_view text);

}  // namespace media
