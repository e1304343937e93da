// Quoted.h - a text as the listing and the renderer's notes show it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vprinter {

// In double quotes, with '"' and '\' escaped and every byte outside 20..7E
// written as \xHH.
std::string quoted(const uint8_t* bytes, size_t length);

}  // namespace vprinter
