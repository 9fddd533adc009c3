#include "app/open_name.h"

namespace osk::app {

NameForm wantedNameForm(std::string_view name, bool useLongFileNames) {
  if (name.empty()) return NameForm::kAsGiven;
  if (useLongFileNames) return name.find('~') != std::string_view::npos ? NameForm::kLong : NameForm::kAsGiven;
  const size_t slash = name.find_last_of("\\/:");
  const std::string_view last = slash == std::string_view::npos ? name : name.substr(slash + 1);
  const size_t dot = last.rfind('.');
  const std::string_view base = dot == std::string_view::npos ? last : last.substr(0, dot);
  const size_t extension = dot == std::string_view::npos ? 0 : last.size() - dot;   // with its dot
  return base.size() > 8 || extension > 4 ? NameForm::kShort : NameForm::kAsGiven;
}

}  // namespace osk::app
