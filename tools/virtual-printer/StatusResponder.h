// StatusResponder.h - the printer's side of the real-time status requests.
//
// DLE EOT n (10 04 n, n = 1..4) asks for a status byte. The printer answers
// 0x16 to n = 1 (printer status) and 0x12 to the others; both have bit 1
// set, which is how the driver knows a printer is there. A printer set to
// one line speed hears nothing sensible at another, so it answers only when
// the line runs at its speed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vprinter {

class StatusResponder {
 public:
  // speed: the printer's line speed in bit/s, 0 to work at any speed.
  // silent: never answer (a port with no printer behind it).
  StatusResponder(long speed, bool silent) : speed_(speed), silent_(silent) {}

  // Takes bytes received while the line ran at lineSpeed and appends the
  // answers to replies. A request may arrive split over several calls.
  void receive(const uint8_t* bytes, size_t length, long lineSpeed, std::vector<uint8_t>& replies);

 private:
  enum class State { Idle, AfterDle, AfterEot };
  long speed_;
  bool silent_;
  State state_ = State::Idle;
};

}  // namespace vprinter
