#include "media/platform/key_codes.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <utility>
#include <vector>

namespace media {
namespace {

struct Expected {
  SDL_Scancode scancode;
  int key;
};

// Every key of a 105-key keyboard with its key code, written out number by number.
const std::vector<Expected>& StandardKeyboard() {
  // clang-format off
#define K(name, code) {SDL_SCANCODE_##name, code}
  static const std::vector<Expected> keys = {
      K(ESCAPE, 27), K(F1, 112), K(F2, 113), K(F3, 114), K(F4, 115), K(F5, 116), K(F6, 117),
      K(F7, 118), K(F8, 119), K(F9, 120), K(F10, 121), K(F11, 122), K(F12, 123), K(PRINTSCREEN, 44),
      K(SCROLLLOCK, 145), K(PAUSE, 19), K(GRAVE, 192), K(1, 49), K(2, 50), K(3, 51), K(4, 52),
      K(5, 53), K(6, 54), K(7, 55), K(8, 56), K(9, 57), K(0, 48), K(MINUS, 189), K(EQUALS, 187),
      K(BACKSPACE, 8), K(TAB, 9), K(Q, 81), K(W, 87), K(E, 69), K(R, 82), K(T, 84), K(Y, 89),
      K(U, 85), K(I, 73), K(O, 79), K(P, 80), K(LEFTBRACKET, 219), K(RIGHTBRACKET, 221),
      K(BACKSLASH, 220), K(CAPSLOCK, 20), K(A, 65), K(S, 83), K(D, 68), K(F, 70), K(G, 71),
      K(H, 72), K(J, 74), K(K, 75), K(L, 76), K(SEMICOLON, 186), K(APOSTROPHE, 222),
      K(NONUSHASH, 220), K(RETURN, 13), K(LSHIFT, 160), K(NONUSBACKSLASH, 226), K(Z, 90), K(X, 88),
      K(C, 67), K(V, 86), K(B, 66), K(N, 78), K(M, 77), K(COMMA, 188), K(PERIOD, 190),
      K(SLASH, 191), K(RSHIFT, 161), K(LCTRL, 162), K(LGUI, 91), K(LALT, 164), K(SPACE, 32),
      K(RALT, 165), K(RGUI, 92), K(APPLICATION, 93), K(RCTRL, 163), K(INSERT, 45), K(HOME, 36),
      K(PAGEUP, 33), K(DELETE, 46), K(END, 35), K(PAGEDOWN, 34), K(UP, 38), K(LEFT, 37),
      K(DOWN, 40), K(RIGHT, 39), K(NUMLOCKCLEAR, 144), K(KP_DIVIDE, 111), K(KP_MULTIPLY, 106),
      K(KP_MINUS, 109), K(KP_7, 103), K(KP_8, 104), K(KP_9, 105), K(KP_PLUS, 107), K(KP_4, 100),
      K(KP_5, 101), K(KP_6, 102), K(KP_1, 97), K(KP_2, 98), K(KP_3, 99), K(KP_ENTER, 13),
      K(KP_0, 96), K(KP_PERIOD, 110),
  };
  // clang-format on
#undef K
  return keys;
}

TEST(KeyCodes, EveryKeyOfTheStandardKeyboardHasItsCode) {
  // 104 keys of the US keyboard, the ISO 102nd key and the ISO key beside Return.
  EXPECT_EQ(StandardKeyboard().size(), 106u);
  for (const Expected& key : StandardKeyboard()) {
    EXPECT_EQ(KeyCodeFromScancode(key.scancode), key.key) << SDL_GetScancodeName(key.scancode);
  }
}

TEST(KeyCodes, FunctionKeysF13ToF24FollowF12) {
  const SDL_Scancode extended[] = {SDL_SCANCODE_F13, SDL_SCANCODE_F14, SDL_SCANCODE_F15,
                                   SDL_SCANCODE_F16, SDL_SCANCODE_F17, SDL_SCANCODE_F18,
                                   SDL_SCANCODE_F19, SDL_SCANCODE_F20, SDL_SCANCODE_F21,
                                   SDL_SCANCODE_F22, SDL_SCANCODE_F23, SDL_SCANCODE_F24};
  int expected = 124;
  for (const SDL_Scancode scancode : extended) {
    EXPECT_EQ(KeyCodeFromScancode(scancode), expected++) << SDL_GetScancodeName(scancode);
  }
}

TEST(KeyCodes, OnlyTheTwinKeysShareACode) {
  // Both Enters are Return, and the ISO key beside Return is the US backslash.
  const std::set<std::pair<int, int>> twins = {
      {SDL_SCANCODE_RETURN, SDL_SCANCODE_KP_ENTER},
      {SDL_SCANCODE_BACKSLASH, SDL_SCANCODE_NONUSHASH},
      {SDL_SCANCODE_MUTE, SDL_SCANCODE_AUDIOMUTE},
  };
  std::map<int, int> firstScancodeOfKey;
  for (int scancode = 0; scancode < SDL_NUM_SCANCODES; ++scancode) {
    const int key = KeyCodeFromScancode(scancode);
    if (key == 0) continue;
    const auto [it, isNew] = firstScancodeOfKey.emplace(key, scancode);
    if (!isNew) {
      EXPECT_TRUE(twins.count({it->second, scancode}) == 1)
          << SDL_GetScancodeName(static_cast<SDL_Scancode>(it->second)) << " and "
          << SDL_GetScancodeName(static_cast<SDL_Scancode>(scancode)) << " share " << key;
    }
  }
}

TEST(KeyCodes, EveryCodeIsAUsableKeyAndUnknownScancodesHaveNone) {
  for (int scancode = 0; scancode < SDL_NUM_SCANCODES; ++scancode) {
    const int key = KeyCodeFromScancode(scancode);
    EXPECT_TRUE(key == 0 || (key >= 1 && key <= 255)) << scancode;
  }
  EXPECT_EQ(KeyCodeFromScancode(SDL_SCANCODE_UNKNOWN), 0);
  EXPECT_EQ(KeyCodeFromScancode(SDL_SCANCODE_POWER), 0);
  EXPECT_EQ(KeyCodeFromScancode(-1), 0);
  EXPECT_EQ(KeyCodeFromScancode(SDL_NUM_SCANCODES), 0);
  EXPECT_EQ(KeyCodeFromScancode(1 << 30), 0);
}

TEST(KeyCodes, TypingKeysFollowTheLayoutAndTheRestTheirPosition) {
  struct Case {
    SDL_Scancode scancode;
    SDL_Keycode sym;
    int key;
  };
  const Case cases[] = {
      {SDL_SCANCODE_SEMICOLON, 'm', 'M'},   // AZERTY: M sits right of L
      {SDL_SCANCODE_M, ',', 188},           // ... and the US M key types a comma
      {SDL_SCANCODE_Q, 'a', 'A'},           // ... A and Q swap
      {SDL_SCANCODE_1, '1', '1'},           // ... its digit row still gives digits
      {SDL_SCANCODE_I, 'c', 'C'},           // Dvorak: C where US has I
      {SDL_SCANCODE_Q, '\'', 222},          // ... an apostrophe where US has Q
      {SDL_SCANCODE_Y, 'z', 'Z'},           // QWERTZ
      {SDL_SCANCODE_SEMICOLON, 0xf6, 186},  // an accented letter keeps its key's code
      {SDL_SCANCODE_M, 0, 'M'},             // no symbol at all: by position
      {SDL_SCANCODE_F3, 'm', 114},          // F-keys, Space, Escape and the keypad
      {SDL_SCANCODE_SPACE, 'x', 32},        // are never moved by a layout
      {SDL_SCANCODE_ESCAPE, 'q', 27},
      {SDL_SCANCODE_KP_1, SDLK_END, 97},
      {SDL_SCANCODE_POWER, 'm', 0},  // a key without a code gets none
  };
  for (const Case& c : cases) {
    EXPECT_EQ(KeyCodeFromKey(c.scancode, c.sym), c.key)
        << SDL_GetScancodeName(c.scancode) << " typing " << c.sym;
  }
}

}  // namespace
}  // namespace media
