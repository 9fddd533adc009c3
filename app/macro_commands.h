// The program's side of keystroke macros, free of the window system: when a macro may be played, how a repeated
// play goes on or stops, the start-up lock, and the list of macro files that the macro menu shows.
//
// The engine records and plays; MacroRunState decides. A repeated play ends when its plays run out, when a stop
// condition fires that its flags ask for, or when the engine reports a stop or an abort; stop conditions are
// ignored while no repeated play runs. MacroFileList holds at most nine numbered files (items 16000 to 16008) and
// knows whether "&More Macros..." (16009) follows; a file already listed is never listed twice.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/editing_commands.h"
#include "app/shell_settings.h"

namespace osk::app {

inline constexpr char kMacroRecordingText[] = "Recording macro ...";
inline constexpr char kMacroRecordedText[] = "Macro recorded";
inline constexpr char kMacroPlayingText[] = "Playing macro (ESC to abort)";
inline constexpr char kMacroReplayedText[] = "Replayed keystroke macro";
inline constexpr char kMacroRepeatStoppedText[] = "Repeat replay stopped";
inline constexpr char kMacroAbortedText[] = "Replay aborted";
inline constexpr char kMacroLoadErrorText[] = "Error loading macro file";
inline constexpr char kMacroSaveErrorText[] = "Error saving macro file";
inline constexpr char kMacroFilter[] = "*.kbd";

// What the engine says about its recorder and player.
struct MacroEngineState {
  bool recording = false;
  bool playing = false;
  bool macroPresent = false;
};

// The places where other commands end a repeated play.
enum class MacroStop {
  kFindFailed,          // Find Next or FindRepeat found nothing
  kColumnClamped,       // the editor held the caret at the start or maximum length of a line (1135)
  kLineClamped,         // the editor held the caret at the start or end of the file (1136)
  kLastWindowClosed,    // a document window closed and none remains (1531)
  kBookmarkFailed,      // Next or Previous Bookmark found none
};

// A caret move that left the caret where it was ran into an edge: the start or end of the file for the moves up and
// down, the start or maximum length of the line for the moves left and right. None for the other moves, and for a
// move that moved.
std::optional<MacroStop> heldCaretStop(CaretMove move, bool moved);

// The engine's end-of-play notification codes.
enum class MacroEnd : int32_t { kRecordingEnded = 1, kFinished = 2, kStopped = 3, kAborted = 4 };

class MacroRunState {
 public:
  // Play and repeat play need an idle recorder, a macro, and no start-up lock.
  bool canPlay(const MacroEngineState& engine) const;

  // A single play starts: any repeat ends.
  void playOnce();
  // The repeat dialog was left with "&Play" and these settings: true when a play is to start. "Stop After" with
  // fewer than one play plays nothing.
  bool startRepeat(const RepeatPlayFlags& flags);
  // The engine could not start the play that was decided on.
  void playRefused();

  struct AfterEnd {
    bool playAgain = false;
    std::string status;   // empty: the status bar keeps its text
  };
  AfterEnd ended(MacroEnd code);

  // Whether a stop condition ends the play that runs now; `playing` is the engine's state, `documentsLeft` the
  // number of document windows (read for kLastWindowClosed only).
  bool shouldStop(MacroStop stop, bool playing, std::size_t documentsLeft = 0) const;

  // The start-up macro was played: plays are refused until a macro file is loaded.
  void lockAfterStartupPlay() { locked_ = true; }
  void macroFileLoaded() { locked_ = false; }
  bool locked() const { return locked_; }

  bool repeating() const { return repeat_; }
  int32_t playsRemaining() const { return remaining_; }

 private:
  RepeatPlayFlags flags_;
  bool repeat_ = false;
  int32_t remaining_ = 0;
  bool locked_ = false;
};

// "&%c) %s" with the digit of `index` (0 gives '1') and the full name.
std::string macroMenuText(std::size_t index, std::string_view fullName);
// The pattern that finds the macro files of a folder (a trailing backslash of the folder is dropped).
std::string macroSearchPattern(std::string_view folder);
// The full name of a file found in the folder.
std::string macroFullName(std::string_view folder, std::string_view name);

class MacroFileList {
 public:
  static constexpr uint32_t kFirstId = 16000;
  static constexpr uint32_t kMoreId = 16009;
  static constexpr std::size_t kMaxNumbered = 9;

  // The files found in the macro folder, in the order found: the first nine are numbered, a tenth adds
  // "&More Macros...".
  void build(const std::vector<std::string>& fullNames);
  // A file just saved. False when the list does not change: already listed (names compare without regard to
  // case), or nine listed and "&More Macros..." already there.
  bool add(std::string_view fullName);

  struct Item {
    uint32_t id;
    std::string text;
  };
  // The numbered items, then "&More Macros..." when there are more files.
  std::vector<Item> items() const;
  // The file of a numbered item; none for 16009 or an id not listed.
  std::optional<std::string> fileOf(uint32_t id) const;
  std::size_t count() const { return files_.size(); }
  bool hasMore() const { return more_; }

 private:
  std::vector<std::string> files_;
  bool more_ = false;
};

// The number typed beside "Stop After": digits only, at most seven; anything else counts as none (0).
int32_t parsePlayCount(std::string_view text);

}  // namespace osk::app
