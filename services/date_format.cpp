#include "services/date_format.h"

#include <cstdio>

namespace osk {
namespace {

constexpr const char* kWeekdays[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
constexpr const char* kMonths[] = {"January", "February", "March",     "April",   "May",      "June",
                                   "July",    "August",   "September", "October", "November", "December"};

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string number(int v, int digits) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%0*d", digits, v);
  return buf;
}

// Day or month by the length of its run.
std::string field(size_t run, int value, const char* name) {
  if (run == 1) return std::to_string(value);
  if (run == 2) return number(value, 2);
  std::string s = name;
  return run == 3 ? s.substr(0, 3) : s;
}

}  // namespace

std::optional<DateParts> makeDateParts(int year, int month, int day, int weekday, int hour, int minute, int second) {
  if (year < 0 || year > 9999 || month < 1 || month > 12 || day < 1 || day > 31 || weekday < 0 || weekday > 6 ||
      hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 60)
    return std::nullopt;
  return DateParts{year, month, day, weekday, hour, minute, second};
}

std::string formatDate(std::string_view picture, const DateParts& when) {
  if (picture.size() > kDatePictureMax) picture = picture.substr(0, kDatePictureMax);
  std::string out;
  size_t i = 0;
  while (i < picture.size()) {
    const char c = lower(picture[i]);
    if (c == 'd' || c == 'm' || c == 'y') {
      size_t run = 1;
      while (i + run < picture.size() && lower(picture[i + run]) == c) ++run;
      i += run;
      if (c == 'd')
        out += field(run, when.day, kWeekdays[when.weekday]);
      else if (c == 'm')
        out += field(run, when.month, kMonths[when.month - 1]);
      else
        out += run <= 2 ? number(when.year % 100, 2) : number(when.year, 4);
    } else if (c == '\'') {
      if (i + 1 < picture.size() && picture[i + 1] == '\'') {
        out += '\'';
        i += 2;
      } else {
        ++i;
      }
    } else {
      out += picture[i++];
    }
  }
  return out;
}

std::string formatTime(const DateParts& when) {
  return std::to_string(when.hour) + ":" + std::to_string(when.minute) + ":" + std::to_string(when.second);
}

}  // namespace osk
