#include "media/platform/key_codes.h"

#include <SDL.h>

#include <array>

namespace media {

namespace {

struct ScancodeKey {
  SDL_Scancode scancode;
  int key;
};

// Every key of a standard 104/105-key keyboard, plus the extended function and media keys
// that have a key code. Keys are physical: the keypad gives its digits whatever the Num Lock
// state, and the punctuation keys are named by their US legends.
constexpr ScancodeKey kScancodeKeys[] = {
    // Letters and the digit row.
    {SDL_SCANCODE_A, 'A'},
    {SDL_SCANCODE_B, 'B'},
    {SDL_SCANCODE_C, 'C'},
    {SDL_SCANCODE_D, 'D'},
    {SDL_SCANCODE_E, 'E'},
    {SDL_SCANCODE_F, 'F'},
    {SDL_SCANCODE_G, 'G'},
    {SDL_SCANCODE_H, 'H'},
    {SDL_SCANCODE_I, 'I'},
    {SDL_SCANCODE_J, 'J'},
    {SDL_SCANCODE_K, 'K'},
    {SDL_SCANCODE_L, 'L'},
    {SDL_SCANCODE_M, 'M'},
    {SDL_SCANCODE_N, 'N'},
    {SDL_SCANCODE_O, 'O'},
    {SDL_SCANCODE_P, 'P'},
    {SDL_SCANCODE_Q, 'Q'},
    {SDL_SCANCODE_R, 'R'},
    {SDL_SCANCODE_S, 'S'},
    {SDL_SCANCODE_T, 'T'},
    {SDL_SCANCODE_U, 'U'},
    {SDL_SCANCODE_V, 'V'},
    {SDL_SCANCODE_W, 'W'},
    {SDL_SCANCODE_X, 'X'},
    {SDL_SCANCODE_Y, 'Y'},
    {SDL_SCANCODE_Z, 'Z'},
    {SDL_SCANCODE_0, '0'},
    {SDL_SCANCODE_1, '1'},
    {SDL_SCANCODE_2, '2'},
    {SDL_SCANCODE_3, '3'},
    {SDL_SCANCODE_4, '4'},
    {SDL_SCANCODE_5, '5'},
    {SDL_SCANCODE_6, '6'},
    {SDL_SCANCODE_7, '7'},
    {SDL_SCANCODE_8, '8'},
    {SDL_SCANCODE_9, '9'},

    // Editing and whitespace.
    {SDL_SCANCODE_ESCAPE, kKeyEscape},
    {SDL_SCANCODE_TAB, kKeyTab},
    {SDL_SCANCODE_CAPSLOCK, kKeyCapsLock},
    {SDL_SCANCODE_SPACE, kKeySpace},
    {SDL_SCANCODE_RETURN, kKeyReturn},
    {SDL_SCANCODE_BACKSPACE, kKeyBackspace},

    // Modifiers, told apart left and right.
    {SDL_SCANCODE_LSHIFT, kKeyLeftShift},
    {SDL_SCANCODE_RSHIFT, kKeyRightShift},
    {SDL_SCANCODE_LCTRL, kKeyLeftControl},
    {SDL_SCANCODE_RCTRL, kKeyRightControl},
    {SDL_SCANCODE_LALT, kKeyLeftAlt},
    {SDL_SCANCODE_RALT, kKeyRightAlt},
    {SDL_SCANCODE_LGUI, kKeyLeftSystem},
    {SDL_SCANCODE_RGUI, kKeyRightSystem},
    {SDL_SCANCODE_APPLICATION, kKeyMenu},

    // Function keys F1..F24.
    {SDL_SCANCODE_F1, kKeyF1 + 0},
    {SDL_SCANCODE_F2, kKeyF1 + 1},
    {SDL_SCANCODE_F3, kKeyF1 + 2},
    {SDL_SCANCODE_F4, kKeyF1 + 3},
    {SDL_SCANCODE_F5, kKeyF1 + 4},
    {SDL_SCANCODE_F6, kKeyF1 + 5},
    {SDL_SCANCODE_F7, kKeyF1 + 6},
    {SDL_SCANCODE_F8, kKeyF1 + 7},
    {SDL_SCANCODE_F9, kKeyF1 + 8},
    {SDL_SCANCODE_F10, kKeyF1 + 9},
    {SDL_SCANCODE_F11, kKeyF1 + 10},
    {SDL_SCANCODE_F12, kKeyF1 + 11},
    {SDL_SCANCODE_F13, kKeyF1 + 12},
    {SDL_SCANCODE_F14, kKeyF1 + 13},
    {SDL_SCANCODE_F15, kKeyF1 + 14},
    {SDL_SCANCODE_F16, kKeyF1 + 15},
    {SDL_SCANCODE_F17, kKeyF1 + 16},
    {SDL_SCANCODE_F18, kKeyF1 + 17},
    {SDL_SCANCODE_F19, kKeyF1 + 18},
    {SDL_SCANCODE_F20, kKeyF1 + 19},
    {SDL_SCANCODE_F21, kKeyF1 + 20},
    {SDL_SCANCODE_F22, kKeyF1 + 21},
    {SDL_SCANCODE_F23, kKeyF1 + 22},
    {SDL_SCANCODE_F24, kKeyF1 + 23},

    // Navigation block and the keys above it.
    {SDL_SCANCODE_PRINTSCREEN, kKeyPrintScreen},
    {SDL_SCANCODE_SCROLLLOCK, kKeyScrollLock},
    {SDL_SCANCODE_PAUSE, kKeyPause},
    {SDL_SCANCODE_INSERT, kKeyInsert},
    {SDL_SCANCODE_DELETE, kKeyDelete},
    {SDL_SCANCODE_HOME, kKeyHome},
    {SDL_SCANCODE_END, kKeyEnd},
    {SDL_SCANCODE_PAGEUP, kKeyPageUp},
    {SDL_SCANCODE_PAGEDOWN, kKeyPageDown},
    {SDL_SCANCODE_LEFT, kKeyLeft},
    {SDL_SCANCODE_UP, kKeyUp},
    {SDL_SCANCODE_RIGHT, kKeyRight},
    {SDL_SCANCODE_DOWN, kKeyDown},

    // Numeric keypad. Its Enter is the same key code as the main Return.
    {SDL_SCANCODE_NUMLOCKCLEAR, kKeyNumLock},
    {SDL_SCANCODE_KP_0, kKeyNum0 + 0},
    {SDL_SCANCODE_KP_1, kKeyNum0 + 1},
    {SDL_SCANCODE_KP_2, kKeyNum0 + 2},
    {SDL_SCANCODE_KP_3, kKeyNum0 + 3},
    {SDL_SCANCODE_KP_4, kKeyNum0 + 4},
    {SDL_SCANCODE_KP_5, kKeyNum0 + 5},
    {SDL_SCANCODE_KP_6, kKeyNum0 + 6},
    {SDL_SCANCODE_KP_7, kKeyNum0 + 7},
    {SDL_SCANCODE_KP_8, kKeyNum0 + 8},
    {SDL_SCANCODE_KP_9, kKeyNum0 + 9},
    {SDL_SCANCODE_KP_MULTIPLY, kKeyNumMultiply},
    {SDL_SCANCODE_KP_PLUS, kKeyNumAdd},
    {SDL_SCANCODE_KP_MINUS, kKeyNumSubtract},
    {SDL_SCANCODE_KP_PERIOD, kKeyNumDecimal},
    {SDL_SCANCODE_KP_DIVIDE, kKeyNumDivide},
    {SDL_SCANCODE_KP_ENTER, kKeyReturn},

    // Punctuation. The ISO key left of Return shares the US backslash's code (keyboards
    // report one or the other for the same position); the 102nd key, left of Z, has its own.
    {SDL_SCANCODE_SEMICOLON, kKeySemicolon},
    {SDL_SCANCODE_EQUALS, kKeyEquals},
    {SDL_SCANCODE_COMMA, kKeyComma},
    {SDL_SCANCODE_MINUS, kKeyMinus},
    {SDL_SCANCODE_PERIOD, kKeyPeriod},
    {SDL_SCANCODE_SLASH, kKeySlash},
    {SDL_SCANCODE_GRAVE, kKeyTilde},
    {SDL_SCANCODE_LEFTBRACKET, kKeyOpenBracket},
    {SDL_SCANCODE_BACKSLASH, kKeyBackslash},
    {SDL_SCANCODE_RIGHTBRACKET, kKeyCloseBracket},
    {SDL_SCANCODE_APOSTROPHE, kKeyQuotes},
    {SDL_SCANCODE_NONUSHASH, kKeyBackslash},
    {SDL_SCANCODE_NONUSBACKSLASH, kKey102nd},

    // Volume and media keys found on many keyboards.
    {SDL_SCANCODE_MUTE, kKeyVolumeMute},
    {SDL_SCANCODE_AUDIOMUTE, kKeyVolumeMute},
    {SDL_SCANCODE_VOLUMEDOWN, kKeyVolumeDown},
    {SDL_SCANCODE_VOLUMEUP, kKeyVolumeUp},
    {SDL_SCANCODE_AUDIONEXT, kKeyMediaNext},
    {SDL_SCANCODE_AUDIOPREV, kKeyMediaPrevious},
    {SDL_SCANCODE_AUDIOSTOP, kKeyMediaStop},
    {SDL_SCANCODE_AUDIOPLAY, kKeyMediaPlayPause},
};

constexpr std::array<unsigned char, SDL_NUM_SCANCODES> BuildKeyTable() {
  std::array<unsigned char, SDL_NUM_SCANCODES> table{};
  for (const ScancodeKey& entry : kScancodeKeys) {
    table[entry.scancode] = static_cast<unsigned char>(entry.key);
  }
  return table;
}

constexpr std::array<unsigned char, SDL_NUM_SCANCODES> kKeyTable = BuildKeyTable();

// The keys whose meaning the layout decides: letters, the digit row and the punctuation keys.
bool IsTypingKey(int scancode) {
  return (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_0) ||
         (scancode >= SDL_SCANCODE_MINUS && scancode <= SDL_SCANCODE_SLASH) ||
         scancode == SDL_SCANCODE_NONUSBACKSLASH;
}

// The code of a typed symbol, as the platform's layouts assign them: letters and digits by
// their (upper case) character, punctuation by the key it sits on in the US layout, where
// both its plain and shifted forms live. 0 for symbols without one.
int KeyCodeFromSymbol(int sym) {
  if (sym >= 'a' && sym <= 'z') return sym - 'a' + 'A';
  if (sym >= '0' && sym <= '9') return sym;
  switch (sym) {
    case ';':
    case ':':
      return kKeySemicolon;
    case '=':
    case '+':
      return kKeyEquals;
    case ',':
    case '<':
      return kKeyComma;
    case '-':
    case '_':
      return kKeyMinus;
    case '.':
    case '>':
      return kKeyPeriod;
    case '/':
    case '?':
      return kKeySlash;
    case '`':
    case '~':
      return kKeyTilde;
    case '[':
    case '{':
      return kKeyOpenBracket;
    case '\\':
    case '|':
      return kKeyBackslash;
    case ']':
    case '}':
      return kKeyCloseBracket;
    case '\'':
    case '"':
      return kKeyQuotes;
    default:
      return 0;
  }
}

}  // namespace

int KeyCodeFromScancode(int scancode) {
  if (scancode < 0 || scancode >= SDL_NUM_SCANCODES) return 0;
  return kKeyTable[static_cast<std::size_t>(scancode)];
}

int KeyCodeFromKey(int scancode, int sym) {
  const int byPosition = KeyCodeFromScancode(scancode);
  if (byPosition == 0 || !IsTypingKey(scancode)) return byPosition;
  const int bySymbol = KeyCodeFromSymbol(sym);
  return bySymbol != 0 ? bySymbol : byPosition;
}

}  // namespace media
