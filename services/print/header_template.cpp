// Expanding header and footer templates.
#include "services/print/header_template.h"

namespace osk::print {

std::string_view fileNameOf(std::string_view path) {
  const size_t cut = path.find_last_of("\\/");
  return cut == std::string_view::npos ? path : path.substr(cut + 1);
}

TemplateLine expandTemplate(std::string_view text, uint32_t page, const TemplateValues& v) {
  enum Code { kPage, kFile, kPDate, kPTime, kFDate, kFTime, kLJustify, kRJustify, kCJustify, kPath, kLPDate, kLFDate };
  // The order in which the codes are tried at each position.
  static constexpr std::string_view kCodes[] = {"&Page",     "&File",     "&PDate",    "&PTime",
                                                "&FDate",    "&FTime",    "&LJustify", "&RJustify",
                                                "&CJustify", "&Path",     "&LPDate",   "&LFDate"};
  TemplateLine line;
  std::string* part = &line.left;
  size_t i = 0;
  while (i < text.size()) {
    int found = -1;
    if (text[i] == '&') {
      for (int c = 0; c < static_cast<int>(std::size(kCodes)); ++c) {
        if (text.substr(i).starts_with(kCodes[c])) {
          found = c;
          break;
        }
      }
    }
    if (found < 0) {
      part->push_back(text[i++]);
      continue;
    }
    i += kCodes[found].size();
    switch (found) {
      case kPage: *part += std::to_string(page); break;
      case kFile: *part += fileNameOf(v.path); break;
      case kPDate: *part += v.printDate; break;
      case kPTime: *part += v.printTime; break;
      case kFDate: *part += v.fileDate; break;
      case kFTime: *part += v.fileTime; break;
      case kLJustify: part = &line.left; break;
      case kRJustify: part = &line.right; break;
      case kCJustify: part = &line.centre; break;
      case kPath: *part += v.path; break;
      case kLPDate: *part += v.printDateLong; break;
      case kLFDate: *part += v.fileDateLong; break;
    }
  }
  return line;
}

}  // namespace osk::print
