// Clock.cpp - the system's clock, and the test seam in front of it.
#include "common/Clock.h"

#include "common/ClockPlatform.h"

namespace tq587 {
namespace {

class SystemClock : public Clock {
 public:
  std::time_t now() override { return std::time(nullptr); }
  void sleep(int milliseconds) override { clock_platform::sleep(milliseconds); }
};

SystemClock gSystemClock;
Clock* gClock = &gSystemClock;

}  // namespace

Clock& clock() { return *gClock; }
void setClock(Clock* clock) { gClock = clock ? clock : &gSystemClock; }

bool localCalendar(std::time_t moment, std::tm* out) {
  return clock_platform::localCalendar(moment, out);
}
bool utcCalendar(std::time_t moment, std::tm* out) { return clock_platform::utcCalendar(moment, out); }

}  // namespace tq587
