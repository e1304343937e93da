// Where the renderer puts text, pictures and feeds on the paper.
#include <gtest/gtest.h>

#include "RenderSupport.h"

namespace vprinter {
namespace {

using std::string;
using namespace std::string_literals;

// The first and last black dot of one row, -1 when the row is white.
std::pair<int, int> extent(const Bitmap& b, int row) {
  int first = -1, last = -1;
  for (int x = 0; x < b.width(); ++x) {
    if (!b.at(x, row)) continue;
    if (first < 0) first = x;
    last = x;
  }
  return {first, last};
}

// The dots of a rectangle as text, one row a line: '#' black, '.' white.
string dotsOf(const Bitmap& b, int x0, int y0, int width, int height) {
  string text;
  for (int y = y0; y < y0 + height; ++y) {
    for (int x = x0; x < x0 + width; ++x) text += b.at(x, y) ? '#' : '.';
    text += '\n';
  }
  return text;
}

TEST(ReceiptRenderer, PlacesTextAndImagesWhereThePaperShowsThem) {
  // ESC - 1 underlines each cell on its bottom row, so a row's extent is
  // the exact span of the characters. A stored image (FS p) is a framed
  // placeholder 256 dots wide.
  struct Case {
    const char* name;
    string bytes;
    int row;
    int first;
    int last;
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

}  // namespace
}  // namespace vprinter
