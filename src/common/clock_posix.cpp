// clock_posix.cpp - waiting on a POSIX system.
#include <time.h>

#include <cerrno>

#include "common/ClockPlatform.h"

namespace tq587 {
namespace clock_platform {

void sleep(int milliseconds) {
  if (milliseconds <= 0) return;
  timespec wait{milliseconds / 1000, static_cast<long>(milliseconds % 1000) * 1000000L};
  while (nanosleep(&wait, &wait) != 0 && errno == EINTR) {
  }
}

}  // namespace clock_platform
}  // namespace tq587
