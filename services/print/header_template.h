// Header and footer templates: a line of text with codes for the page number, the document's name and dates, and
// where the text goes (left, right or centre part of the line).
//
// Codes are case-sensitive prefixes tried in a fixed order at each position, so "&Pages" is the page number
// followed by "s" and "&page" stays as it is. Text before any justification code goes to the left part.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace osk::print {

// The texts the codes stand for, formatted by the caller once per job.
struct TemplateValues {
  std::string path;            // the document's full path
  std::string printDate;       // today, short format
  std::string printDateLong;   // today, long format
  std::string printTime;
  std::string fileDate;        // the document's last-modified date, short format
  std::string fileDateLong;
  std::string fileTime;
};

struct TemplateLine {
  std::string left;
  std::string right;
  std::string centre;
  bool empty() const { return left.empty() && right.empty() && centre.empty(); }
  bool operator==(const TemplateLine&) const = default;
};

TemplateLine expandTemplate(std::string_view text, uint32_t page, const TemplateValues& values);

// The document's name: the path after its last backslash (or slash).
std::string_view fileNameOf(std::string_view path);

// The codes with the names the header dialog shows for them, in the dialog's order.
struct TemplateCode {
  const char* name;
  const char* code;
};
inline constexpr TemplateCode kTemplateCodes[] = {
    {"Page Number", "&Page"},
    {"File Name", "&File"},
    {"Full Path Name", "&Path"},
    {"Print Date (short format)", "&PDate"},
    {"Print Date (long format)", "&LPDate"},
    {"Print Time", "&PTime"},
    {"Date Last Modified (short format)", "&FDate"},
    {"Date Last Modified (long format)", "&LFDate"},
    {"Time Last Modified", "&FTime"},
    {"Left Justify", "&LJustify"},
    {"Right Justify", "&RJustify"},
    {"Centre Justify", "&CJustify"},
};

}  // namespace osk::print
