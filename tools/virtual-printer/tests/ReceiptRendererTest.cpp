// ReceiptRendererTest.cpp - what the paper shows: text in its modes and
// places, feeds and cuts, pictures dot for dot, accents, symbols that a
// reader reads back; and broken or hostile streams, refused with a note,
// never drawn past their bounds.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "Png.h"
#include "ReceiptRenderer.h"

namespace vprinter {
namespace {

using std::string;
using namespace std::string_literals;

struct Rendered {
  std::vector<Bitmap> receipts;
  std::vector<int> heights;
  std::vector<string> notes;
};

// Renders bytes given in chunks of chunk bytes (0: all at once) and finishes.
Rendered render(const string& bytes, size_t chunk = 0) {
  static Glyphs glyphs(TQ587_FONT_FILE);
  Rendered out;
  ReceiptRenderer renderer(glyphs, [&](const Bitmap& b) { out.receipts.push_back(b); });
  const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
  const size_t step = chunk == 0 ? bytes.size() : chunk;
  for (size_t at = 0; at < bytes.size(); at += step) renderer.receive(data + at, std::min(step, bytes.size() - at));
  renderer.finish();
  for (const Bitmap& b : out.receipts) out.heights.push_back(b.height());
  out.notes = renderer.notes();
  return out;
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

// What ZXingReader -1 says of the picture after its file name.
string decode(const Bitmap& receipt) {
  const string png = testing::TempDir() + "tq587-symbol-" + std::to_string(getpid()) + ".png", said = png + ".txt";
  string error;
  EXPECT_TRUE(writePng(receipt, png, error)) << error;
  EXPECT_EQ(std::system((TQ587_ZXING_READER " -1 " + png + " >" + said + " 2>&1").c_str()), 0);
  std::ifstream in(said);
  const string text{std::istreambuf_iterator<char>(in), {}};
  unlink(png.c_str()), unlink(said.c_str());
  return text.rfind(png, 0) == 0 ? text.substr(png.size()) : text;
}

// Font A is 12 x 24 dots, font B 9 x 17, the paper 512 wide, a line 30 dots
// apart. ESC - 1 underlines each cell on its bottom row, so the black dots
// of that row span exactly the characters. What cannot be printed is
// refused with a note: a symbol leaves a framed box 34 dots high, an absurd
// length has its data passed over.
TEST(ReceiptRenderer, PutsTextAndPicturesWhereThePaperShowsThem) {
  struct Case {
    const char* name;
    string bytes;
    std::vector<int> heights;        // of each receipt
    std::vector<string> notes = {};  // how each note begins
    int row = -1;                    // when set: its first and last black dot, on the first receipt
    size_t first = 0, last = 0;
  };
  const Case kCases[] = {
      {"a 43rd character wraps", "\x1b-\x01" + string(43, 'x') + "\n", {60}, {}, 53, 0, 11},
      {"centred", "\x1b" "a\x01\x1b-\x01" "0123456789\n"s, {30}, {}, 23, 196, 315},
      {"right-aligned", "\x1b" "a\x02\x1b-\x01" "0123456789\n"s, {30}, {}, 23, 392, 511},
      {"ESC ! 80 + 20: underlined, double width", "\x1b!\xa0" "0123456789\n"s, {30}, {}, 23, 0, 239},
      {"ESC ! 91: underlined font B, double height on the baseline", "\x1b!\x91" "0123456789\n"s, {34}, {}, 33, 0, 89},
      {"ESC M 1: font B", "\x1bM\x01\x1b-\x01" "0123456789\n"s, {30}, {}, 16, 0, 89},
      {"HT to the next stop, none past the last", "\x1b" "D\x02\x04\x00\x1b-\x01" "xy\tz\tw\n"s, {30}, {}, 23, 0, 71},
      {"GS L moves the left margin", "\x1dL\x18\x00\x1b-\x01" "ab\n"s, {30}, {}, 23, 24, 47},
      {"GS W narrows the area that centres", "\x1dW\x64\x00\x1b" "a\x01\x1b-\x01" "ab\n"s, {30}, {}, 23, 38, 61},
      {"ESC @ ends modes and margins", "\x1b!\xa0\x1b" "a\x02\x1dL\x18\x00\x1b@\x1b-\x01" "ab\n"s, {30}, {}, 23, 0, 23},
      {"ESC @ drops the line not yet printed", "\x1b-\x01" "abc\x1b@\x1b-\x01" "d\n"s, {30},
       {"text cleared by ESC @ before it was printed: \"abc\""}, 23, 0, 11},
      {"FS p: a framed box 256 x 96 for the stored image", "\x1cp\x01\x00"s, {96}, {}, 0, 0, 255},
      {"ESC 3 80 spaces lines 80 dots, ESC 2 back to 30", "\x1b\x33\x50" "a\n\x1b\x32" "b\nc\n", {140}},
      {"ESC d 3 prints and feeds 3 lines, ESC J 100 100 dots", "a\x1b" "d\x03" "b\x1bJ\x64", {190}},
      {"GS V; GS V 66 40 feeds 40; no blank receipt", "\n\x1dV\x00" "a\n\x1dV\x00" "b\n\x1dV\x42\x28"s, {30, 70}},
      {"20000 dots a receipt: 200 lines 250 apart", "\x1b\x33\xfa" + string(8400, 'a') + "\n", {20000, 20000, 10000}},
      {"7 digits are no EAN-13", "\x1dkC\x07" "1234567", {34}, {"GS k 67 not printed: needs 12 digits, or 13 with"}},
      {"letters in an EAN-13", "\x1dkC\x0c" "ABCDEFGHIJKL", {34}, {"GS k 67 not printed: "}},
      {"Code 39 too wide", "\x1dkE\x28" + string(40, 'A'), {34}, {"GS k 69 not printed: wider than the paper"}},
      {"GS 8 L of 5 MB passes its data over", "\x1d\x38\x4c\x00\x00\x50\x00"s + string(5u << 20, 'x') + "a\n", {30},
       {"GS 8 L of 5242880 bytes refused"}},
      {"GS 8 L of 65535 x 65535 dots with 8 bytes of data stores no picture",
       "\x1d\x38\x4c\x12\x00\x00\x00\x30\x70\x30\x01\x01\x31\xff\xff\xff\xff" "12345678"
       "\x1d\x28\x4c\x02\x00\x30\x02"s, {}},
      {"GS k 4, no 00 in 255 bytes: text", "\x1dk\x04"s + string(300, 'A'), {234}, {"GS k 4 without its closing 00"}},
      {"a command cut off at the end", "a\n\x1d(k\x10\x00\x31"s, {30}, {"a command cut off by the end of the data"}},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    const Rendered r = render(c.bytes, 4096);
    ASSERT_EQ(r.heights, c.heights);
    ASSERT_EQ(r.notes.size(), c.notes.size());
    for (size_t k = 0; k < c.notes.size(); ++k) EXPECT_EQ(r.notes[k].rfind(c.notes[k], 0), 0u) << r.notes[k];
    if (c.row < 0) continue;
    const string dots = dotsOf(r.receipts[0], 0, c.row, 512, 1);
    EXPECT_EQ(std::make_pair(dots.find('#'), dots.rfind('#')), std::make_pair(c.first, c.last));
  }
}

TEST(ReceiptRenderer, PrintsARasterPictureDotForDot) {
  // GS 8 L: 10 x 3 dots, two bytes a row, the leftmost dot in the top bit;
  // then GS ( L 2 0 48 2 prints it.
  const Rendered r = render("\x1d\x38\x4c\x10\x00\x00\x00\x30\x70\x30\x01\x01\x31\x0a\x00\x03\x00"
                            "\xf0\x40" "\x81\x80" "\x00\xff" "\x1d\x28\x4c\x02\x00\x30\x02"s);
  ASSERT_EQ(r.heights, std::vector<int>{3});
  EXPECT_EQ(dotsOf(r.receipts[0], 0, 0, 12, 3),
            "####.....#..\n"
            "#......##...\n"
            "........##..\n");
}

TEST(ReceiptRenderer, DrawsBoldAndTheAccentsOfEachCodePage) {
  // The same letter under two tables draws the same; another letter, or
  // the letter in bold, does not.
  struct Case {
    const char* name;
    string one, other;
    bool same;
  };
  const Case kCases[] = {
      {"a-acute, c-cedilla: 1252 E1 E7 as 437 A0 87", "\x1bt\x10\xe1\xe7\n", "\x1bt\x00\xa0\x87\n"s, true},
      {"a-acute is not a", "\x1bt\x10\xe1\n", "a\n", false},
      {"ESC @ goes back to Windows-1252", "\x1bt\x00\x1b@\xe1\n"s, "\x1bt\x10\xe1\n", true},
      {"ESC E 1: bold", "\x1b" "E\x01" "a\n", "a\n", false},
      {"ESC E 0: bold no more", "\x1b" "E\x01\x1b" "E\x00" "a\n"s, "a\n", true},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    const Rendered one = render(c.one), other = render(c.other);
    ASSERT_EQ(std::make_pair(one.receipts.size(), other.receipts.size()), std::make_pair(size_t{1}, size_t{1}));
    EXPECT_EQ(one.receipts[0].dots() == other.receipts[0].dots(), c.same);
  }
}

// Each symbol the library sends, drawn and read back by ZXingReader
// (zxing-cpp), an independent decoder.
TEST(ReceiptRenderer, DrawsEverySymbolSoThatAReaderReadsItBack) {
  struct Case {
    const char* name;
    string bytes;  // after ESC a 1
    const char* read;
  };
  const Case kCases[] = {
      {"EAN-13", "\x1dkC\x0c" "789100031550", " EAN-13 \"7891000315507\"\n"},
      {"EAN-13 with its check digit", "\x1dkC\x0d" "7891000315507", " EAN-13 \"7891000315507\"\n"},
      {"EAN-8", "\x1dkD\x07" "1234567", " EAN-8 \"12345670\"\n"},
      {"EAN-8 with its check digit", "\x1dkD\x08" "96385074", " EAN-8 \"96385074\"\n"},
      {"UPC-A", "\x1dkA\x0b" "01234567890", " UPC-A \"012345678905\"\n"},
      {"UPC-A with its check digit", "\x1dkA\x0c" "012345678905", " UPC-A \"012345678905\"\n"},
      {"Code 39", "\x1dkE\x07" "TQ587-A", " Code39 \"TQ587-A\"\n"},
      {"Code 93", "\x1dkH\x05" "TQ587", " Code93 \"TQ587\"\n"},
      {"Codabar", "\x1dkG\x07" "A12345B", " Codabar \"12345\"\n"},
      {"Code 128 after its code set", "\x1dkI\x0a" "{BTQ587-ab", " Code128 \"TQ587-ab\"\n"},
      {"Code 128 with a doubled and a last brace", "\x1dkI\x07" "{BA{{B{", " Code128 \"A{B{\"\n"},
      {"ITF", "\x1dkF\x08" "12345678", " ITF \"12345678\"\n"},
      {"QR code", "\x1d(k\x04\x00\x31\x41\x32\x00\x1d(k\x03\x00\x31\x43\x04\x1d(k\x03\x00\x31\x45\x30"
       "\x1d(k\x22\x00\x31\x50\x30" "https://example.com/nota/000123\x1d(k\x03\x00\x31\x51\x30\x00\x00"s,
       " QRCode \"https://example.com/nota/000123\"\n"},
      {"PDF417", "\x1d(k\x03\x00\x30\x41\x00\x1d(k\x03\x00\x30\x42\x00\x1d(k\x03\x00\x30\x43\x03"
       "\x1d(k\x03\x00\x30\x44\x03\x1d(k\x04\x00\x30\x45\x31\x01\x1d(k\x17\x00\x30\x50\x30" "Nota 000123 R$ 12,50"
       "\x1d(k\x03\x00\x30\x51\x30"s, " PDF417 \"Nota 000123 R$ 12,50\"\n"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    const Rendered r = render("\x1b" "a\x01" + c.bytes);
    ASSERT_EQ(r.receipts.size(), 1u);
    EXPECT_EQ(decode(r.receipts[0]), c.read);
  }
}

// Every prefix of a receipt renders, and the receipt given byte by byte,
// each command split across reads, draws the same as given at once.
TEST(MalformedStream, EveryPrefixAndEverySplitOfAReceiptRenders) {
  const string receipt =
      "\x1b@\x1bt\x10\x1b" "D\x05\x0a\x00\x1b" "a\x01\x1b!\x38" "Ol\xe1\n\x1b-\x01\tx\x1b" "d\x02\x1b\x33\x20"
      "\x1dh\x50\x1dw\x02\x1dH\x03\x1dkC\x0c" "789100031550\x1dk\x02" "12345\x00"
      "\x1d(k\x04\x00\x31\x41\x32\x00\x1d(k\x03\x00\x31\x50\x30" "ab\x1d(k\x03\x00\x31\x51\x30"
      "\x1d(k\x03\x00\x30\x50\x30" "cd\x1d(k\x03\x00\x30\x51\x30\x1cp\x01\x00"
      "\x1d\x38\x4c\x0b\x00\x00\x00\x30\x70\x30\x01\x01\x31\x08\x00\x01\x00\xaa\x1d(L\x02\x00\x30\x32"
      "\x1dL\x10\x00\x1dW\x00\x01\x1bp\x00\x96\xff\x10\x04\x01\x1dV\x42\x00"s;
  for (size_t length = 0; length < receipt.size(); ++length) render(receipt.substr(0, length));
  const Rendered whole = render(receipt), byteByByte = render(receipt, 1);
  ASSERT_EQ(std::make_pair(whole.receipts.size(), byteByByte.receipts.size()), std::make_pair(size_t{1}, size_t{1}));
  EXPECT_EQ(byteByByte.receipts[0].dots(), whole.receipts[0].dots());
}

}  // namespace
}  // namespace vprinter
