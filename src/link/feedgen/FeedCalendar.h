#pragma once

#include <string>

// Dates as yyyymmdd integers and the day numbers the generator counts with.
namespace zorbe::feedgen {

// Days since 1970-01-01 of a yyyymmdd date.
int dayNumber(int yyyymmdd);
// The yyyymmdd date of a day number.
int dateOf(int dayNumber);
// 0 = Sunday .. 6 = Saturday.
int weekdayOf(int dayNumber);
// True for a real calendar date.
bool isValidDate(int yyyymmdd);
std::string dateText(int yyyymmdd); // 8 digits

} // namespace zorbe::feedgen
