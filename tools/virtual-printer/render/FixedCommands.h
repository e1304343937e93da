// FixedCommands.h - the printer's commands of fixed length, for the listing
// and the preview alike: after their two bytes (ESC, GS or FS and a code)
// come `params` parameter bytes, one 16-bit little-endian number when `word`
// is set.
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/EscPos.h"

namespace vprinter {

struct FixedCommand {
  uint8_t prefix;
  uint8_t code;
  const char* name;
  size_t params;
  bool word;
};

inline constexpr FixedCommand kFixedCommands[] = {
    {escpos::ESC, '@', "ESC @", 0, false},  // initialise
    {escpos::ESC, 'E', "ESC E", 1, false},  // bold
    {escpos::ESC, '-', "ESC -", 1, false},  // underline
    {escpos::ESC, '!', "ESC !", 1, false},  // print modes (width, height)
    {escpos::ESC, 'M', "ESC M", 1, false},  // font
    {escpos::ESC, 'G', "ESC G", 1, false},  // double strike
    {escpos::ESC, 'a', "ESC a", 1, false},  // alignment
    {escpos::ESC, 'd', "ESC d", 1, false},  // print and feed n lines
    {escpos::ESC, '2', "ESC 2", 0, false},  // default line spacing
    {escpos::ESC, '3', "ESC 3", 1, false},  // line spacing
    {escpos::ESC, 'J', "ESC J", 1, false},  // feed n dots
    {escpos::ESC, 't', "ESC t", 1, false},  // character table
    {escpos::ESC, 'p', "ESC p", 3, false},  // drawer kick
    {escpos::GS, 'h', "GS h", 1, false},    // barcode height
    {escpos::GS, 'w', "GS w", 1, false},    // barcode module width
    {escpos::GS, 'H', "GS H", 1, false},    // barcode text position
    {escpos::GS, 'f', "GS f", 1, false},    // barcode text font
    {escpos::GS, '!', "GS !", 1, false},    // character size
    {escpos::GS, 'B', "GS B", 1, false},    // reverse printing
    {escpos::GS, 'L', "GS L", 2, true},     // left margin in dots
    {escpos::GS, 'W', "GS W", 2, true},     // print area width in dots
    {escpos::FS, 'p', "FS p", 2, false},    // print stored image
};

// The command of that prefix and code; nullptr when it is none of these.
inline const FixedCommand* fixedCommand(uint8_t prefix, uint8_t code) {
  for (const FixedCommand& command : kFixedCommands) {
    if (command.prefix == prefix && command.code == code) return &command;
  }
  return nullptr;
}

}  // namespace vprinter
