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
#include <utility>
#include <vector>

namespace vprinter {

class StatusResponder {
 public:
  // speed: the printer's line speed in bit/s, 0 to work at any speed.
  // silent: never answer (a port with no printer behind it). reply: when
  // not empty, the bytes every request is answered with instead (a printer
  // gone wrong: a byte without bit 1, or garbage).
  StatusResponder(long speed, bool silent, std::vector<uint8_t> reply = {})
      : speed_(speed), silent_(silent), reply_(std::move(reply)) {}

  // Takes bytes received while the line ran at lineSpeed and appends the
  // answers to replies. A request may arrive split over several calls.
  void receive(const uint8_t* bytes, size_t length, long lineSpeed, std::vector<uint8_t>& replies);

  // Answers as silent and reply say from now on (the live page's controls).
  void play(bool silent, std::vector<uint8_t> reply) {
    silent_ = silent;
    reply_ = std::move(reply);
  }

 private:
  enum class State { Idle, AfterDle, AfterEot };
  long speed_;
  bool silent_;
  std::vector<uint8_t> reply_;
  State state_ = State::Idle;
};

}  // namespace vprinter
