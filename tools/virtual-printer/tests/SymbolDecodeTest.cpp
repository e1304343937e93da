// Every symbol the library sends, drawn on a receipt and read back by
// ZXingReader (zxing-cpp), an independent decoder.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>

#include "Png.h"
#include "RenderSupport.h"

namespace vprinter {
namespace {

using namespace std::string_literals;

// What ZXingReader -1 says of the picture after its file name.
std::string decode(const Bitmap& receipt) {
  char dir[] = "/tmp/tq587-symbol-XXXXXX";
  if (mkdtemp(dir) == nullptr) return "no scratch directory";
  const std::string path = std::string(dir) + "/r.png";
  std::string error, said;
  if (writePng(receipt, path, error)) {
    FILE* reader = popen((std::string(TQ587_ZXING_READER) + " -1 " + path + " 2>&1").c_str(), "r");
    char chunk[512];
    size_t got;
    while (reader != nullptr && (got = fread(chunk, 1, sizeof chunk, reader)) > 0) said.append(chunk, got);
    if (reader != nullptr) pclose(reader);
  }
  unlink(path.c_str());
  rmdir(dir);
  return said.compare(0, path.size(), path) == 0 ? said.substr(path.size()) : said + error;
}

TEST(SymbolDecode, EverySymbolReadsBackAsPrinted) {
  struct Case {
    const char* name;
    std::string bytes;  // after ESC a 1
    const char* read;
  };
  const Case kCases[] = {
      {"EAN-13", "\x1dkC\x0c" "789100031550", " EAN-13 \"7891000315507\"\n"},
      {"EAN-8", "\x1dkD\x07" "1234567", " EAN-8 \"12345670\"\n"},
      {"UPC-A", "\x1dkA\x0b" "01234567890", " UPC-A \"012345678905\"\n"},
      {"Code 39", "\x1dkE\x07" "TQ587-A", " Code39 \"TQ587-A\"\n"},
      {"Code 93", "\x1dkH\x05" "TQ587", " Code93 \"TQ587\"\n"},
      {"Codabar", "\x1dkG\x07" "A12345B", " Codabar \"12345\"\n"},
      {"Code 128 after its code set", "\x1dkI\x0a" "{BTQ587-ab", " Code128 \"TQ587-ab\"\n"},
      {"Code 128 with a doubled and a last brace", "\x1dkI\x07" "{BA{{B{", " Code128 \"A{B{\"\n"},
      {"ITF", "\x1dkF\x08" "12345678", " ITF \"12345678\"\n"},
      {"barcode with its text below", "\x1dH\x02\x1dkC\x0c" "789100031550", " EAN-13 \"7891000315507\"\n"},
      {"QR code as the library sends it",
       "\x1d(k\x04\x00\x31\x41\x32\x00\x1d(k\x03\x00\x31\x43\x04\x1d(k\x03\x00\x31\x45\x30"
       "\x1d(k\x22\x00\x31\x50\x30" "https://example.com/nota/000123"
       "\x1d(k\x03\x00\x31\x51\x30\x00\x00"s,
       " QRCode \"https://example.com/nota/000123\"\n"},
      {"PDF417 as the library sends it",
       "\x1d(k\x03\x00\x30\x41\x00\x1d(k\x03\x00\x30\x42\x00\x1d(k\x03\x00\x30\x43\x03"
       "\x1d(k\x03\x00\x30\x44\x03\x1d(k\x04\x00\x30\x45\x31\x01"
       "\x1d(k\x17\x00\x30\x50\x30" "Nota 000123 R$ 12,50"
       "\x1d(k\x03\x00\x30\x51\x30"s,
       " PDF417 \"Nota 000123 R$ 12,50\"\n"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    const Rendered r = renderStream("\x1b" "a\x01" + c.bytes);
    ASSERT_EQ(r.receipts.size(), 1u);
    EXPECT_EQ(decode(r.receipts[0]), c.read);
  }
}

}  // namespace
}  // namespace vprinter
