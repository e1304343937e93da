// ClockPlatform.h - what the clock needs of the operating system.
//
// One file per platform implements these calls (clock_posix.cpp,
// clock_win32.cpp); the system's clock in Clock.cpp holds no platform code.
#pragma once

namespace tq587 {
namespace clock_platform {

// Blocks the caller for the given milliseconds; returns at once when they
// are not positive.
void sleep(int milliseconds);

}  // namespace clock_platform
}  // namespace tq587
