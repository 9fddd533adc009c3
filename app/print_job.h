// What the print commands decide before anything reaches a printer: what to print (the whole document or only its
// mark), the temporary file the engine writes the print stream into, the name and date the pages carry, and what
// the engine's answer to the stream request means.
//
// Limits: the document name handed to the printing is at most 260 characters; the temporary file name is made in
// the given directory with the prefix "prn" and never names a file that already existed.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace osk::app {

inline constexpr char kPrepareCaption[] = "Preparing to Print (Esc to Cancel)";
inline constexpr char kSelectionQuestion[] = "Print selection only?";
inline constexpr char kStreamFailed[] = "Failed to create temporary file";
inline constexpr size_t kPrintNameLimit = 260;

// The request of the editor window's print stream message: the progress caption, the stream file, and whether
// only the mark is printed. Its layout is the engine's.
struct PrintStreamRequest {
  const char* caption;
  const char* fileName;
  int32_t selectionOnly;
};

enum class MarkAnswer { kYes, kNo, kCancel };
enum class PrintScope { kNothing, kDocument, kSelection };

// Without a mark the whole document prints and nobody is asked; with one the answer decides.
PrintScope printScope(bool hasMark, MarkAnswer answer);

// The name the pages carry ("&File", "&Path"): the document's own file when it has one; for an untitled
// document its window title without the modified star, the blanks around it and the read-only note.
std::string printDocumentName(std::string_view fileName, std::string_view windowTitle);

// The date printed as the document's ("&FDate", "&FTime"), in seconds since 1970. Print takes the file's time;
// a preview takes it only while the buffer holds no unsaved changes, for the text shown is the buffer's. Without
// a file time (an untitled document, a file that cannot be read) the current time stands in.
struct PrintDateSources {
  bool forPreview = false;
  bool modified = false;
  std::optional<int64_t> fileTime;
  int64_t now = 0;
};
int64_t printDate(const PrintDateSources& sources);

enum class StreamOutcome { kWritten, kCancelled, kFailed };
// The engine answers 0 when the stream is written, -34 when the user pressed Esc, anything else on failure.
StreamOutcome streamOutcome(int32_t engineAnswer);

// Makes a new, empty temporary file "prnXXXX.tmp" (XXXX four hex digits) in `directory`, trying the numbers from
// `seed` on. `createNew` creates the named file only when it does not exist yet. Empty when every number is taken
// or a file cannot be made for another reason than its existing (a missing or read-only directory).
enum class CreateResult { kCreated, kExists, kFailed };
std::string makeTemporaryPrintFile(std::string_view directory, uint32_t seed,
                                   const std::function<CreateResult(const std::string&)>& createNew);

// The preview commands that call a preview operation, by name: "PPNextPage" 1, "PPPrevPage" 2, "PPZoomIn" 3,
// "PPZoomOut" 4, "PPSinglePage" 5, "PPDoublePage" 6; nothing for any other name.
std::optional<int32_t> previewOperation(std::string_view commandName);
// The answer of a preview command's enabling test (bit 0 disabled, bit 1 checked): 0 when the operation is
// possible; 1 when not, or when no preview is open; 2 for single and double page when not possible while a
// preview is open, for then that is the page count shown.
int32_t previewTestAnswer(int32_t operation, bool previewOpen, bool possible);

}  // namespace osk::app
