// The recorder and player driven by synthetic key messages through a host that queues what the macro window and
// the thread's message queue would receive: states, reports, notices, owner notifications and the Esc rules.
#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "engine/lang/macro_recorder.h"

namespace {

using namespace osk::macro;

MacroEvent Key(uint32_t message, uint8_t vk, uint32_t time = 0) {
  MacroEvent e;
  e.message = message;
  e.paramL = vk;
  e.paramH = 1;
  e.time = time;
  return e;
}

// A single-threaded program: one queue holding injected events, macro window reports and advance requests, in
// posting order, as the thread's message queue does.
class FakeHost : public MacroHost {
 public:
  struct Item {
    enum Kind { kEvent, kReport, kAdvance } kind;
    MacroEvent event;
    int32_t code;
    uint32_t session;
  };

  bool foreground = true;
  bool esc = false;
  uint32_t tick = 1000;
  bool hookOn = false;
  bool windowOn = false;
  bool failOpen = false;
  std::deque<Item> queue;
  std::vector<MacroEvent> delivered;      // injected events the program took
  std::vector<bool> shiftWhenDelivered;   // Shift as the program read it for each
  std::vector<Notice> notices;
  std::vector<OwnerCode> owner;
  int keysMarkedUp = 0;
  KeyState keys;
  MacroRecorder* recorder = nullptr;
  std::function<void(OwnerCode)> onOwner;
  std::function<void(const MacroEvent&)> onDelivered;

  bool foregroundIsOurs() override { return foreground; }
  bool escDown() override { return esc; }
  uint32_t tickCount() override { return tick; }
  bool openSession(bool) override {
    if (failOpen) return false;
    hookOn = windowOn = true;
    return true;
  }
  void stopHook() override { hookOn = false; }
  void closeSession() override { windowOn = false; }
  void postReport(int32_t report, uint32_t session) override { queue.push_back({Item::kReport, {}, report, session}); }
  void postAdvance(uint32_t session) override { queue.push_back({Item::kAdvance, {}, 0, session}); }
  void inject(const MacroEvent& event) override { queue.push_back({Item::kEvent, event, 0, 0}); }
  void setKeys(const KeyState& k) override { keys = k; }
  void markKeysUp() override {
    ++keysMarkedUp;
    keys = KeyState();
  }
  void showNotice(Notice notice) override { notices.push_back(notice); }
  void notifyOwner(OwnerCode code) override {
    owner.push_back(code);
    if (onOwner) onOwner(code);
  }

  // Runs the message loop until the queue is empty.
  void pump() {
    for (int guard = 0; guard < 100000 && !queue.empty(); ++guard) {
      Item item = queue.front();
      queue.pop_front();
      ++tick;
      switch (item.kind) {
        case Item::kEvent:
          // The hook sees the injected event taken; only then does the program act on it.
          if (hookOn) recorder->taken();
          delivered.push_back(item.event);
          shiftWhenDelivered.push_back(keys.down(0x10));
          if (onDelivered) onDelivered(item.event);
          break;
        case Item::kReport: recorder->report(item.code, item.session); break;
        case Item::kAdvance: recorder->advance(item.session); break;
      }
    }
  }
};

class MacroRecorderTest : public ::testing::Test {
 protected:
  MacroRecorderTest() : recorder_(host_) { host_.recorder = &recorder_; }

  // Records "Ab" typed with Shift for the A, and a mouse click the recorder must skip.
  void RecordShiftAb() {
    ASSERT_TRUE(recorder_.startRecord());
    for (const MacroEvent& e : {Key(0x100, 0x10), Key(0x100, 'A'), Key(0x101, 'A'), Key(0x101, 0x10),
                                Key(0x201, 0), Key(0x202, 0), Key(0x100, 'B'), Key(0x101, 'B')}) {
      recorder_.recorded(e);
    }
    ASSERT_TRUE(recorder_.stopRecord());
    host_.pump();
    host_.owner.clear();
  }

