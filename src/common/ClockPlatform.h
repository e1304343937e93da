// ClockPlatform.h - what the clock needs of the operating system.
//
// One file per platform implements these calls (clock_posix.cpp,
// clock_win32.cpp); the system's clock in Clock.cpp holds no platform code.
#pragma once

#include <ctime>

namespace tq587 {
namespace clock_platform {

// Blocks the caller for the given milliseconds; returns at once when they
// are not positive.
void sleep(int milliseconds);

// The calendar date and time of a moment, local or UTC, into out, without
// a buffer shared with other threads (the application's own calls of
// localtime among them). false when the moment has none.
bool localCalendar(std::time_t moment, std::tm* out);
bool utcCalendar(std::time_t moment, std::tm* out);

}  // namespace clock_platform
}  // namespace tq587
