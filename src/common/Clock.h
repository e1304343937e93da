// Clock.h - the one seam for time: the wall clock of the log and of the date
// and time tags, and the waits of the pipes for the printer.
#pragma once

#include <ctime>

namespace tq587 {

class Clock {
 public:
  virtual ~Clock() = default;
  // Seconds since the epoch.
  virtual std::time_t now() = 0;
  // Blocks the caller for the given milliseconds.
  virtual void sleep(int milliseconds) = 0;
};

// The clock in use: the system's unless a test put another in place.
Clock& clock();
// Test seam: nullptr puts the system's clock back.
void setClock(Clock* clock);

// The local and the UTC calendar of a moment into out, safe beside other
// threads' calls of localtime; false when the moment has none.
bool localCalendar(std::time_t moment, std::tm* out);
bool utcCalendar(std::time_t moment, std::tm* out);

}  // namespace tq587
