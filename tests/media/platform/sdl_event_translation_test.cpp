// SDL events pushed onto SDL's real queue, drained by the queries' polls and translated into
// the program's events. SDL's event subsystem runs headless.
#include <SDL.h>
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "media/platform/input_events.h"
#include "media/platform/key_codes.h"
#include "media/platform/polled_input.h"

namespace media {
namespace {

class SdlEventTranslation : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(SDL_Init(SDL_INIT_EVENTS), 0) << SDL_GetError();
    ResetPolledInputForTesting();
    EnablePolledInput();
    SetEventObserver([this](const Event& event) { seen_.push_back(event); });
  }
  void TearDown() override {
    ResetPolledInputForTesting();
    SDL_Quit();
  }

  static void Push(SDL_Event event) { ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError(); }

  static void PushKey(Uint32 type, int scancode, Uint8 repeat = 0, Uint16 mods = KMOD_NONE,
                      SDL_Keycode sym = SDLK_UNKNOWN) {
    SDL_Event event{};
    event.type = type;
    event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.key.repeat = repeat;
    event.key.keysym.scancode = static_cast<SDL_Scancode>(scancode);
    event.key.keysym.mod = mods;
    event.key.keysym.sym = sym;
    Push(event);
  }
  static void PushWindow(SDL_WindowEventID id, Uint32 windowId = 1) {
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.event = id;
    event.window.windowID = windowId;
    Push(event);
  }
  static void PushText(const char* utf8) {
    SDL_Event event{};
    event.type = SDL_TEXTINPUT;
    SDL_strlcpy(event.text.text, utf8, sizeof(event.text.text));
    Push(event);
  }

  // Events seen so far (a poll runs first), then forgotten.
  std::vector<Event> TakeSeen() {
    PollSystem();
    return std::exchange(seen_, {});
  }
  std::vector<int> TakeSeenIds() {
    std::vector<int> ids;
    for (const Event& event : TakeSeen()) ids.push_back(event.id);
    return ids;
  }

  std::vector<Event> seen_;
};

using Ids = std::vector<int>;

TEST_F(SdlEventTranslation, HoldingSpaceAndReleasingItIsOneHit) {
  PushKey(SDL_KEYDOWN, SDL_SCANCODE_SPACE);
  for (int i = 0; i < 25; ++i) PushKey(SDL_KEYDOWN, SDL_SCANCODE_SPACE, 1);
  EXPECT_EQ(KeyDown(kKeySpace), 1);
  PushKey(SDL_KEYUP, SDL_SCANCODE_SPACE);

  EXPECT_EQ(KeyHit(kKeySpace), 1);
  EXPECT_EQ(KeyHit(kKeySpace), 0);
  EXPECT_EQ(KeyDown(kKeySpace), 0);
}

TEST_F(SdlEventTranslation, PressingMTwiceBetweenQueriesGivesTwo) {
  for (int i = 0; i < 2; ++i) {
    PushKey(SDL_KEYDOWN, SDL_SCANCODE_M);
    PushKey(SDL_KEYUP, SDL_SCANCODE_M);
  }
  EXPECT_EQ(KeyHit(kKeyM), 2);
  EXPECT_EQ(KeyHit(kKeyM), 0);
}

TEST_F(SdlEventTranslation, KeyMessagesBecomeDownRepeatAndUpWithTheKeyCode) {
  PushKey(SDL_KEYDOWN, SDL_SCANCODE_F9);
  PushKey(SDL_KEYDOWN, SDL_SCANCODE_F9, 1);
  PushKey(SDL_KEYUP, SDL_SCANCODE_F9);
  const std::vector<Event> seen = TakeSeen();
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[0].id, kEventKeyDown);
  EXPECT_EQ(seen[1].id, kEventKeyRepeat);
  EXPECT_EQ(seen[2].id, kEventKeyUp);
  for (const Event& event : seen) EXPECT_EQ(event.data, 120);

  // A letter is the layout's: on AZERTY the key right of L is M. Its repeat and release keep
  // that code even when the layout changes while it is held.
  PushKey(SDL_KEYDOWN, SDL_SCANCODE_SEMICOLON, 0, KMOD_NONE, 'm');
  PushKey(SDL_KEYDOWN, SDL_SCANCODE_SEMICOLON, 1, KMOD_NONE, ';');
  PushKey(SDL_KEYUP, SDL_SCANCODE_SEMICOLON, 0, KMOD_NONE, ';');
  for (const Event& event : TakeSeen()) EXPECT_EQ(event.data, kKeyM);
  EXPECT_EQ(KeyHit(kKeyM), 1);
  EXPECT_EQ(KeyDown(kKeyM), 0);
}

