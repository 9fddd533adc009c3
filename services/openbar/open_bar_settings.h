// The Open Bar's settings: the bar and font keys under "Openbar..." in [Extended], the lists as sections
// "Child0", "Child1" ..., and the open-search directories in [Open Search].
//
// Reading is bounded: titles, directories and filters are cut to 260 characters, the font face to 32, and at most
// 60 lists are read. The list sections end at the first one whose "Title" or "Dir" is empty, so a save always
// writes one empty section after the last list and a longer, older list left in the file is never read.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "services/openbar/file_store.h"
#include "services/settings_store.h"

namespace osk {

constexpr int32_t kMaxOpenBarLists = 60;
constexpr size_t kMaxListText = 260;
constexpr size_t kMaxFontFace = 32;

struct OpenBarRect {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
};

struct OpenBarSettings {
  int32_t seqNo = -1;
  bool visible = true;
  bool asPopup = false;
  OpenBarRect rect;
  bool vertical = true;
  bool botRight = false;
  int32_t width = 80;
  int32_t height = 100;
  bool posVertical = true;
  int32_t fontHeight = 0;
  int32_t weight = 0;
  bool italic = false;
  bool maximised = false;
  bool autoRefresh = true;
  std::string fontFace;   // empty means "Arial"
};

// What describes one list, as the settings and the list settings dialog hold it.
struct OpenBarListInfo {
  std::string title;
  std::string directory;
  std::string filters = "*.*";
  SortType sort = SortType::ByName;
  int32_t position = 0;
  bool selected = false;
};

// The face to create the list font with.
std::string fontFaceOrDefault(const OpenBarSettings& settings);

// `current` gives the rectangle keys their defaults.
OpenBarSettings readOpenBarSettings(SettingsStore& store, const OpenBarRect& current);
void writeOpenBarSettings(SettingsStore& store, const OpenBarSettings& settings);

// The lists as saved, each non-empty directory passed through `fullPath`. When no list is saved the answer is the
// one default list: directory "c:\", filter "*.*", title "Dir", selected.
std::vector<OpenBarListInfo> readOpenBarLists(SettingsStore& store,
                                              const std::function<std::string(const std::string&)>& fullPath);
// Writes Child0 ... for the lists, each directory through `shortPath` (which answers its argument when there is no
// short form), then one more section with empty "Title", "Dir" and "Filters".
void writeOpenBarLists(SettingsStore& store, const std::vector<OpenBarListInfo>& lists,
                       const std::function<std::string(const std::string&)>& shortPath);

// Normalises a list description from a dialog or the settings: texts cut to their bounds, blanks around them dropped, an empty
// filter string made "*.*", an unknown sort type made "By Name".
OpenBarListInfo boundedListInfo(OpenBarListInfo info);

// The patterns of a filter string: split at ";", blanks around each dropped, empty ones left out.
std::vector<std::string> splitFilters(std::string_view filters);

// Directory and file name joined with one backslash between them.
std::string joinPath(std::string_view directory, std::string_view name);

// ---- Open-search directories ----

std::vector<std::string> readSearchDirectories(SettingsStore& store);
// Keys "1", "2" ... and one empty key after the last.
void writeSearchDirectories(SettingsStore& store, const std::vector<std::string>& directories);

enum class SearchDirectoryCheck { Ok, Duplicate, Invalid };
// Whether `candidate` may join `existing`: equal names (without regard to case or a trailing backslash) are
// duplicates; an empty name or one that `isDirectory` refuses is invalid.
SearchDirectoryCheck checkSearchDirectory(const std::vector<std::string>& existing, std::string_view candidate,
                                          const std::function<bool(const std::string&)>& isDirectory);
const char* searchDirectoryMessage(SearchDirectoryCheck check);

}  // namespace osk
