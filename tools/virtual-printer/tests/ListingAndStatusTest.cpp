// ListingAndStatusTest.cpp - what the virtual printer makes of the bytes it
// receives: the listing, each command under its name with its parameters,
// text quoted, a stream cut off inside a command listed as truncated; and
// the answers to DLE EOT n. Its line speed and --silent show end to end,
// where the driver finds it or not (tests/e2e/serial_link_test.cpp).
#include <gtest/gtest.h>

#include <sstream>

#include "EscPosDecoder.h"
#include "StatusResponder.h"

namespace {

// "1B 45 01", where "00*13" stands for thirteen 00 bytes.
std::vector<uint8_t> hex(const std::string& text) {
  std::vector<uint8_t> bytes;
  std::istringstream words(text);
  for (std::string w; words >> w;) {
    const size_t star = w.find('*');
    bytes.insert(bytes.end(), star == std::string::npos ? 1 : std::stoul(w.substr(star + 1)),
                 static_cast<uint8_t>(std::stoul(w.substr(0, 2), nullptr, 16)));
  }
  return bytes;
}

struct Case {
  const char* name;
  const char* bytes;
  const char* listing;  // its lines joined by " | "
};

const Case kCases[] = {
    {"text quoted, LF, CR and HT a line each, status request, other control bytes in runs",
     "4F 6C E1 22 5C 0A 0D 09 10 04 01 10 41 1E 1E 1E 00 00",
     R"("Ol\xE1\"\\" | LF | CR | HT | DLE EOT 1 | 0x10 | "A" | 0x1E x3 | NUL x2)"},
    {"commands of fixed length, their parameters in decimal, GS L and GS W as 16-bit numbers",
     "1B 40 1B 45 01 1B 2D 01 1B 21 30 1B 4D 01 1B 47 01 1B 61 02 1B 64 03 1B 32 1B 33 1E 1B 4A 50 1B 74 10 1B 70 00 "
     "96 FF 1D 68 50 1D 77 02 1D 48 02 1D 66 01 1D 21 11 1D 42 01 1D 4C 18 00 1D 57 C4 01 1C 70 01 00",
     "ESC @ | ESC E 1 | ESC - 1 | ESC ! 48 | ESC M 1 | ESC G 1 | ESC a 2 | ESC d 3 | ESC 2 | ESC 3 30 | ESC J 80 | "
     "ESC t 16 | ESC p 0 150 255 | GS h 80 | GS w 2 | GS H 2 | GS f 1 | GS ! 17 | GS B 1 | GS L 24 | GS W 452 | "
     "FS p 1 0"},
    {"unknown commands", "1B 5A 1D 5A 41", R"(ESC 0x5A (unknown) | GS 0x5A (unknown) | "A")"},
    {"tab positions up to their 00, then padding", "1B 44 05 0A 0F 14 19 23 00 00*13",
     "ESC D 5 10 15 20 25 35 | NUL x13"},
    {"cut with a feed amount and without", "1D 56 42 00 1D 56 01", "GS V 66 0 | GS V 1"},
    {"barcode with its count, and one ended by 00", "1D 6B 43 0C 37 38 39 31 30 30 30 33 31 35 35 30 1D 6B 04 41 42 00",
     R"(GS k 67 12 "789100031550" | GS k 4 "AB")"},
    {"QR code as the library sends it, its data holding a 00",
     "1D 28 6B 04 00 31 41 32 00 1D 28 6B 03 00 31 43 04 1D 28 6B 03 00 31 45 30 "
     "1D 28 6B 06 00 31 50 30 61 00 3C 1D 28 6B 03 00 31 51 30 00 00",
     R"(GS ( k QR model 50 0 | GS ( k QR module size 4 | GS ( k QR error correction 48 | )"
     R"(GS ( k QR store 3 "a\x00<" | GS ( k QR print | NUL x2)"},
    {"PDF417 as the library sends it",
     "1D 28 6B 03 00 30 41 00 1D 28 6B 03 00 30 42 00 1D 28 6B 03 00 30 43 03 1D 28 6B 03 00 30 44 03 "
     "1D 28 6B 04 00 30 45 31 01 1D 28 6B 06 00 30 50 30 61 62 63 1D 28 6B 03 00 30 51 30",
     "GS ( k PDF417 columns 0 | GS ( k PDF417 rows 0 | GS ( k PDF417 module width 3 | GS ( k PDF417 row height 3 | "
     R"(GS ( k PDF417 error correction 49 1 | GS ( k PDF417 store 3 "abc" | GS ( k PDF417 print)"},
    {"symbol function without a name, and one too short to have one", "1D 28 6B 03 00 31 46 07 1D 28 6B 01 00 31",
     "GS ( k cn 49 fn 70 7 | GS ( k 1 bytes"},
    // the eight data bytes look like commands and are passed over whole
    {"8 x 8 raster, then initialise, print, line feed",
     "1D 38 4C 12 00 00 00 30 70 30 01 01 31 08 00 08 00 1B 40 10 04 01 0A 41 42 1B 40 1D 28 4C 02 00 30 02 0A",
     "GS 8 L raster 8x8 dots, 8 bytes | ESC @ | GS ( L print graphics | LF"},
    {"raster whose size does not match its dots", "1D 38 4C 0B 00 00 00 30 70 30 01 01 31 08 00 08 00 FF",
     "GS 8 L raster 8x8 dots, 1 bytes (size does not match)"},
    {"graphics functions other than raster and print", "1D 38 4C 02 00 00 00 30 45 1D 28 4C 02 00 30 45",
     "GS 8 L 2 bytes | GS ( L 2 bytes"},
    {"ESC E without its parameter", "1B 45", "ESC E (truncated)"},
    {"barcode shorter than its count", "1D 6B 43 0C 37 38", "GS k 67 12 (truncated)"},
    {"raster count beyond the stream", "1D 38 4C FF FF FF FF 30", "GS 8 L (truncated)"},
    {"status request without n", "41 10 04", R"("A" | DLE EOT (truncated))"},
};

TEST(EscPosDecoder, ListsEachCommandByItsNameAndParameters) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    // exactly as long as the case: a read past it is seen by the sanitizer build
    const std::vector<uint8_t> bytes = hex(c.bytes);
    std::string listing;
    for (const std::string& line : vprinter::decodeListing(bytes.data(), bytes.size()))
      listing += (listing.empty() ? "" : " | ") + line;
    EXPECT_EQ(listing, c.listing);
  }
}

TEST(StatusResponder, AnswersEachStatusRequest) {
  struct Case {
    const char* name;
    std::vector<const char*> reads;
    const char* replies;
  };
  const Case kCases[] = {
      {"n 1 printer status 16, n 2 to 4 12; n 0 and 5 no request",
       {"10 04 01 10 04 02 10 04 03 10 04 04 10 04 00 10 04 05"}, "16 12 12 12"},
      {"a request split over three reads", {"41 10", "04", "01 42"}, "16"},
      {"DLE DLE EOT n, a request right after a bad one, EOT n without DLE", {"10 10 04 01 10 04 10 04 02 04 01"},
       "16 12"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    vprinter::StatusResponder responder(0, false);
    std::vector<uint8_t> replies;
    for (const char* read : c.reads) responder.receive(hex(read).data(), hex(read).size(), 9600, replies);
    EXPECT_EQ(replies, hex(c.replies));
  }
}

}  // namespace
