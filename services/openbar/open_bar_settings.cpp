#include "services/openbar/open_bar_settings.h"

#include <string_view>

namespace osk {
namespace {

constexpr std::string_view kExtended = "Extended";
constexpr std::string_view kOpenSearch = "Open Search";

std::string key(std::string_view name) { return "Openbar" + std::string(name); }

std::string trimmed(std::string_view s) {
  const size_t first = s.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return std::string(s.substr(first, s.find_last_not_of(" \t") - first + 1));
}

std::string bounded(std::string_view s, size_t limit) {
  std::string t = trimmed(s);
  if (t.size() > limit) t.resize(limit);
  return t;
}

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string comparableDirectory(std::string_view s) {
  std::string t = trimmed(s);
  while (t.size() > 1 && (t.back() == '\\' || t.back() == '/')) t.pop_back();
  for (char& c : t) c = c == '/' ? '\\' : lower(c);
  return t;
}

}  // namespace

std::string fontFaceOrDefault(const OpenBarSettings& settings) {
  return settings.fontFace.empty() ? std::string("Arial") : settings.fontFace;
}

OpenBarSettings readOpenBarSettings(SettingsStore& s, const OpenBarRect& current) {
  OpenBarSettings o;
  o.seqNo = s.readInt(kExtended, key("SeqNo"), -1);
  o.visible = s.readInt(kExtended, key("Visible"), 1) != 0;
  o.asPopup = s.readInt(kExtended, key("AsPopup"), 0) != 0;
  o.rect.left = s.readInt(kExtended, key("Left"), current.left);
  o.rect.top = s.readInt(kExtended, key("Top"), current.top);
  o.rect.right = s.readInt(kExtended, key("Right"), current.right);
  o.rect.bottom = s.readInt(kExtended, key("Bottom"), current.bottom);
  o.vertical = s.readInt(kExtended, key("Vertical"), 1) != 0;
  o.botRight = s.readInt(kExtended, key("BotRight"), 0) != 0;
  o.width = s.readInt(kExtended, key("Width"), 80);
  o.height = s.readInt(kExtended, key("Height"), 100);
  o.posVertical = s.readInt(kExtended, key("PosVertical"), 1) != 0;
  o.fontHeight = s.readInt(kExtended, key("FontHeight"), 0);
  o.weight = s.readInt(kExtended, key("Weight"), 0);
  o.italic = s.readInt(kExtended, key("Italic"), 0) != 0;
  o.maximised = s.readInt(kExtended, key("Max"), 0) != 0;
  o.autoRefresh = s.readInt(kExtended, key("AutoRefresh"), 1) != 0;
  o.fontFace = bounded(s.readString(kExtended, "FontFace", "", kMaxFontFace), kMaxFontFace);
  // A width or height the bar cannot be shown at is taken as never set.
  if (o.width <= 0 || o.width > 10000) o.width = 80;
  if (o.height <= 0 || o.height > 10000) o.height = 100;
  if (o.weight < 0 || o.weight > 1000) o.weight = 0;
  if (o.fontHeight < -1000 || o.fontHeight > 1000) o.fontHeight = 0;
  return o;
}

void writeOpenBarSettings(SettingsStore& s, const OpenBarSettings& o) {
  auto put = [&s](std::string_view name, int32_t v) { s.writeString(kExtended, key(name), std::to_string(v)); };
  put("SeqNo", o.seqNo);
  put("Visible", o.visible);
  put("AsPopup", o.asPopup);
  put("Left", o.rect.left);
  put("Top", o.rect.top);
  put("Right", o.rect.right);
  put("Bottom", o.rect.bottom);
  put("Vertical", o.vertical);
  put("BotRight", o.botRight);
  put("Width", o.width);
  put("Height", o.height);
  put("PosVertical", o.posVertical);
  put("FontHeight", o.fontHeight);
  put("Weight", o.weight);
  put("Italic", o.italic);
  put("Max", o.maximised);
  put("AutoRefresh", o.autoRefresh);
  s.writeString(kExtended, "FontFace", profileQuoted(bounded(o.fontFace, kMaxFontFace)));
}

OpenBarListInfo boundedListInfo(OpenBarListInfo info) {
  info.title = bounded(info.title, kMaxListText);
  info.directory = bounded(info.directory, kMaxListText);
  info.filters = bounded(info.filters, kMaxListText);
  if (splitFilters(info.filters).empty()) info.filters = "*.*";
  if (info.sort != SortType::ByName && info.sort != SortType::ByType) info.sort = SortType::ByName;
  return info;
}

std::vector<OpenBarListInfo> readOpenBarLists(SettingsStore& s,
                                              const std::function<std::string(const std::string&)>& fullPath) {
  std::vector<OpenBarListInfo> lists;
  for (int32_t n = 0; n < kMaxOpenBarLists; ++n) {
    const std::string section = "Child" + std::to_string(n);
    OpenBarListInfo info;
    info.title = s.readString(section, "Title", "", kMaxListText);
    info.directory = s.readString(section, "Dir", "", kMaxListText);
    if (info.title.empty() || info.directory.empty()) break;
    info.filters = s.readString(section, "Filters", "", kMaxListText);
    info.sort = static_cast<SortType>(s.readInt(section, key("SortType"), 0));
    info.selected = s.readInt(section, key("Selected"), 0) != 0;
    info.position = s.readInt(section, key("Position"), n);
    if (fullPath) {
      const std::string full = fullPath(info.directory);
      if (!full.empty()) info.directory = full;
    }
    lists.push_back(boundedListInfo(std::move(info)));
  }
  if (lists.empty()) {
    OpenBarListInfo info;
    info.title = "Dir";
    info.directory = "c:\\";
    info.filters = "*.*";
    info.selected = true;
    lists.push_back(info);
  }
  return lists;
}

void writeOpenBarLists(SettingsStore& s, const std::vector<OpenBarListInfo>& lists,
                       const std::function<std::string(const std::string&)>& shortPath) {
  int32_t n = 0;
  for (const OpenBarListInfo& list : lists) {
    if (n == kMaxOpenBarLists) break;
    const std::string section = "Child" + std::to_string(n++);
    std::string dir = list.directory;
    if (shortPath) {
      const std::string shortDir = shortPath(dir);
      if (!shortDir.empty()) dir = shortDir;
    }
    s.writeString(section, "Title", profileQuoted(list.title));
    s.writeString(section, "Dir", profileQuoted(dir));
    s.writeString(section, "Filters", profileQuoted(list.filters));
    s.writeString(section, key("SortType"), std::to_string(static_cast<int32_t>(list.sort)));
    s.writeString(section, key("Selected"), list.selected ? "1" : "0");
    s.writeString(section, key("Position"), std::to_string(list.position));
  }
  const std::string end = "Child" + std::to_string(n);
  s.writeString(end, "Title", "");
  s.writeString(end, "Dir", "");
  s.writeString(end, "Filters", "");
}

std::vector<std::string> splitFilters(std::string_view filters) {
  std::vector<std::string> out;
  size_t start = 0;
  while (start <= filters.size()) {
    size_t end = filters.find(';', start);
    if (end == std::string_view::npos) end = filters.size();
    std::string p = trimmed(filters.substr(start, end - start));
    if (!p.empty()) out.push_back(std::move(p));
    start = end + 1;
  }
  return out;
}

std::string joinPath(std::string_view directory, std::string_view name) {
  std::string p(directory);
  if (!p.empty() && p.back() != '\\' && p.back() != '/') p += '\\';
  p += name;
  return p;
}

std::vector<std::string> readSearchDirectories(SettingsStore& s) {
  std::vector<std::string> dirs;
  // The list is short in practice; the bound only keeps a damaged file from reading for ever.
  for (int32_t n = 1; n <= 1000; ++n) {
    std::string d = s.readString(kOpenSearch, std::to_string(n), "", kMaxListText);
    if (d.empty()) break;
    dirs.push_back(std::move(d));
  }
  return dirs;
}

void writeSearchDirectories(SettingsStore& s, const std::vector<std::string>& directories) {
  int32_t n = 1;
  for (const std::string& d : directories) {
    if (trimmed(d).empty()) continue;
    s.writeString(kOpenSearch, std::to_string(n++), profileQuoted(bounded(d, kMaxListText)));
  }
  s.writeString(kOpenSearch, std::to_string(n), "");
}

SearchDirectoryCheck checkSearchDirectory(const std::vector<std::string>& existing, std::string_view candidate,
                                          const std::function<bool(const std::string&)>& isDirectory) {
  const std::string name = trimmed(candidate);
  if (name.empty() || name.size() > kMaxListText || (isDirectory && !isDirectory(name)))
    return SearchDirectoryCheck::Invalid;
  const std::string mine = comparableDirectory(name);
  for (const std::string& d : existing)
    if (comparableDirectory(d) == mine) return SearchDirectoryCheck::Duplicate;
  return SearchDirectoryCheck::Ok;
}

const char* searchDirectoryMessage(SearchDirectoryCheck check) {
  switch (check) {
    case SearchDirectoryCheck::Duplicate: return "Duplicate search directories not allowed.";
    case SearchDirectoryCheck::Invalid: return "Invalid directory";
    case SearchDirectoryCheck::Ok: break;
  }
  return "";
}

}  // namespace osk
