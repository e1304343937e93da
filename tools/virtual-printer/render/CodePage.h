// CodePage.h - the character a byte stands for under the table ESC t chose.
#pragma once

#include <cstdint>

namespace vprinter {

// ESC t n: 0 = PC437 (USA, standard Europe), 16 = Windows-1252 (Latin 1).
constexpr uint8_t kTablePc437 = 0;
constexpr uint8_t kTableWindows1252 = 16;

// The Unicode character byte b prints under table n; a table the printer does
// not have prints as PC437. The printer starts, and ESC @ puts it back, in
// Windows-1252, the table the library selects.
char32_t characterOf(uint8_t table, uint8_t b);

}  // namespace vprinter
