#include "musicgen/wav_writer.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <stdexcept>
#include <string_view>

namespace musicgen {

namespace {

void putTag(std::vector<std::uint8_t>& out, std::string_view tag) {
  for (char c : tag) out.push_back(static_cast<std::uint8_t>(c));
}

void putLe(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

std::int16_t toPcm16(float sample) {
  const double scaled = std::round(static_cast<double>(sample) * 32767.0);
  return static_cast<std::int16_t>(std::clamp(scaled, -32768.0, 32767.0));
}

}  // namespace

std::vector<std::uint8_t> encodeWav16(const StereoBuffer& buffer, int sampleRate) {
  constexpr std::uint32_t kChannels = 2;
  constexpr std::uint32_t kBytesPerFrame = kChannels * 2;
  const auto dataBytes = static_cast<std::uint32_t>(buffer.frames() * kBytesPerFrame);
  std::vector<std::uint8_t> out;
  out.reserve(44 + dataBytes);
  putTag(out, "RIFF");
  putLe(out, 36 + dataBytes, 4);
  putTag(out, "WAVE");
  putTag(out, "fmt ");
  putLe(out, 16, 4);  // chunk size
  putLe(out, 1, 2);   // PCM
  putLe(out, kChannels, 2);
  putLe(out, static_cast<std::uint32_t>(sampleRate), 4);
  putLe(out, static_cast<std::uint32_t>(sampleRate) * kBytesPerFrame, 4);
  putLe(out, kBytesPerFrame, 2);
  putLe(out, 16, 2);  // bits per sample
  putTag(out, "data");
  putLe(out, dataBytes, 4);
  for (std::size_t i = 0; i < buffer.frames(); ++i) {
    putLe(out, static_cast<std::uint16_t>(toPcm16(buffer.left[i])), 2);
    putLe(out, static_cast<std::uint16_t>(toPcm16(buffer.right[i])), 2);
  }
  return out;
}

void writeWav16(const std::filesystem::path& path, const StereoBuffer& buffer, int sampleRate) {
  const std::vector<std::uint8_t> bytes = encodeWav16(buffer, sampleRate);
  std::ofstream file(path, std::ios::binary);
  file.write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  if (!file) throw std::runtime_error("cannot write " + path.string());
}

}  // namespace musicgen
