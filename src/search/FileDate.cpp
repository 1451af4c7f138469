#include "search/FileDate.h"

#include <cmath>

namespace {

constexpr int DaysFrom1899To1970 = 25569;
constexpr long long MsPerDay = 86400000;

// Days since 1970-01-01 of a date in the proleptic Gregorian calendar.
long long DaysFromCivil(int y, int m, int d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const long long yoe = y - era * 400;
    const long long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void CivilFromDays(long long z, int &y, int &m, int &d) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const long long doe = z - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yoe + era * 400 + (m <= 2));
}

} // namespace

TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second) {
    return static_cast<double>(DaysFromCivil(year, month, day) + DaysFrom1899To1970) +
           (hour * 3600.0 + minute * 60.0 + second) / 86400.0;
}

bool DateTimeToUtcFileTime(TDateTime value, FILETIME &utc) {
    // Far outside the packed range (or no number at all) the day count would not fit an integer.
    if (!std::isfinite(value) || std::fabs(value) > 1e7)
        return false;
    long long days = static_cast<long long>(std::floor(value));
    long long ms = std::llround((value - static_cast<double>(days)) * MsPerDay);
    if (ms >= MsPerDay) {
        ++days;
        ms -= MsPerDay;
    }
    int y, mo, d;
    CivilFromDays(days - DaysFrom1899To1970, y, mo, d);
    if (y < 1980 || y > 2107)
        return false;
    const long long secs = ms / 1000;
    const WORD dosDate = static_cast<WORD>(((y - 1980) << 9) | (mo << 5) | d);
    const WORD dosTime = static_cast<WORD>(((secs / 3600) << 11) | ((secs / 60 % 60) << 5) | (secs % 60 / 2));
    FILETIME local;
    return DosDateTimeToFileTime(dosDate, dosTime, &local) && LocalFileTimeToFileTime(&local, &utc);
}

TDateTime UtcFileTimeToDateTime(const FILETIME &utc) {
    FILETIME local;
    WORD dosDate = 0, dosTime = 0;
    if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToDosDateTime(&local, &dosDate, &dosTime))
        return -1;
    return EncodeDateTime((dosDate >> 9) + 1980, (dosDate >> 5) & 15, dosDate & 31, dosTime >> 11, (dosTime >> 5) & 63,
                          (dosTime & 31) * 2);
}
