#include "link/feedgen/FeedCalendar.h"

#include "platform/Fields.h"

namespace zorbe::feedgen {

// The civil-calendar conversions of H. Hinnant's well-known algorithms.
int dayNumber(int ymd)
{
    int y = ymd / 10000;
    const int m = ymd / 100 % 100, d = ymd % 100;
    y -= m <= 2;
    const int era = (y >= 0 ? y : y - 399) / 400;
    const int yoe = y - era * 400;
    const int doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

int dateOf(int z)
{
    z += 719468;
    const int era = (z >= 0 ? z : z - 146096) / 146097;
    const int doe = z - era * 146097;
    const int yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int mp = (5 * doy + 2) / 153;
    const int d = doy - (153 * mp + 2) / 5 + 1;
    const int m = mp + (mp < 10 ? 3 : -9);
    const int y = yoe + era * 400 + (m <= 2);
    return y * 10000 + m * 100 + d;
}

int weekdayOf(int z) { return ((z % 7) + 11) % 7; }

bool isValidDate(int ymd)
{
    const int m = ymd / 100 % 100, d = ymd % 100;
    return ymd >= 19000101 && ymd <= 99991231 && m >= 1 && m <= 12 && d >= 1 && dateOf(dayNumber(ymd)) == ymd;
}

std::string dateText(int ymd) { return zeroPad(ymd, 8); }

} // namespace zorbe::feedgen