TEST_F(SdlEventTranslation, KeysWithoutAKeyCodeAreIgnored) {
  PushKey(SDL_KEYDOWN, SDL_SCANCODE_UNKNOWN);
  PushKey(SDL_KEYDOWN, SDL_SCANCODE_KP_EQUALS);  // no key code of its own
  PushKey(SDL_KEYDOWN, 400);                     // a scan code SDL has no name for
  PushKey(SDL_KEYUP, SDL_SCANCODE_POWER);
  EXPECT_EQ(TakeSeenIds(), Ids{});
  EXPECT_EQ(KeyHit(0), 0);
}

TEST_F(SdlEventTranslation, EveryEventCarriesTheModifiersOfTheLastKeyEvent) {
  PushKey(SDL_KEYDOWN, SDL_SCANCODE_LCTRL, 0, KMOD_LCTRL);
  PushKey(SDL_KEYDOWN, SDL_SCANCODE_RSHIFT, 0, KMOD_LCTRL | KMOD_RSHIFT);
  PushKey(SDL_KEYDOWN, SDL_SCANCODE_LGUI, 0, KMOD_LCTRL | KMOD_RSHIFT | KMOD_LGUI);
  PushKey(SDL_KEYUP, SDL_SCANCODE_LCTRL, 0, KMOD_RSHIFT | KMOD_LGUI | KMOD_NUM);
  PushText("x");
  PushKey(SDL_KEYDOWN, SDL_SCANCODE_RALT, 0, KMOD_RALT);
  PushWindow(SDL_WINDOWEVENT_ENTER);

  const std::vector<Event> seen = TakeSeen();
  ASSERT_EQ(seen.size(), 7u);
  EXPECT_EQ(seen[0].data, kKeyLeftControl);
  EXPECT_EQ(seen[0].mods, kModCtrl);
  EXPECT_EQ(seen[1].data, kKeyRightShift);
  EXPECT_EQ(seen[1].mods, kModCtrl | kModShift);
  EXPECT_EQ(seen[2].data, kKeyLeftSystem);
  EXPECT_EQ(seen[2].mods, kModCtrl | kModShift | kModSystem);
  EXPECT_EQ(seen[3].mods, kModShift | kModSystem);  // Num Lock is no modifier
  EXPECT_EQ(seen[4].id, kEventKeyChar);
  EXPECT_EQ(seen[4].mods, kModShift | kModSystem);
  EXPECT_EQ(seen[5].data, kKeyRightAlt);
  EXPECT_EQ(seen[5].mods, kModAlt);
  EXPECT_EQ(seen[6].id, kEventMouseEnter);
  EXPECT_EQ(seen[6].mods, kModAlt);
}

TEST_F(SdlEventTranslation, TypedTextBecomesOneCharacterPerUtf16Unit) {
  PushText("a\xC3\xA9");         // a, e acute
  PushText("\xF0\x9F\x8E\xB5");  // a musical note outside the 16-bit range
  EXPECT_EQ(GetChar(), 'a');
  EXPECT_EQ(GetChar(), 0xE9);
  EXPECT_EQ(GetChar(), 0xD83C);
  EXPECT_EQ(GetChar(), 0xDFB5);
  EXPECT_EQ(GetChar(), 0);
}

