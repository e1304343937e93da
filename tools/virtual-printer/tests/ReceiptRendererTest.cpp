// Where the renderer puts text, pictures, symbols and feeds on the paper.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>

#include "Png.h"
#include "RenderSupport.h"

namespace vprinter {
namespace {

using std::string;
using namespace std::string_literals;

// The dots of a rectangle as text, one row a line: '#' black, '.' white.
string dotsOf(const Bitmap& b, int x0, int y0, int width, int height) {
  string text;
  for (int y = y0; y < y0 + height; ++y) {
    for (int x = x0; x < x0 + width; ++x) text += b.at(x, y) ? '#' : '.';
    text += '\n';
  }
  return text;
}

// The first and last black dot of one row (npos when the row is white).
std::pair<size_t, size_t> extent(const Bitmap& b, int row) {
  const string dots = dotsOf(b, 0, row, b.width(), 1);
  return {dots.find('#'), dots.rfind('#')};
}

// What ZXingReader -1 says of the picture after its file name.
string decode(const Bitmap& receipt) {
  const string path = testing::TempDir() + "tq587-symbol-" + std::to_string(getpid()) + ".png";
  string error, said;
  if (writePng(receipt, path, error)) {
    FILE* reader = popen((TQ587_ZXING_READER " -1 " + path + " 2>&1").c_str(), "r");
    char chunk[512];
    for (size_t got; reader != nullptr && (got = fread(chunk, 1, sizeof chunk, reader)) > 0;) said.append(chunk, got);
    if (reader != nullptr) pclose(reader);
  }
  unlink(path.c_str());
  return said.compare(0, path.size(), path) == 0 ? said.substr(path.size()) : said + error;
}

TEST(ReceiptRenderer, PlacesTextAndImagesWhereThePaperShowsThem) {
  // ESC - 1 underlines each cell on its bottom row, so a row's extent is
  // the exact span of the characters. A stored image (FS p) is a framed
  // placeholder 256 dots wide.
  struct Case {
    const char* name;
    string bytes;
    int row;
    size_t first;
    size_t last;
  };
  const Case kCases[] = {
      {"42 characters span 504 dots", "\x1b-\x01" + string(42, 'x') + "\n", 23, 0, 503},
      {"a 43rd character wraps", "\x1b-\x01" + string(43, 'x') + "\n", 53, 0, 11},
      {"centred", string("\x1b" "a\x01\x1b-\x01" "0123456789\n"), 23, 196, 315},
      {"right-aligned", string("\x1b" "a\x02\x1b-\x01" "0123456789\n"), 23, 392, 511},
      {"double width doubles the width", string("\x1b!\xa0" "0123456789\n"), 23, 0, 239},
      {"double height stands on the baseline", string("\x1b!\x90" "0123456789\n"), 47, 0, 119},
      {"font B is 9 dots wide", string("\x1bM\x01\x1b-\x01" "0123456789\n"), 16, 0, 89},
      {"ESC ! 1 is font B too", string("\x1b!\x81" "0123456789\n"), 16, 0, 89},
      {"HT goes to the ESC D stop", "\x1b" "D\x0a\x00\x1b-\x01" "x\ty\n"s, 23, 0, 131},
      {"HT past the last stop stays", "\x1b" "D\x02\x00\x1b-\x01" "xyz\tw\n"s, 23, 0, 47},
      {"GS L moves the left margin", "\x1dL\x18\x00\x1b-\x01" "ab\n"s, 23, 24, 47},
      {"GS W narrows the area that centres", "\x1dW\x64\x00\x1b" "a\x01\x1b-\x01" "ab\n"s, 23, 38, 61},
      {"ESC @ ends every mode", string("\x1b!\xa0\x1b" "a\x02\x1b@\x1b-\x01" "ab\n"), 23, 0, 23},
      {"ESC @ drops the unprinted line", string("\x1b-\x01" "abc\x1b@\x1b-\x01" "d\n"), 23, 0, 11},
      {"stored image: top of the frame", "\x1cp\x01\x00"s, 0, 0, 255},
      {"stored image: bottom of the frame", "\x1cp\x01\x00"s, 95, 0, 255},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    const Rendered r = renderStream(c.bytes);
    ASSERT_EQ(r.receipts.size(), 1u);
    EXPECT_EQ(r.receipts[0].width(), 512);
    EXPECT_EQ(extent(r.receipts[0], c.row), std::make_pair(c.first, c.last));
  }
}

TEST(ReceiptRenderer, FeedsAndCutsMakeReceiptsOfTheRightHeight) {
  struct Case {
    const char* name;
    string bytes;
    std::vector<int> heights;
  };
  const Case kCases[] = {
      {"a line feeds 30 dots", "a\nb\n", {60}},
      {"ESC 3 sets the spacing", "\x1b\x33\x50" "a\nb\n", {160}},
      {"ESC 2 puts back 30", "\x1b\x33\x50\x1b\x32" "a\nb\n", {60}},
      {"a double-height line is 48 high", "\x1b!\x10" "a\nb\n", {96}},
      {"ESC d prints and feeds lines", "a\x1b" "d\x03", {90}},
      {"ESC J prints and feeds dots", "a\x1bJ\x64", {100}},
      {"GS V ends a receipt", "a\n\x1dV\x00" "b\n"s, {30, 30}},
      {"GS V 66 n feeds n dots first", "a\n\x1dV\x42\x28", {70}},
      {"blank paper makes no receipt", "\n\n\x1dV\x00\n"s, {}},
      {"a stored image is 96 dots high", "\x1cp\x01\x00"s, {96}},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(renderStream(c.bytes).heights(), c.heights);
  }
}

TEST(ReceiptRenderer, PrintsARasterPictureDotForDot) {
  // GS 8 L: 10 x 3 dots, two bytes a row, the leftmost dot in the top bit,
  // then GS ( L 2 0 48 2 to print it.
  const string raster = "\x1d\x38\x4c\x10\x00\x00\x00\x30\x70\x30\x01\x01\x31\x0a\x00\x03\x00"
                        "\xf0\x40" "\x81\x80" "\x00\xff"
                        "\x1d\x28\x4c\x02\x00\x30\x02"s;
  const Rendered r = renderStream(raster);
  ASSERT_EQ(r.receipts.size(), 1u);
  EXPECT_EQ(r.receipts[0].height(), 3);
  EXPECT_EQ(dotsOf(r.receipts[0], 0, 0, 12, 3),
            "####.....#..\n"
            "#......##...\n"
            "........##..\n");
}

TEST(ReceiptRenderer, PrintsTheAccentsOfEachCodePage) {
  // The same letter under two tables gives the same picture; an unaccented
  // letter does not.
  struct Case {
    const char* name;
    string one;
    string other;
    bool same;
  };
  const Case kCases[] = {
      {"a-acute: 1252 E1 and 437 A0", "\x1bt\x10\xe1\n", "\x1bt\x00\xa0\n"s, true},
      {"c-cedilla: 1252 E7 and 437 87", "\x1bt\x10\xe7\n", "\x1bt\x00\x87\n"s, true},
      {"a-acute is not a", "\x1bt\x10\xe1\n", "a\n", false},
      {"ESC @ goes back to Windows-1252", "\x1bt\x00\x1b@\xe1\n"s, "\x1bt\x10\xe1\n", true},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    const Rendered one = renderStream(c.one), other = renderStream(c.other);
    ASSERT_EQ(one.receipts.size(), 1u);
    ASSERT_EQ(other.receipts.size(), 1u);
    EXPECT_EQ(one.receipts[0].dots() == other.receipts[0].dots(), c.same);
  }
}

// Every symbol the library sends, drawn on a receipt and read back by
// ZXingReader (zxing-cpp), an independent decoder.
TEST(ReceiptRenderer, DrawsEverySymbolSoThatAReaderReadsItBack) {
  struct Case {
    const char* name;
    string bytes;  // after ESC a 1
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
