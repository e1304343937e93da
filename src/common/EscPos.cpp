// EscPos.cpp - the builders of EscPos.h that are not one expression.
#include "common/EscPos.h"

namespace escpos {

std::array<uint8_t, kTabCommandLength> tabPositions(const uint8_t* positions, int count) {
  std::array<uint8_t, kTabCommandLength> command{};  // the padding is 00
  command[0] = ESC;
  command[1] = 0x44;
  for (int i = 0; i < count && i < kMaxTabPositions; ++i) command[2 + i] = positions[i];
  return command;
}

}  // namespace escpos