TEST_F(SdlEventTranslation, CloseRequestsAreReadOnce) {
  PushWindow(SDL_WINDOWEVENT_CLOSE);
  EXPECT_EQ(AppTerminate(), 1);
  EXPECT_EQ(AppTerminate(), 0);

  SDL_Event quit{};
  quit.type = SDL_QUIT;
  Push(quit);
  EXPECT_EQ(AppTerminate(), 1);
  EXPECT_EQ(AppTerminate(), 0);
}

TEST_F(SdlEventTranslation, AltF4IsACloseRequestAndStillAKeyDown) {
  PushKey(SDL_KEYDOWN, SDL_SCANCODE_LALT, 0, KMOD_LALT);
  PushKey(SDL_KEYDOWN, SDL_SCANCODE_F4, 0, KMOD_LALT);
  PushKey(SDL_KEYDOWN, SDL_SCANCODE_F4, 1, KMOD_LALT);  // held: still one request
  EXPECT_EQ(AppTerminate(), 1);
  EXPECT_EQ(AppTerminate(), 0);
  EXPECT_EQ(KeyHit(kKeyLeftAlt), 1);
  EXPECT_EQ(KeyHit(kKeyF1 + 3), 1);

  // F4 alone, or Alt with another key, asks nothing.
  PushKey(SDL_KEYUP, SDL_SCANCODE_F4, 0, KMOD_LALT);
  PushKey(SDL_KEYDOWN, SDL_SCANCODE_F10, 0, KMOD_LALT);
  PushKey(SDL_KEYUP, SDL_SCANCODE_LALT);
  PushKey(SDL_KEYDOWN, SDL_SCANCODE_F4);
  EXPECT_EQ(AppTerminate(), 0);
  EXPECT_EQ(KeyHit(kKeyF1 + 9), 1);
}

TEST_F(SdlEventTranslation, SwitchingAwayWithAKeyHeldLeavesNoHitAndNoHeldKey) {
  PushKey(SDL_KEYDOWN, SDL_SCANCODE_SPACE);
  PushWindow(SDL_WINDOWEVENT_FOCUS_LOST);
  EXPECT_EQ(AppSuspended(), 1);
  PushWindow(SDL_WINDOWEVENT_FOCUS_GAINED);
  EXPECT_EQ(AppSuspended(), 0);
  EXPECT_EQ(KeyDown(kKeySpace), 0);
  EXPECT_EQ(KeyHit(kKeySpace), 0);
}

TEST_F(SdlEventTranslation, ActivationEventsComeInPairs) {
  // The first activation of a new window is no return from another program.
  PushWindow(SDL_WINDOWEVENT_FOCUS_GAINED);
  EXPECT_EQ(TakeSeenIds(), Ids{});

  PushWindow(SDL_WINDOWEVENT_FOCUS_LOST);
  PushWindow(SDL_WINDOWEVENT_FOCUS_LOST);
  EXPECT_EQ(TakeSeenIds(), Ids{kEventAppSuspend});
  PushWindow(SDL_WINDOWEVENT_FOCUS_GAINED);
  PushWindow(SDL_WINDOWEVENT_FOCUS_GAINED);
  EXPECT_EQ(TakeSeenIds(), Ids{kEventAppResume});
}

TEST_F(SdlEventTranslation, FocusMovingBetweenOwnWindowsIsNoSuspend) {
  PushKey(SDL_KEYDOWN, SDL_SCANCODE_G);
  PushWindow(SDL_WINDOWEVENT_FOCUS_LOST, 1);
  PushWindow(SDL_WINDOWEVENT_FOCUS_GAINED, 2);
  EXPECT_EQ(TakeSeenIds(), Ids{kEventKeyDown});
  EXPECT_EQ(KeyDown(kKeyG), 1);
  EXPECT_EQ(KeyHit(kKeyG), 1);
  EXPECT_EQ(AppSuspended(), 0);
}

