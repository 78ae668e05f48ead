#include "musicgen/id3v22.h"

#include <stdexcept>

namespace musicgen {

namespace {

constexpr std::uint8_t kLatin1Encoding = 0;
constexpr std::uint8_t kFlagUnsynchronised = 0x80;

void appendTextFrame(std::vector<std::uint8_t>& out, std::string_view id,
                     const std::string& latin1) {
  const std::size_t size = 1 + latin1.size();  // encoding byte, then the text
  if (size > 0xFFFFFF) throw std::invalid_argument("ID3v2.2 text too long");
  out.insert(out.end(), id.begin(), id.end());
  out.push_back(static_cast<std::uint8_t>(size >> 16));
  out.push_back(static_cast<std::uint8_t>(size >> 8));
  out.push_back(static_cast<std::uint8_t>(size));
  out.push_back(kLatin1Encoding);
  out.insert(out.end(), latin1.begin(), latin1.end());
}

// After every 0xFF that precedes 0x00 or a byte >= 0xE0, and after a final 0xFF (the
// audio's own 0xFF sync byte follows the tag), insert a 0x00; readers drop it again.
std::vector<std::uint8_t> unsynchronise(const std::vector<std::uint8_t>& in) {
  std::vector<std::uint8_t> out;
  out.reserve(in.size() + 8);
  for (std::size_t i = 0; i < in.size(); ++i) {
    out.push_back(in[i]);
    if (in[i] == 0xFF && (i + 1 == in.size() || in[i + 1] == 0x00 || in[i + 1] >= 0xE0))
      out.push_back(0x00);
  }
  return out;
}

bool needsUnsynchronisation(const std::vector<std::uint8_t>& frames) {
  return unsynchronise(frames).size() != frames.size();
}

}  // namespace

std::string utf8ToLatin1(std::string_view utf8) {
  std::string out;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    if (lead < 0x80) {
      out.push_back(static_cast<char>(lead));
      continue;
    }
    // ISO-8859-1 ends at U+00FF, whose UTF-8 forms all start with 0xC2 or 0xC3.
    if ((lead & 0xE0) != 0xC0 || i + 1 >= utf8.size())
      throw std::invalid_argument("text is not ISO-8859-1 representable UTF-8");
    const auto trail = static_cast<unsigned char>(utf8[++i]);
    if ((trail & 0xC0) != 0x80) throw std::invalid_argument("malformed UTF-8");
    const unsigned code = ((lead & 0x1Fu) << 6) | (trail & 0x3Fu);
    if (code < 0x80) throw std::invalid_argument("overlong UTF-8");
    if (code > 0xFF) throw std::invalid_argument("text is not ISO-8859-1 representable UTF-8");
    out.push_back(static_cast<char>(code));
  }
  return out;
}

std::array<std::uint8_t, 4> syncsafe(std::uint32_t value) {
  if (value >= (1u << 28)) throw std::invalid_argument("ID3 size too large");
  return {static_cast<std::uint8_t>((value >> 21) & 0x7F),
          static_cast<std::uint8_t>((value >> 14) & 0x7F),
          static_cast<std::uint8_t>((value >> 7) & 0x7F), static_cast<std::uint8_t>(value & 0x7F)};
}

std::vector<std::uint8_t> buildId3v22Tag(std::string_view titleUtf8, std::string_view artistUtf8) {
  std::vector<std::uint8_t> frames;
  appendTextFrame(frames, "TT2", utf8ToLatin1(titleUtf8));
  appendTextFrame(frames, "TP1", utf8ToLatin1(artistUtf8));
  std::uint8_t flags = 0;
  if (needsUnsynchronisation(frames)) {
    frames = unsynchronise(frames);
    flags |= kFlagUnsynchronised;
  }
  std::vector<std::uint8_t> tag;
  tag.reserve(10 + frames.size());
  for (std::uint8_t b : {std::uint8_t{'I'}, std::uint8_t{'D'}, std::uint8_t{'3'}}) tag.push_back(b);
  tag.push_back(2);  // version 2.2, revision 0
  tag.push_back(0);
  tag.push_back(flags);
  for (std::uint8_t b : syncsafe(static_cast<std::uint32_t>(frames.size()))) tag.push_back(b);
  tag.insert(tag.end(), frames.begin(), frames.end());
  return tag;
}

bool hasId3v2Tag(std::span<const std::uint8_t> data) {
  return data.size() >= 10 && data[0] == 'I' && data[1] == 'D' && data[2] == '3';
}

}  // namespace musicgen