  FakeHost host_;
  MacroRecorder recorder_;
};

TEST_F(MacroRecorderTest, RecordingKeepsKeyMessagesAndStopNotifiesTheOwner) {
  ASSERT_TRUE(recorder_.startRecord());
  EXPECT_TRUE(recorder_.recording());
  EXPECT_FALSE(recorder_.startRecord());
  recorder_.recorded(Key(0x100, 'X'));
  recorder_.recorded(Key(0x200, 0));   // mouse move
  recorder_.recorded(Key(0x0F, 0));    // paint
  recorder_.recorded(Key(0x101, 'X'));
  ASSERT_TRUE(recorder_.stopRecord());
  EXPECT_FALSE(recorder_.recording());
  EXPECT_FALSE(host_.hookOn);
  EXPECT_FALSE(host_.windowOn);
  EXPECT_EQ(host_.owner, std::vector<OwnerCode>{kRecordingEnded});
  EXPECT_TRUE(host_.notices.empty());
  ASSERT_EQ(recorder_.macro().count(), 2);
  EXPECT_EQ(recorder_.macro()[1].message, 0x101u);
  EXPECT_FALSE(recorder_.stopRecord());
}

TEST_F(MacroRecorderTest, NewRecordingEmptiesTheOldMacro) {
  RecordShiftAb();
  ASSERT_TRUE(recorder_.startRecord());
  EXPECT_FALSE(recorder_.macro().present());
  recorder_.stopRecord();
}

TEST_F(MacroRecorderTest, The4097thKeyEventEndsRecordingWithBufferFull) {
  ASSERT_TRUE(recorder_.startRecord());
  for (int i = 0; i < 4096; ++i) recorder_.recorded(Key(i % 2 ? 0x101 : 0x100, 'Q', static_cast<uint32_t>(i)));
  EXPECT_TRUE(host_.hookOn);
  EXPECT_TRUE(host_.queue.empty());
  recorder_.recorded(Key(0x200, 0));   // a mouse move does not count
  EXPECT_TRUE(host_.queue.empty());
  recorder_.recorded(Key(0x100, 'Z'));
  EXPECT_FALSE(host_.hookOn);
  recorder_.recorded(Key(0x101, 'Z'));   // after the hook is gone nothing more is taken
  host_.pump();
  EXPECT_EQ(host_.notices, std::vector<Notice>{Notice::kBufferFull});
  EXPECT_STREQ(noticeText(Notice::kBufferFull), "Keyboard macro buffer full. Recording terminated.");
  EXPECT_EQ(host_.owner, std::vector<OwnerCode>{kRecordingEnded});
  EXPECT_FALSE(recorder_.recording());
  EXPECT_FALSE(host_.windowOn);
  ASSERT_EQ(recorder_.macro().count(), 4096);
  EXPECT_EQ(recorder_.macro()[4095].time, 4095u);
  EXPECT_TRUE(recorder_.macro().present());
}

TEST_F(MacroRecorderTest, TaskSwitchDuringRecordAbortsAndEmptiesTheMacro) {
  ASSERT_TRUE(recorder_.startRecord());
  recorder_.recorded(Key(0x100, 'A'));
  host_.foreground = false;
  recorder_.recorded(Key(0x006, 0));   // activation: any message sees the switch
  EXPECT_FALSE(host_.hookOn);
  EXPECT_EQ(recorder_.macro().count(), 0);
  host_.pump();
  EXPECT_EQ(host_.notices, std::vector<Notice>{Notice::kTaskSwitch});
  EXPECT_STREQ(noticeText(Notice::kTaskSwitch), "You cannot switch tasks during record.\nRecord aborted!");
  EXPECT_EQ(host_.owner, std::vector<OwnerCode>{kRecordingEnded});
  EXPECT_FALSE(recorder_.recording());
  EXPECT_FALSE(recorder_.startPlay());
}

TEST_F(MacroRecorderTest, PlayIsRefusedWhileRecordingPlayingOrWithoutMacro) {
  EXPECT_FALSE(recorder_.startPlay());   // no macro
  ASSERT_TRUE(recorder_.startRecord());
  recorder_.recorded(Key(0x100, 'A'));
  EXPECT_FALSE(recorder_.startPlay());
  EXPECT_TRUE(recorder_.recording());
  recorder_.stopRecord();
  host_.pump();
  ASSERT_TRUE(recorder_.startPlay());
  EXPECT_FALSE(recorder_.startPlay());
  EXPECT_FALSE(recorder_.startRecord());
  host_.pump();
  EXPECT_FALSE(recorder_.playing());
}

TEST_F(MacroRecorderTest, PlaybackReplaysEveryEventInOrderWithShiftAsRecorded) {
  RecordShiftAb();
  ASSERT_TRUE(recorder_.startPlay());
  EXPECT_TRUE(recorder_.playing());
  host_.pump();
  ASSERT_EQ(host_.delivered.size(), 6u);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(host_.delivered[i], recorder_.macro()[i]) << i;
  // Shift reads down from its own key-down through the A, and up from its key-up on.
  EXPECT_EQ(host_.shiftWhenDelivered, (std::vector<bool>{true, true, true, false, false, false}));
  EXPECT_EQ(host_.owner, std::vector<OwnerCode>{kPlaybackFinished});
  EXPECT_TRUE(host_.notices.empty());
  EXPECT_FALSE(recorder_.playing());
  EXPECT_FALSE(host_.hookOn);
  EXPECT_FALSE(host_.windowOn);
  EXPECT_TRUE(recorder_.macro().present());
}

TEST_F(MacroRecorderTest, EventsAreInjectedOneAtATime) {
  RecordShiftAb();
  ASSERT_TRUE(recorder_.startPlay());
  ASSERT_EQ(host_.queue.size(), 1u);
  // Taking the first event queues only a request to move on; the next event follows once that is served.
  host_.queue.pop_front();
  recorder_.taken();
  ASSERT_EQ(host_.queue.size(), 1u);
  EXPECT_EQ(host_.queue.front().kind, FakeHost::Item::kAdvance);
  recorder_.abortPlayback();
  host_.pump();
  EXPECT_EQ(host_.delivered.size(), 0u);
  EXPECT_EQ(host_.owner, std::vector<OwnerCode>{kPlaybackStopped});
}

TEST_F(MacroRecorderTest, OwnerCanPlayAgainFromTheFinishedNotification) {
  RecordShiftAb();
  int plays = 0;
  host_.onOwner = [&](OwnerCode code) {
    if (code == kPlaybackFinished && ++plays < 3) EXPECT_TRUE(recorder_.startPlay());
  };
  ASSERT_TRUE(recorder_.startPlay());
  host_.pump();
  EXPECT_EQ(plays, 3);
  EXPECT_EQ(host_.delivered.size(), 18u);
  EXPECT_FALSE(recorder_.playing());
}

TEST_F(MacroRecorderTest, EscDuringPlaybackAbortsBeforeTheNextEvent) {
  RecordShiftAb();
  host_.onDelivered = [&](const MacroEvent& e) {
    if (e.paramL == 'A' && e.message == 0x100) host_.esc = true;
  };
  ASSERT_TRUE(recorder_.startPlay());
  host_.pump();
  // The A key-down was taken, the user pressed Esc while the program dealt with it; the A key-up was then taken
  // and the player stopped before anything else.
  ASSERT_EQ(host_.delivered.size(), 3u);
  EXPECT_EQ(host_.notices, std::vector<Notice>{Notice::kPlaybackAborted});
  EXPECT_STREQ(noticeText(Notice::kPlaybackAborted), "Playback aborted.");
  EXPECT_EQ(host_.owner, std::vector<OwnerCode>{kPlaybackAborted});
  EXPECT_EQ(host_.keysMarkedUp, 1);
  EXPECT_FALSE(host_.keys.down(0x10));
  EXPECT_FALSE(recorder_.playing());
  EXPECT_FALSE(host_.hookOn);
  // The Esc key press queued before the abort is eaten; one pressed later is not.
  host_.esc = false;
  EXPECT_TRUE(recorder_.shouldEatEsc(host_.tick - 2));
  EXPECT_FALSE(recorder_.shouldEatEsc(host_.tick + 5));
  EXPECT_TRUE(recorder_.macro().present());
}

TEST_F(MacroRecorderTest, TaskSwitchDuringPlaybackAborts) {
  RecordShiftAb();
  host_.onDelivered = [&](const MacroEvent&) { host_.foreground = false; };
  ASSERT_TRUE(recorder_.startPlay());
  host_.pump();
  EXPECT_EQ(host_.delivered.size(), 2u);
  EXPECT_EQ(host_.owner, std::vector<OwnerCode>{kPlaybackAborted});
}

TEST_F(MacroRecorderTest, AbortPlaybackStopsQuietlyWithCodeThree) {
  RecordShiftAb();
  host_.onDelivered = [&](const MacroEvent& e) {
    if (e.paramL == 'A' && e.message == 0x101) recorder_.abortPlayback();
  };
  ASSERT_TRUE(recorder_.startPlay());
  host_.pump();
  EXPECT_EQ(host_.delivered.size(), 3u);
  EXPECT_TRUE(host_.notices.empty());
  EXPECT_EQ(host_.owner, std::vector<OwnerCode>{kPlaybackStopped});
  EXPECT_EQ(host_.keysMarkedUp, 1);
  EXPECT_FALSE(recorder_.playing());
  // Without playback nothing happens.
  recorder_.abortPlayback();
  EXPECT_TRUE(host_.queue.empty());
}

TEST_F(MacroRecorderTest, AStopLeftOverFromOnePlaybackNeverEndsTheNext) {
  RecordShiftAb();
  // The program asks to stop while the last event is being taken: the finished report is already queued.
  host_.onDelivered = [&](const MacroEvent& e) {
    if (e.paramL == 'B' && e.message == 0x101 && host_.owner.empty()) recorder_.abortPlayback();
  };
  host_.onOwner = [&](OwnerCode code) {
    if (code == kPlaybackFinished && host_.owner.size() == 1) EXPECT_TRUE(recorder_.startPlay());
  };
  ASSERT_TRUE(recorder_.startPlay());
  host_.pump();
  EXPECT_EQ(host_.owner, (std::vector<OwnerCode>{kPlaybackFinished, kPlaybackFinished}));
  EXPECT_EQ(host_.delivered.size(), 12u);
}

TEST_F(MacroRecorderTest, DestroyedMacroWindowEndsRecordingOrPlayback) {
  ASSERT_TRUE(recorder_.startRecord());
  recorder_.recorded(Key(0x100, 'A'));
  recorder_.windowDestroyed();
  EXPECT_FALSE(recorder_.recording());
  EXPECT_FALSE(host_.hookOn);
  EXPECT_EQ(host_.owner, std::vector<OwnerCode>{kRecordingEnded});
  ASSERT_TRUE(recorder_.startPlay());
  recorder_.windowDestroyed();
  EXPECT_FALSE(recorder_.playing());
  EXPECT_EQ(host_.owner, (std::vector<OwnerCode>{kRecordingEnded, kPlaybackFinished}));
  host_.pump();   // the event still queued reaches the program, and nothing follows it
  EXPECT_EQ(host_.delivered.size(), 1u);
}

TEST_F(MacroRecorderTest, FailedSessionLeavesTheStateIdle) {
  host_.failOpen = true;
  EXPECT_FALSE(recorder_.startRecord());
  EXPECT_FALSE(recorder_.recording());
  host_.failOpen = false;
  RecordShiftAb();
  host_.failOpen = true;
  EXPECT_FALSE(recorder_.startPlay());
  EXPECT_FALSE(recorder_.playing());
}

TEST_F(MacroRecorderTest, EscTestsLatchAndClear) {
  EXPECT_FALSE(recorder_.isEscPressed());
  host_.esc = true;
  EXPECT_TRUE(recorder_.isEscPressed());
  host_.esc = false;
  // The latch answers once for the private test.
  EXPECT_TRUE(recorder_.isPrivEscPressed());
  EXPECT_FALSE(recorder_.isPrivEscPressed());
  // A fresh public test without Esc clears the latch.
  host_.esc = true;
  recorder_.isEscPressed();
  host_.esc = false;
  EXPECT_FALSE(recorder_.isEscPressed());
  EXPECT_FALSE(recorder_.isPrivEscPressed());
  // Esc down while another program is in the foreground is not ours.
  host_.esc = true;
  host_.foreground = false;
  EXPECT_FALSE(recorder_.isEscPressed());
  EXPECT_FALSE(recorder_.isPrivEscPressed());
}

TEST_F(MacroRecorderTest, EatEscRemovesPressesWhileOnAndThoseQueuedBeforeItWentOff) {
  EXPECT_FALSE(recorder_.shouldEatEsc(host_.tick));
  // Long after start-up the tick count is past 2^31: nothing is eaten before eating was ever used.
  host_.tick = 0x90000000u;
  EXPECT_FALSE(recorder_.shouldEatEsc(host_.tick - 1));
  recorder_.setEatEsc(true);
  EXPECT_TRUE(recorder_.shouldEatEsc(host_.tick + 100));
  recorder_.setEatEsc(false);
  EXPECT_TRUE(recorder_.shouldEatEsc(host_.tick - 3));
  EXPECT_FALSE(recorder_.shouldEatEsc(host_.tick + 1));
  // Much later, a tick count that wrapped around does not look old.
  host_.tick += 0x80000100u;
  EXPECT_FALSE(recorder_.shouldEatEsc(host_.tick - 1));
}

TEST(KeyStateTest, ModifiersFollowKeyDownsAndUps) {
  KeyState keys;
  MacroEvent ctrl = Key(0x100, 0x11);
  ctrl.paramL |= 0x1D00;
  keys.apply(ctrl);
  EXPECT_TRUE(keys.down(0x11));
  EXPECT_TRUE(keys.down(0xA2));
  MacroEvent altGr = Key(0x104, 0x12);
  altGr.paramL |= 0x38 << 8 | 0x100 << 8;   // extended: the right Alt
  keys.apply(altGr);
  EXPECT_TRUE(keys.down(0xA5));
  EXPECT_FALSE(keys.down(0xA4));
  keys.apply(Key(0x102, 'a'));   // characters change nothing
  ctrl.message = 0x101;
  keys.apply(ctrl);
  EXPECT_FALSE(keys.down(0x11));
  uint8_t state[256] = {};
  state[0x14] = 0x01;   // Caps Lock toggled stays toggled
  state[0x41] = 0x80;   // a key down outside the macro reads up during replay
  keys.writeInto(state);
  EXPECT_EQ(state[0x14], 0x01);
  EXPECT_EQ(state[0x41], 0x00);
  EXPECT_EQ(state[0x12], 0x80);
}

}  // namespace
