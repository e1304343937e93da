// StatusResponder.cpp - answers DLE EOT n.
#include "StatusResponder.h"

namespace vprinter {
namespace {

constexpr uint8_t DLE = 0x10;
constexpr uint8_t EOT = 0x04;
// Bit 1 set in both; bit 2 of the printer status says "drawer pin high".
constexpr uint8_t kPrinterStatus = 0x16;
constexpr uint8_t kOtherStatus = 0x12;

}  // namespace

void StatusResponder::receive(const uint8_t* bytes, size_t length, long lineSpeed,
                              std::vector<uint8_t>& replies) {
  const bool answers = !silent_ && (speed_ == 0 || speed_ == lineSpeed);
  for (size_t k = 0; k < length; ++k) {
    const uint8_t c = bytes[k];
    if (state_ == State::AfterEot) {
      state_ = State::Idle;
      if (c >= 1 && c <= 4) {
        if (answers && !reply_.empty()) replies.insert(replies.end(), reply_.begin(), reply_.end());
        if (answers && reply_.empty()) replies.push_back(c == 1 ? kPrinterStatus : kOtherStatus);
        continue;
      }
    }
    if (state_ == State::AfterDle && c == EOT) {
      state_ = State::AfterEot;
    } else {
      state_ = c == DLE ? State::AfterDle : State::Idle;
    }
  }
}

}  // namespace vprinter
