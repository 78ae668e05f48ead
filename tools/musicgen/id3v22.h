// ID3 version 2.2 tags: the three-letter-frame generation of ID3v2 that current encoders
// no longer write. A tag carries the title (TT2) and artist (TP1) as ISO-8859-1 text and
// is put in front of an untagged MP3.
// Depends on: nothing.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace musicgen {

// UTF-8 to ISO-8859-1. Throws std::invalid_argument for malformed UTF-8 or a character
// that ISO-8859-1 cannot hold.
std::string utf8ToLatin1(std::string_view utf8);

// The four-byte "syncsafe" size: seven bits per byte, so no byte can look like MPEG sync.
std::array<std::uint8_t, 4> syncsafe(std::uint32_t value);

// A complete tag: header, then TT2 and TP1 frames. Title and artist are UTF-8. If the
// frames contain a byte pattern an MPEG decoder could take for frame sync, the tag is
// unsynchronised and says so in its header flags.
std::vector<std::uint8_t> buildId3v22Tag(std::string_view titleUtf8, std::string_view artistUtf8);

// True if the data starts with any ID3v2 tag.
bool hasId3v2Tag(std::span<const std::uint8_t> data);

}  // namespace musicgen
