// 16-bit PCM stereo WAV output, the form the MP3 and Ogg encoders take in.
// Depends on: audio_buffer.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

#include "musicgen/audio_buffer.h"

namespace musicgen {

// The whole file: RIFF/WAVE header, "fmt " and "data" chunks, samples rounded to the
// nearest step and clamped to the 16-bit range.
std::vector<std::uint8_t> encodeWav16(const StereoBuffer& buffer, int sampleRate);

// Throws std::runtime_error if the file cannot be written.
void writeWav16(const std::filesystem::path& path, const StereoBuffer& buffer, int sampleRate);

}  // namespace musicgen
