#include "musicgen/pattern_notation.h"

#include <cctype>
#include <charconv>
#include <stdexcept>
#include <string>
#include <vector>

namespace musicgen {

namespace {

// Bar lines separate like spaces, so "... |" "next bar" string pieces join cleanly.
bool isSeparator(char c) {
  return c == '|' || std::isspace(static_cast<unsigned char>(c));
}

std::vector<std::string_view> splitTokens(std::string_view text) {
  std::vector<std::string_view> tokens;
  std::size_t at = 0;
  while (at < text.size()) {
    while (at < text.size() && isSeparator(text[at])) ++at;
    std::size_t end = at;
    while (end < text.size() && !isSeparator(text[end])) ++end;
    if (end > at) tokens.push_back(text.substr(at, end - at));
    at = end;
  }
  return tokens;
}

[[noreturn]] void fail(const std::string& pattern, std::string_view token, const char* why) {
  throw std::invalid_argument("pattern '" + pattern + "': token '" + std::string(token) + "' " +
                              why);
}

int parseInt(const std::string& pattern, std::string_view token, std::string_view digits) {
  int value = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (error != std::errc() || end != digits.data() + digits.size() || digits.empty())
    fail(pattern, token, "is not a note");
  return value;
}

float parseRate(const std::string& pattern, std::string_view token, std::string_view digits) {
  // Rates are small decimals like "2", "0.5" or "1.5"; written without exponents.
  float value = 0.0f;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (error != std::errc() || end != digits.data() + digits.size() || !(value > 0.0f))
    fail(pattern, token, "has a bad LFO rate");
  return value;
}

}  // namespace

Pattern melody(std::string name, std::string_view text, float velocity) {
  Pattern pattern{std::move(name), 0, {}};
  std::size_t chordStart = 0;  // index in notes of the chord a '-' extends
  bool sounding = false;
  for (std::string_view token : splitTokens(text)) {
    const int step = pattern.steps++;
    if (token == ".") {
      sounding = false;
    } else if (token == "-") {
      if (!sounding) fail(pattern.name, token, "holds nothing");
      for (std::size_t i = chordStart; i < pattern.notes.size(); ++i) ++pattern.notes[i].length;
    } else {
      std::string_view pitches = token;
      const bool glide = pitches.starts_with('~');
      if (glide) pitches.remove_prefix(1);
      float rate = 0.0f;
      if (const auto at = pitches.find('@'); at != std::string_view::npos) {
        rate = parseRate(pattern.name, token, pitches.substr(at + 1));
        pitches = pitches.substr(0, at);
      }
      const bool accent = pitches.ends_with('!');
      if (accent) pitches.remove_suffix(1);
      chordStart = pattern.notes.size();
      std::size_t from = 0;
      while (from <= pitches.size()) {
        std::size_t plus = pitches.find('+', from);
        if (plus == std::string_view::npos) plus = pitches.size();
        const int pitch = parseInt(pattern.name, token, pitches.substr(from, plus - from));
        pattern.notes.push_back({step, 1, pitch, accent ? 1.0f : velocity, rate, glide, accent});
        from = plus + 1;
      }
      sounding = true;
    }
  }
  if (pattern.steps == 0) throw std::invalid_argument("pattern '" + pattern.name + "' is empty");
  return pattern;
}

Pattern rhythm(std::string name, std::string_view text) {
  Pattern pattern{std::move(name), 0, {}};
  for (char c : text) {
    float velocity = 0.0f;
    switch (c) {
      case ' ':
      case '|':
        continue;
      case '.':
        break;
      case 'X':
        velocity = 1.0f;
        break;
      case 'x':
        velocity = 0.8f;
        break;
      case 'o':
        velocity = 0.45f;
        break;
      default:
        fail(pattern.name, std::string_view(&c, 1), "is not a hit");
    }
    if (velocity > 0.0f) pattern.notes.push_back({pattern.steps, 1, 0, velocity, 0.0f});
    ++pattern.steps;
  }
  if (pattern.steps == 0) throw std::invalid_argument("pattern '" + pattern.name + "' is empty");
  return pattern;
}

Pattern comping(std::string name, const std::vector<std::string_view>& chords,
                std::string_view rhythm) {
  std::string text;
  for (std::string_view chord : chords) {
    for (char c : rhythm) {
      switch (c) {
        case ' ':
        case '|':
          continue;
        case 'x':
          text.append(chord);
          break;
        case '-':
          text.push_back('-');
          break;
        case '.':
          text.push_back('.');
          break;
        default:
          fail(name, std::string_view(&c, 1), "is not a comping step");
      }
      text.push_back(' ');
    }
  }
  return melody(std::move(name), text);
}

}  // namespace musicgen
