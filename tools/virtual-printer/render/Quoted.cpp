// Quoted.cpp - text bytes made readable and unambiguous.
#include "Quoted.h"

#include <cstdio>

namespace vprinter {

std::string quoted(const uint8_t* bytes, size_t length) {
  std::string text = "\"";
  for (size_t k = 0; k < length; ++k) {
    const uint8_t c = bytes[k];
    if (c == '"' || c == '\\') {
      text += '\\';
      text += static_cast<char>(c);
    } else if (c >= 0x20 && c < 0x7F) {
      text += static_cast<char>(c);
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      text += hex;
    }
  }
  return text + "\"";
}

}  // namespace vprinter
