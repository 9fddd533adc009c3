// Search and replace over the documents' buffers: where a search starts and ends, the search area taken from a
// selection, wrapping within a file and across the document windows, whole words, and the repeated operations
// (Replace All, Count, Bookmark). Acts on the engine's current editor window through the exported functions; the
// program around it (the order of the document windows, the question at the end of the area, Esc) is a SearchHost.
//
// Positions are 1-based caret positions: column c stands before the character at column c, so a match covers
// the columns [first, first + length). A line holds at most 1024 characters; a replacement that would make it
// longer cuts it at 1024.
//
// Every repeated operation ends: a pass that has wrapped round stops where the operation began (on that line a
// forward pass counts only matches that start before it, a backward pass only matches that end after it), so a
// replacement that contains its own match is made once per original match. The starting point moves with the
// text when a replacement before it on its line changes the line's length.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "app/shell_settings.h"
#include "engine/ecd_types.h"
#include "engine/edit_api.h"

namespace osk::app {

class WordPattern;

inline constexpr std::size_t kMaxSearchChars = 256;

struct TextPosition {
  int32_t line = 0;
  int32_t column = 0;
  bool operator==(const TextPosition&) const = default;
};

struct SearchMatch {
  int32_t line = 0;
  int32_t column = 0;   // first character
  int32_t length = 0;
  int32_t end() const { return column + length; }
};

// A selection turned into the part of the text a search may look at.
struct SearchArea {
  int32_t markType = 0;   // 1 stream, 2 lines, 3 columns
  TextPosition start;     // stream: first position; lines: column 1 of the first line
  TextPosition end;       // stream: the position after the last character; lines: the last line, column 1025
  int32_t firstCell = 0, lastCell = 0;   // columns: the cells [firstCell, lastCell) on every line
};

enum class SearchOutcome { kFound, kNotFound, kAborted, kInvalidPattern, kInvalidSubstitution, kNoDocument };

struct SearchReport {
  SearchOutcome outcome = SearchOutcome::kNotFound;
  uint32_t count = 0;   // matches counted or bookmarked, replacements made
};

// What a search needs from the program around it.
class SearchHost {
 public:
  virtual ~SearchHost() = default;
  // The editor window of the document window after (forward) or before `editor` in the window order; null when
  // there is no other.
  virtual OskWindow adjacentDocument(OskWindow editor, bool forward) = 0;
  // Makes the document window of `editor` the active one; the engine's current target follows.
  virtual void activate(OskWindow editor) = 0;
  // "Finished searching the selected area. Do you want to continue the search?"; true for yes.
  virtual bool continueBeyondArea() = 0;
  // Called now and then during long work with the line reached; true when the user asked to stop (Esc).
  virtual bool stopRequested(int32_t line) = 0;
  // Long work starts and ends (the hourglass and the gauge with its caption).
  virtual void beginWork(const char* caption) = 0;
  virtual void endWork() = 0;
};

class SearchSession {
 public:
  SearchSession(SearchHost& host, const WordPattern& words);

  SearchOptions options;
  std::string text;          // at most 256 characters
  std::string replacement;   // at most 256 characters

  // The dialog became active: the current editor's selection becomes the search area and the found state is
  // cleared.
  void takeArea();
  void dropArea();
  const std::optional<SearchArea>& area() const { return area_; }
  // The search text was edited or another remembered one chosen.
  void forgetFound() { found_.reset(); }
  // Whether the current editor's selection is the match found last (what Replace acts on).
  bool selectionIsFound() const;

  // The next match from the caret (or the area's start) in the direction set, or `forward` for this one search:
  // selected and brought into view. Nothing found: the caret and selection are as they were, in the window where
  // the search began.
  SearchReport findNext(std::optional<bool> forward = std::nullopt);
  // Replaces the found selection and finds the next match. kNotFound without a found selection.
  SearchReport replace();
  // Replaces every match within the scope, each buffer's changes one undo step; read-only documents are passed
  // over. The caret ends after the last replacement, in its window.
  SearchReport replaceAll();
  // Counts the matches within the scope; the caret and selection stay as they were.
  SearchReport count();
  // Sets the bookmark of every line with a match (one undo step per buffer); counts the matches.
  SearchReport bookmark();

 private:
  enum class Repeat { kCount, kBookmark, kReplace };
  struct Walk;
  SearchReport repeat(Repeat what);
  bool nextMatch(Walk& walk, void* pattern, SearchMatch& match, bool& aborted);
  bool searchPass(Walk& walk, void* pattern, SearchMatch& match, bool& aborted);
  bool acceptable(const Walk& walk, const std::string& line, const SearchMatch& m) const;
  bool searchLine(const Walk& walk, void* pattern, int32_t lineNumber, const std::string& line, int32_t from,
                  SearchMatch& match) const;
  void lineRange(int32_t line, int32_t& lo, int32_t& hi) const;

  SearchHost& host_;
  const WordPattern& words_;
  std::optional<SearchArea> area_;
  OskWindow areaWindow_ = nullptr;
  EcdCaretState areaSelection_{};   // the selection the area was taken from, given back when a search ends in it
  bool areaMatched_ = false;
  struct Found {
    OskWindow window;
    SearchMatch match;
    bool forward;
    std::string text;   // what was searched for, and how
    bool regEx;
    bool matchCase;
  };
  std::optional<Found> found_;
  // The match this session selected last: a selection that is only that match never becomes an area.
  std::optional<Found> selected_;
  // The text of the line the search read last, which a replacement of its match starts from.
  std::string heldText_;
  int32_t heldLine_ = 0;
};

// Replaces `match` on its line by `expansion` as one line replacement: a line that would pass 1024 characters
// loses its end, or, when the expansion itself reaches past column 1024, the expansion is cut there and the rest
// of the line dropped. Returns the caret position after the inserted text.
int32_t replaceInLine(const SearchMatch& match, const std::string& expansion);
// The same when the line's present text is at hand.
int32_t replaceInLine(const SearchMatch& match, const std::string& expansion, const std::string& line);

// The expression menus: a fragment typed into a field's text over its selection [selStart, selEnd), where the
// codes F0 (hex) move the insertion point one character left, F1 to the start of the text and F2 to its end.
struct EditedField {
  std::string text;
  int32_t caret = 0;
};
EditedField insertFragment(std::string_view text, int32_t selStart, int32_t selEnd, std::string_view fragment);
// The fragment of an item of the search text's menu (0 "Any Character" to 10 "Form Feed Character") and of the
// replacement's menu (0 "Matched Text", 1 to 9 the tagged expressions); empty for other items.
std::string findHelperFragment(int item);
std::string replaceHelperFragment(int item);

// The first argument of a command parameter: a quoted text without its quotes, else the text up to a blank.
std::string firstArgument(std::string_view parameter);

// Called whenever a search finds nothing (not when it was stopped): the keystroke macro player stops a repeated
// play here when "Stop if Find Fails" is on. Empty by default.
using SearchFailedHook = void (*)();
void setSearchFailedHook(SearchFailedHook hook);
void searchFailed();

}  // namespace osk::app