TEST_F(SdlEventTranslation, MouseEventsBecomeMouseEvents) {
  const auto button = [](Uint32 type, Uint8 which) {
    SDL_Event event{};
    event.type = type;
    event.button.button = which;
    event.button.x = 5;
    event.button.y = 6;
    return event;
  };
  const auto wheel = [](int x, int y, Uint32 direction) {
    SDL_Event event{};
    event.type = SDL_MOUSEWHEEL;
    event.wheel.x = x;
    event.wheel.y = y;
    event.wheel.direction = direction;
    return event;
  };
  SDL_Event motion{};
  motion.type = SDL_MOUSEMOTION;
  motion.motion.x = 640;
  motion.motion.y = 480;
  Push(motion);
  for (const Uint8 which : {SDL_BUTTON_LEFT, SDL_BUTTON_RIGHT, SDL_BUTTON_MIDDLE, SDL_BUTTON_X1}) {
    Push(button(SDL_MOUSEBUTTONDOWN, which));
  }
  Push(button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT));
  Push(wheel(0, 2, SDL_MOUSEWHEEL_NORMAL));
  Push(wheel(0, 3, SDL_MOUSEWHEEL_FLIPPED));  // a "natural scrolling" desktop
  Push(wheel(4, 0, SDL_MOUSEWHEEL_NORMAL));   // sideways only: no notches
  PushWindow(SDL_WINDOWEVENT_LEAVE);

  const std::vector<Event> seen = TakeSeen();
  ASSERT_EQ(seen.size(), 8u);
  const Event expected[] = {
      {kEventMouseMove, 0, 0, 640, 480},
      {kEventMouseDown, 1, 0, 5, 6},
      {kEventMouseDown, 2, 0, 5, 6},
      {kEventMouseDown, 3, 0, 5, 6},
      {kEventMouseUp, 1, 0, 5, 6},
      {kEventMouseWheel, 2},
      {kEventMouseWheel, -3},
      {kEventMouseLeave},
  };
  for (std::size_t i = 0; i < seen.size(); ++i) {
    EXPECT_EQ(seen[i].id, expected[i].id) << i;
    EXPECT_EQ(seen[i].data, expected[i].data) << i;
    EXPECT_EQ(seen[i].x, expected[i].x) << i;
    EXPECT_EQ(seen[i].y, expected[i].y) << i;
  }

  const MouseState mouse = PolledMouse();
  EXPECT_EQ(mouse.buttons[1], 0);
  EXPECT_EQ(mouse.buttons[2], 1);
  EXPECT_EQ(mouse.buttons[3], 1);
  EXPECT_EQ(mouse.wheel, -1);
  EXPECT_EQ(mouse.x, 640);
}

TEST_F(SdlEventTranslation, AQueryFromInsideAPollDoesNotPollAgain) {
  int hitsOfMSeenInside = -1;
  SetEventObserver([&](const Event& event) {
    if (event.id == kEventKeyDown && event.data == kKeySpace) hitsOfMSeenInside = KeyHit(kKeyM);
  });
  PushKey(SDL_KEYDOWN, SDL_SCANCODE_SPACE);
  PushKey(SDL_KEYDOWN, SDL_SCANCODE_M);

  EXPECT_EQ(KeyHit(kKeySpace), 1);
  // Inside, M was still queued: a nested poll would have taken it off and counted it.
  EXPECT_EQ(hitsOfMSeenInside, 0);
  EXPECT_EQ(KeyHit(kKeyM), 1);
}

TEST(PollWithoutSdl, QueriesWorkBeforeSdlStarts) {
  ASSERT_EQ(SDL_WasInit(SDL_INIT_EVENTS), 0u);
  ResetPolledInputForTesting();
  EnablePolledInput();
  EmitEvent(Event{kEventKeyDown, kKeyEscape});
  EXPECT_EQ(KeyHit(kKeyEscape), 1);
  EXPECT_EQ(AppTerminate(), 0);
  // Polling must not have started SDL's event loop behind the program's back.
  EXPECT_EQ(SDL_WasInit(SDL_INIT_EVENTS), 0u);
  ResetPolledInputForTesting();
}

}  // namespace
}  // namespace media
