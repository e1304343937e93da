// EscPosDecoder.h - turns the bytes a receipt printer received into a
// listing that a person can read, one command or text run per line:
//   ESC a 1
//   "Total 12,50"
//   LF
//   GS k 67 12 "789100031550"
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vprinter {

// Decodes the whole stream. Never reads past length: a command cut off by the
// end of the stream is listed with "(truncated)".
std::vector<std::string> decodeListing(const uint8_t* bytes, size_t length);

// What --listing writes: the listing, then each of the renderer's notes (on
// text refused or cleared) as "== note".
std::vector<std::string> listingWithNotes(const uint8_t* bytes, size_t length, const std::vector<std::string>& notes);

}  // namespace vprinter
