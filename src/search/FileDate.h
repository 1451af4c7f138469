#pragma once

#include <windows.h>

// A date-time as the finder's callers give it: days counted from 1899-12-30 00:00, the fraction being the
// time of day, in local time (so 1980-01-01 00:00 is 29221.0).
using TDateTime = double;

TDateTime EncodeDateTime(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);

// Local date-time to a UTC file time by way of the file system's packed date-time, so seconds go in 2-second
// steps. False when the value has no packed form (before 1980 or after 2107).
bool DateTimeToUtcFileTime(TDateTime value, FILETIME &utc);

// The way back; -1 when the file time has no packed form.
TDateTime UtcFileTimeToDateTime(const FILETIME &utc);
