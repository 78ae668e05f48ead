// Key codes: the virtual-key numbers the rest of the program uses (Escape 27, Space 32,
// letters 65..90, F1 112 ...). Letters, digits and punctuation follow the keyboard layout
// (on AZERTY the key labelled M gives 77, as the legend on screen promises); every other key
// is named by its position, so F-keys, Space, Escape, modifiers, arrows and the keypad mean
// the same on every layout.
#pragma once

namespace media {

enum KeyCode : int {
  kKeyBackspace = 8,
  kKeyTab = 9,
  kKeyReturn = 13,
  kKeyPause = 19,
  kKeyCapsLock = 20,
  kKeyEscape = 27,
  kKeySpace = 32,
  kKeyPageUp = 33,
  kKeyPageDown = 34,
  kKeyEnd = 35,
  kKeyHome = 36,
  kKeyLeft = 37,
  kKeyUp = 38,
  kKeyRight = 39,
  kKeyDown = 40,
  kKeyPrintScreen = 44,
  kKeyInsert = 45,
  kKeyDelete = 46,
  kKey0 = 48,  // digits 48..57
  kKeyA = 65,  // letters 65..90
  kKeyC = 67,
  kKeyG = 71,
  kKeyI = 73,
  kKeyM = 77,
  kKeyLeftSystem = 91,
  kKeyRightSystem = 92,
  kKeyMenu = 93,
  kKeyNum0 = 96,  // numeric keypad 96..105
  kKeyNumMultiply = 106,
  kKeyNumAdd = 107,
  kKeyNumSubtract = 109,
  kKeyNumDecimal = 110,
  kKeyNumDivide = 111,
  kKeyF1 = 112,  // F1..F24 are 112..135
  kKeyNumLock = 144,
  kKeyScrollLock = 145,
  kKeyLeftShift = 160,
  kKeyRightShift = 161,
  kKeyLeftControl = 162,
  kKeyRightControl = 163,
  kKeyLeftAlt = 164,
  kKeyRightAlt = 165,
  kKeyVolumeMute = 173,
  kKeyVolumeDown = 174,
  kKeyVolumeUp = 175,
  kKeyMediaNext = 176,
  kKeyMediaPrevious = 177,
  kKeyMediaStop = 178,
  kKeyMediaPlayPause = 179,
  kKeySemicolon = 186,
  kKeyEquals = 187,
  kKeyComma = 188,
  kKeyMinus = 189,
  kKeyPeriod = 190,
  kKeySlash = 191,
  kKeyTilde = 192,
  kKeyOpenBracket = 219,
  kKeyBackslash = 220,
  kKeyCloseBracket = 221,
  kKeyQuotes = 222,
  kKey102nd = 226,  // the extra key left of Z on 102/105-key keyboards
};

// The key code of an SDL scan code (an SDL_Scancode value) by its position on a US keyboard,
// or 0 for keys without one.
int KeyCodeFromScancode(int scancode);

// The key code of a key as the active layout names it: `sym` is the SDL key code (SDL_Keycode)
// the layout gives the key at `scancode`. Keys of the typing block take the code of their
// letter, digit or punctuation symbol; all others, and typing keys whose symbol has no code
// (an accented letter, a dead key), keep their position's code.
int KeyCodeFromKey(int scancode, int sym);

}  // namespace media
