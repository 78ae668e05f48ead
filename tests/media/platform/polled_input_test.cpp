// The polled-input hook, driven by injected events (no SDL event loop running, so the
// queries' polls have nothing to drain).
#include "media/platform/polled_input.h"

#include <gtest/gtest.h>

#include "media/platform/input_events.h"
#include "media/platform/key_codes.h"

namespace media {
namespace {

class PolledInput : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetPolledInputForTesting();
    EnablePolledInput();
  }
  void TearDown() override { ResetPolledInputForTesting(); }

  static void Key(int id, int key) { EmitEvent(Event{id, key}); }
  static void Press(int key) {
    Key(kEventKeyDown, key);
    Key(kEventKeyUp, key);
  }
};

TEST_F(PolledInput, HitsAccumulateUntilAskedAndAreCountedPerKey) {
  Press(kKeyM);
  Press(kKeyM);
  Press(kKeyC);
  Press(kKeyM);

  EXPECT_EQ(KeyHit(kKeyM), 3);
  EXPECT_EQ(KeyHit(kKeyM), 0);
  EXPECT_EQ(KeyHit(kKeyC), 1);
  EXPECT_EQ(KeyHit(kKeyG), 0);
}

TEST_F(PolledInput, OnlyAKeyDownOfAKeyThatIsUpCountsAHit) {
  // Some systems repeat as plain key-downs; the key is already down, so nothing is added.
  Key(kEventKeyDown, kKeyI);
  Key(kEventKeyRepeat, kKeyI);
  Key(kEventKeyDown, kKeyI);
  EXPECT_EQ(KeyHit(kKeyI), 1);
  Key(kEventKeyUp, kKeyI);
  Key(kEventKeyDown, kKeyI);
  EXPECT_EQ(KeyHit(kKeyI), 1);
}

TEST_F(PolledInput, KeyCodesOutsideTheTablesAreHarmless) {
  for (const int bad : {-1, 256, 1000, -100000}) {
    Key(kEventKeyDown, bad);
    Key(kEventKeyUp, bad);
    EXPECT_EQ(KeyHit(bad), 0) << bad;
    EXPECT_EQ(KeyDown(bad), 0) << bad;
  }
  // Code 0 is inside the tables, the limits 0 and 255 work like any other key.
  Key(kEventKeyDown, 0);
  Key(kEventKeyDown, 255);
  EXPECT_EQ(KeyHit(0), 1);
  EXPECT_EQ(KeyHit(255), 1);
  EXPECT_EQ(KeyHit(254), 0);
}

TEST_F(PolledInput, SuspendAndResumeForgetKeysCharactersAndMouse) {
  Key(kEventKeyDown, kKeySpace);  // held while switching away
  Press(kKeyF1);
  EmitEvent(Event{kEventKeyChar, 'x'});
  EmitEvent(Event{kEventMouseDown, 1});
  EmitEvent(Event{kEventMouseWheel, 2});
  EmitEvent(Event{kEventMouseMove, 0, 0, 12, 34});

  EmitEvent(Event{kEventAppSuspend});
  EXPECT_EQ(AppSuspended(), 1);
  EXPECT_EQ(KeyDown(kKeySpace), 0);
  EXPECT_EQ(KeyHit(kKeySpace), 0);
  EXPECT_EQ(KeyHit(kKeyF1), 0);
  EXPECT_EQ(GetChar(), 0);
  const MouseState mouse = PolledMouse();
  EXPECT_EQ(mouse.buttons[1], 0);
  EXPECT_EQ(mouse.wheel, 0);

  // Keys pressed while suspended are forgotten again on the way back.
  Press(kKeyG);
  EmitEvent(Event{kEventAppResume});
  EXPECT_EQ(AppSuspended(), 0);
  EXPECT_EQ(KeyHit(kKeyG), 0);

  // After resuming, a press of the key held before counts as a new hit.
  Key(kEventKeyDown, kKeySpace);
  EXPECT_EQ(KeyHit(kKeySpace), 1);
}

TEST_F(PolledInput, CharacterRingKeepsOrderAndTheOldest256) {
  for (int i = 0; i < 300; ++i) EmitEvent(Event{kEventKeyChar, 1000 + i});
  for (int i = 0; i < 256; ++i) ASSERT_EQ(GetChar(), 1000 + i) << i;
  EXPECT_EQ(GetChar(), 0);

  // Reading makes room again, and the ring wraps around its end.
  EmitEvent(Event{kEventKeyChar, 'a'});
  EmitEvent(Event{kEventKeyChar, 'b'});
  EXPECT_EQ(GetChar(), 'a');
  EXPECT_EQ(GetChar(), 'b');
  EXPECT_EQ(GetChar(), 0);
}

TEST_F(PolledInput, WithoutTheHookEventsChangeNothing) {
  DisablePolledInput();
  Key(kEventKeyDown, kKeyEscape);
  EmitEvent(Event{kEventAppTerminate});
  EmitEvent(Event{kEventKeyChar, 'q'});
  EmitEvent(Event{kEventAppSuspend});
  EXPECT_EQ(KeyHit(kKeyEscape), 0);
  EXPECT_EQ(KeyDown(kKeyEscape), 0);
  EXPECT_EQ(AppTerminate(), 0);
  EXPECT_EQ(GetChar(), 0);
  EXPECT_EQ(AppSuspended(), 0);
}

TEST_F(PolledInput, EnablingAgainClearsKeysButKeepsACloseRequest) {
  Key(kEventKeyDown, kKeyEscape);
  EmitEvent(Event{kEventKeyChar, 'q'});
  EmitEvent(Event{kEventAppTerminate});
  EnablePolledInput();  // a second display opened
  EXPECT_EQ(KeyHit(kKeyEscape), 0);
  EXPECT_EQ(KeyDown(kKeyEscape), 0);
  EXPECT_EQ(GetChar(), 0);
  EXPECT_EQ(AppTerminate(), 1);
}

}  // namespace
}  // namespace media
