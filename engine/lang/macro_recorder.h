// The keystroke recorder and player: the process-wide macro, the recording and playing states, the reports that
// the hidden macro window serves, the owner notifications, and the Esc tests with their eat-Esc rule.
//
// The platform side (MacroHost) catches key messages in the program's own thread and hands them in, injects the
// event asked for, and turns reports into messages to the macro window so that message boxes and owner
// notifications never happen inside a hook. Recording and playing exclude each other. Every report carries the
// number of the session that posted it; a report left over from an earlier session is ignored, so a stop meant
// for one playback can never end the next one.
#pragma once

#include <cstdint>

#include "engine/lang/macro_buffer.h"

namespace osk::macro {

// Owner notification: message 1324 with one of these as its first parameter.
constexpr uint32_t kOwnerNotification = 1324;
enum OwnerCode : int32_t {
  kRecordingEnded = 1,
  kPlaybackFinished = 2,
  kPlaybackStopped = 3,
  kPlaybackAborted = 4,
};

// Reports to the macro window (its message WM_USER with the code).
enum Report : int32_t {
  kReportBufferFull = 1,
  kReportFinished = 2,
  kReportTaskSwitch = 3,
  kReportStop = 4,
  kReportAbort = 5,
};

enum class Notice { kBufferFull, kTaskSwitch, kPlaybackAborted };
const char* noticeText(Notice notice);

class MacroHost {
 public:
  virtual ~MacroHost() = default;
  // The foreground window belongs to the thread that records or plays (the calling thread).
  virtual bool foregroundIsOurs() = 0;
  virtual bool escDown() = 0;
  virtual uint32_t tickCount() = 0;
  // Creates the macro window and starts catching (recording) or injecting (playing) key messages.
  virtual bool openSession(bool playing) = 0;
  // Stops catching or injecting; the macro window stays until closeSession.
  virtual void stopHook() = 0;
  virtual void closeSession() = 0;
  virtual void postReport(int32_t report, uint32_t session) = 0;
  // Asks for advance() once the program has dealt with the event just taken.
  virtual void postAdvance(uint32_t session) = 0;
  virtual void inject(const MacroEvent& event) = 0;
  // Sets the thread's keyboard state to these keys for the event being taken.
  virtual void setKeys(const KeyState& keys) = 0;
  virtual void markKeysUp() = 0;
  virtual void showNotice(Notice notice) = 0;
  virtual void notifyOwner(OwnerCode code) = 0;
};

class MacroRecorder {
 public:
  explicit MacroRecorder(MacroHost& host) : host_(host) {}

  KeystrokeMacro& macro() { return macro_; }
  const KeystrokeMacro& macro() const { return macro_; }
  bool recording() const { return recording_; }
  bool playing() const { return playing_; }
  uint32_t session() const { return session_; }
  int32_t nextIndex() const { return index_; }

  // Recording: empties the macro. false when already recording or playing, or the session cannot be opened.
  bool startRecord();
  bool stopRecord();
  // A message the thread took from its queue while recording (ignored otherwise).
  void recorded(const MacroEvent& event);

  // Playing: false when recording, playing or without a macro.
  bool startPlay();
  // The injected event was taken by the program: the keys read as recorded, then the player moves on.
  void taken();
  // The program dealt with the last event taken: inject the next.
  void advance(uint32_t session);
  // Stops playback quietly (notification 3); nothing when no playback runs.
  void abortPlayback();

  // The macro window's reports, and its destruction from outside.
  void report(int32_t code, uint32_t session);
  void windowDestroyed();

  // Esc tests. isEscPressed latches its answer; isPrivEscPressed also answers yes for the latch, and clears it.
  bool isEscPressed();
  bool isPrivEscPressed();
  // While on, Esc key presses are removed; when turned off, those queued before that moment still are.
  void setEatEsc(bool on);
  bool shouldEatEsc(uint32_t messageTime);

 private:
  void endRecording(bool notify);
  void endPlaying(OwnerCode code);
  void noteEatEnd();

  MacroHost& host_;
  KeystrokeMacro macro_;
  KeyState keys_;
  bool recording_ = false;
  bool playing_ = false;
  bool hooked_ = false;
  bool stopping_ = false;        // a stop or abort report is on its way
  bool windowOpen_ = false;
  uint32_t session_ = 0;
  int32_t index_ = 0;
  bool escLatch_ = false;
  bool eatEsc_ = false;
  bool eatEndSet_ = false;
  uint32_t eatEnd_ = 0;
};

}  // namespace osk::macro
