// The session: the document windows open at the last shutdown, kept as numbered lines "1", "2", ... of the
// settings file's [State] section, and the two sequences that use them: restoring a session, and shutting down.
//
// Session line: "\"%s\" %u %lu %u %u %d %d %d %d %d %d %d %d": the full name in double quotes, the caret column
// and line, the read-only choice, a reserved word (0), then the eight per-file settings. Parsing takes values a
// line leaves out from the per-file defaults (column and line 1, read-only 0), brings the caret into 1 to 1025
// columns and lines from 1 up, and validates the settings. The list ends at the first missing or empty key; the
// writer ends it with an empty key after the last line.
//
// Shutdown asks every document in turn; a document that refuses, a Cancel, or a save that fails stops the whole
// shutdown with nothing written and every document still open. Only when every document agreed are the session
// lines, the terminating key and then the settings written.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/per_file_settings.h"
#include "services/settings_store.h"

namespace osk::app {

inline constexpr uint32_t kMaxCaretColumn = kMaxCells + 1;   // behind the last character of a full line

struct SessionLine {
  std::string name;
  uint32_t column = 1;
  uint32_t line = 1;
  int32_t readOnly = 0;   // 1 when the user chose read-only, not when the file itself is read-only
  PerFileSettings settings;

  bool operator==(const SessionLine&) const = default;
};

std::string formatSessionLine(const SessionLine& line);
// Nothing for a line without a name, with a name longer than 260 characters, or with a quote left open.
std::optional<SessionLine> parseSessionLine(std::string_view text, const PerFileSettings& defaults);

// Key `n` (from 1) of the session list: its line, or nothing when the key is missing, empty or not a line.
std::optional<SessionLine> readSessionLine(SettingsStore& store, std::size_t n, const PerFileSettings& defaults);
// Writes the lines as keys 1 to n and key n + 1 empty.
void writeSessionLines(SettingsStore& store, const std::vector<SessionLine>& lines);

// What restoring a session needs from the shell.
class SessionOpener {
 public:
  virtual ~SessionOpener() = default;
  // The per-file defaults and the open-read-only choice that the next open uses.
  virtual PerFileSettings defaults() const = 0;
  virtual void setDefaults(const PerFileSettings& settings) = 0;
  virtual void setOpenReadOnly(bool readOnly) = 0;
  // Opens the file as a document window; false when it could not (the shell has told the user why).
  virtual bool open(const std::string& name) = 0;
  // Puts the caret of the document just opened at the line and column and brings it into view.
  virtual void placeCaret(uint32_t line, uint32_t column) = 0;
};

// Opens the documents of the last session in order and stops at the first that does not open (those before it
// stay open). The defaults and the read-only choice are each file's own only for its open, and are back as they
// were afterwards. Returns how many documents were opened.
std::size_t restoreSession(SettingsStore& store, SessionOpener& opener);

enum class SaveAnswer { Yes, No, Cancel };

// What shutting down needs from the shell. Documents are named by an id the shell chooses (its window handle).
class ShutdownHost {
 public:
  virtual ~ShutdownHost() = default;
  // The document windows in MDI order.
  virtual std::vector<std::uintptr_t> documents() = 0;
  virtual bool refusesToClose(std::uintptr_t document) = 0;
  virtual bool isModified(std::uintptr_t document) = 0;
  // "Save changes to file %s ?"
  virtual SaveAnswer askToSave(std::uintptr_t document) = 0;
  // Saves the document (an untitled one through the Save As dialog); false when it was not saved.
  virtual bool save(std::uintptr_t document) = 0;
  virtual void updateHistory(std::uintptr_t document) = 0;
  // The document's session line; nothing for an untitled document.
  virtual std::optional<SessionLine> sessionLine(std::uintptr_t document) = 0;
  // Writes all the other settings; called after the session lines.
  virtual void writeSettings() = 0;
};

enum class ShutdownResult { Agreed, Cancelled };

ShutdownResult shutDown(SettingsStore& store, ShutdownHost& host);

}  // namespace osk::app
