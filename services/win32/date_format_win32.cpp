// The date and time entry points: the user's date pictures from the "intl" section, and local time.
#include <windows.h>

#include <ctime>
#include <string>

#include "services/date_format.h"
#include "services/ocs_config_api.h"

namespace {

std::optional<osk::DateParts> localParts(int64_t time) {
  if (time < 0) return std::nullopt;
  const std::time_t t = static_cast<std::time_t>(time);
  if (static_cast<int64_t>(t) != time) return std::nullopt;
  std::tm tm{};
  if (localtime_s(&tm, &t) != 0) return std::nullopt;
  return osk::makeDateParts(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_wday, tm.tm_hour, tm.tm_min,
                            tm.tm_sec);
}

std::string datePicture(bool longDate) {
  char picture[osk::kDatePictureMax + 1] = {};
  GetProfileStringA("intl", longDate ? "sLongDate" : "sShortDate",
                    longDate ? osk::kDefaultLongDatePicture : osk::kDefaultShortDatePicture, picture, sizeof picture);
  return picture;
}

}  // namespace

extern "C" {

const char* OSK_CALL OCS_FormatDate(int32_t longDate, int64_t time) {
  static std::string text;
  const auto parts = localParts(time);
  text = parts ? osk::formatDate(datePicture(longDate != 0), *parts) : std::string();
  return text.c_str();
}

const char* OSK_CALL OCS_FormatTime(int64_t time) {
  static std::string text;
  const auto parts = localParts(time);
  text = parts ? osk::formatTime(*parts) : std::string();
  return text.c_str();
}

}  // extern "C"
