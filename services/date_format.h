// Date and time texts for inserted dates and print headers: a date by the user's date picture, a time as H:M:S.
//
// Picture letters: runs of d give the day (1: 5, 2: 05, 3: Thu, 4 or more: Thursday), runs of M the month in the
// same way, runs of y the year (1 or 2: 98, 3 or more: 1998), either case. A single quote is dropped and two give
// one; letters inside quotes still count as picture letters. Names are English. Pictures longer than 50 characters
// are cut; the text is built to its full length without any fixed buffer. A time that cannot be converted gives
// empty text.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace osk {

struct DateParts {
  int year = 1970;
  int month = 1;     // 1 to 12
  int day = 1;       // 1 to 31
  int weekday = 4;   // 0 Sunday to 6 Saturday
  int hour = 0;
  int minute = 0;
  int second = 0;
};

inline constexpr size_t kDatePictureMax = 50;
inline constexpr const char* kDefaultShortDatePicture = "dd/MM/yyyy";
inline constexpr const char* kDefaultLongDatePicture = "dddd' 'MMMM' 'dd' 'yyyy";

// The parts of a proleptic Gregorian date, after checking their ranges; nothing when one is out of range.
std::optional<DateParts> makeDateParts(int year, int month, int day, int weekday, int hour, int minute, int second);

std::string formatDate(std::string_view picture, const DateParts& when);
// "13:7:9": no leading zeros.
std::string formatTime(const DateParts& when);

}  // namespace osk
