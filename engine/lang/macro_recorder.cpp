#include "engine/lang/macro_recorder.h"

namespace osk::macro {

namespace {

// An eat-Esc moment older than this no longer eats anything: tick counts wrap, and a queued key press is taken
// long before this.
constexpr uint32_t kEatWindowMs = 10000;

}  // namespace

const char* noticeText(Notice notice) {
  switch (notice) {
    case Notice::kBufferFull: return "Keyboard macro buffer full. Recording terminated.";
    case Notice::kTaskSwitch: return "You cannot switch tasks during record.\nRecord aborted!";
    case Notice::kPlaybackAborted: return "Playback aborted.";
  }
  return "";
}

bool MacroRecorder::startRecord() {
  if (recording_ || playing_) return false;
  ++session_;
  macro_.clear();
  index_ = 0;
  if (!host_.openSession(false)) return false;
  recording_ = hooked_ = windowOpen_ = true;
  stopping_ = false;
  return true;
}

bool MacroRecorder::stopRecord() {
  if (!recording_) return false;
  endRecording(true);
  return true;
}

void MacroRecorder::recorded(const MacroEvent& event) {
  if (!recording_ || !hooked_) return;
  if (!host_.foregroundIsOurs()) {
    host_.stopHook();
    hooked_ = false;
    macro_.clear();
    host_.postReport(kReportTaskSwitch, session_);
    return;
  }
  if (!isKeyMessage(event.message)) return;
  if (macro_.full()) {
    // The events so far stay; recording ends once the macro window has told the user.
    host_.stopHook();
    hooked_ = false;
    host_.postReport(kReportBufferFull, session_);
    return;
  }
  macro_.append(event);
}

bool MacroRecorder::startPlay() {
  if (recording_ || playing_ || !macro_.present()) return false;
  ++session_;
  index_ = 0;
  escLatch_ = false;
  keys_ = KeyState();
  if (!host_.openSession(true)) return false;
  playing_ = hooked_ = windowOpen_ = true;
  stopping_ = false;
  host_.inject(macro_[0]);
  return true;
}

void MacroRecorder::taken() {
  if (!playing_ || !hooked_ || stopping_ || index_ >= macro_.count()) return;
  keys_.apply(macro_[index_]);
  host_.setKeys(keys_);
  if (!host_.foregroundIsOurs() || isPrivEscPressed()) {
    // The Esc that stopped playback is still queued: it is eaten by time.
    noteEatEnd();
    stopping_ = true;
    host_.postReport(kReportAbort, session_);
    return;
  }
  if (++index_ >= macro_.count()) {
    host_.stopHook();
    hooked_ = false;
    host_.postReport(kReportFinished, session_);
    return;
  }
  host_.postAdvance(session_);
}

void MacroRecorder::advance(uint32_t session) {
  if (session != session_ || !playing_ || !hooked_ || stopping_ || index_ >= macro_.count()) return;
  host_.inject(macro_[index_]);
}

void MacroRecorder::abortPlayback() {
  if (!playing_) return;
  if (hooked_) host_.stopHook();
  hooked_ = false;
  stopping_ = true;
  host_.postReport(kReportStop, session_);
}

void MacroRecorder::report(int32_t code, uint32_t session) {
  if (session != session_) return;
  switch (code) {
    case kReportBufferFull:
      if (!recording_) return;
      host_.showNotice(Notice::kBufferFull);
      endRecording(true);
      return;
    case kReportTaskSwitch:
      if (!recording_) return;
      host_.showNotice(Notice::kTaskSwitch);
      endRecording(true);
      return;
    case kReportFinished:
      if (playing_) endPlaying(kPlaybackFinished);
      return;
    case kReportStop:
      if (playing_) endPlaying(kPlaybackStopped);
      return;
    case kReportAbort:
      if (playing_) endPlaying(kPlaybackAborted);
      return;
    default: return;
  }
}

void MacroRecorder::windowDestroyed() {
  if (!windowOpen_) return;
  windowOpen_ = false;
  if (recording_) {
    endRecording(true);
  } else if (playing_) {
    endPlaying(kPlaybackFinished);
  }
}

void MacroRecorder::endRecording(bool notify) {
  if (hooked_) host_.stopHook();
  hooked_ = false;
  recording_ = false;
  if (windowOpen_) {
    windowOpen_ = false;
    host_.closeSession();
  }
  if (notify) host_.notifyOwner(kRecordingEnded);
}

void MacroRecorder::endPlaying(OwnerCode code) {
  if (hooked_) host_.stopHook();
  hooked_ = false;
  playing_ = false;
  stopping_ = false;
  if (windowOpen_) {
    windowOpen_ = false;
    host_.closeSession();
  }
  if (code != kPlaybackFinished) host_.markKeysUp();
  if (code == kPlaybackAborted) host_.showNotice(Notice::kPlaybackAborted);
  // Last, because the owner may start the next play from inside the notification.
  host_.notifyOwner(code);
}

bool MacroRecorder::isEscPressed() {
  escLatch_ = host_.escDown() && host_.foregroundIsOurs();
  return escLatch_;
}

bool MacroRecorder::isPrivEscPressed() {
  const bool pressed = escLatch_ || (host_.escDown() && host_.foregroundIsOurs());
  escLatch_ = false;
  return pressed;
}

void MacroRecorder::setEatEsc(bool on) {
  eatEsc_ = on;
  if (!on) noteEatEnd();
}

void MacroRecorder::noteEatEnd() {
  eatEnd_ = host_.tickCount();
  eatEndSet_ = true;
}

bool MacroRecorder::shouldEatEsc(uint32_t messageTime) {
  if (eatEsc_) return true;
  if (!eatEndSet_) return false;
  if (host_.tickCount() - eatEnd_ > kEatWindowMs) {
    eatEndSet_ = false;
    return false;
  }
  return static_cast<int32_t>(messageTime - eatEnd_) <= 0;
}

}  // namespace osk::macro
