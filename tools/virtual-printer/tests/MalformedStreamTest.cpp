// Broken and hostile streams: the renderer never crashes, never keeps more
// than it must and never draws a receipt beyond its cap.
#include <gtest/gtest.h>

#include "RenderSupport.h"

namespace vprinter {
namespace {

using namespace std::string_literals;

void expectBounded(const Rendered& r) {
  for (const Bitmap& b : r.receipts) {
    EXPECT_EQ(b.width(), 512);
    EXPECT_LE(b.height(), Paper::kMaxReceiptDots);
  }
}

// What cannot be printed is refused with a note: a symbol leaves a framed
// box 34 dots high, absurd lengths have their data passed over.
TEST(MalformedStream, WhatCannotBePrintedIsRefusedWithANote) {
  struct Case {
    const char* name;
    std::string bytes;
    std::vector<int> heights;
    std::vector<std::string> notes;  // how each note begins
  };
  const std::string fiveMegabytes(5u << 20, 'x');
  const Case kCases[] = {
      {"letters in an EAN-13", "\x1dkC\x0c" "ABCDEFGHIJKL", {34}, {"GS k 67 not printed: "}},
      {"Code 39 wider than the paper", "\x1dkE\x28" + std::string(40, 'A'), {34},
       {"GS k 69 not printed: wider than the paper"}},
      {"QR print with nothing stored", "\x1d(k\x03\x00\x31\x51\x30"s, {34}, {"QR code not printed: no data"}},
      {"GS 8 L claiming 4 GB swallows the rest", "\x1d\x38\x4c\xff\xff\xff\xff\x30\x70" "abc\n"s, {},
       {"GS 8 L of 4294967295 bytes refused"}},
      {"GS 8 L of 5 MB passes its data over", "\x1d\x38\x4c\x00\x00\x50\x00"s + fiveMegabytes + "a\n", {30},
       {"GS 8 L of 5242880 bytes refused"}},
      {"GS 8 L of 65535 x 65535 dots with 8 bytes of data stores no picture",
       "\x1d\x38\x4c\x12\x00\x00\x00\x30\x70\x30\x01\x01\x31\xff\xff\xff\xff" "12345678"
       "\x1d\x28\x4c\x02\x00\x30\x02"s, {}, {}},
      {"GS ( k storing 65532 bytes gives a box", "\x1d(k\xff\xff\x31\x50\x30"s + std::string(65532, '7') +
       "\x1d(k\x03\x00\x31\x51\x30"s, {34}, {"QR code not printed: "}},
      {"GS k with no closing 00 in 255 bytes prints the rest as text", "\x1dk\x04"s + std::string(300, 'A'),
       {234}, {"GS k 4 without its closing 00 refused"}},
      {"a command cut off at the end", "a\n\x1d(k\x10\x00\x31"s, {30},
       {"a command cut off by the end of the data was dropped"}},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    const Rendered r = renderStream(c.bytes, 4096);
    EXPECT_EQ(r.heights(), c.heights);
    ASSERT_EQ(r.notes.size(), c.notes.size());
    for (size_t k = 0; k < c.notes.size(); ++k) EXPECT_EQ(r.notes[k].rfind(c.notes[k], 0), 0u) << r.notes[k];
  }
}

TEST(MalformedStream, AReceiptLongerThanTheCapGoesOnInTheNextPicture) {
  std::string bytes;
  for (int k = 0; k < 200; ++k) bytes += "a\x1bJ\xff";
  const Rendered r = renderStream(bytes);
  // 200 x 255 dots: two full receipts and the rest
  ASSERT_EQ(r.receipts.size(), 3u);
  expectBounded(r);
}

// Every prefix of a receipt renders within bounds, and the whole receipt
// given byte by byte, each command split across reads, draws the same as
// given at once.
TEST(MalformedStream, EveryPrefixAndEverySplitOfAReceiptRenders) {
  const std::string receipt =
      "\x1b@\x1bt\x10\x1b" "D\x05\x0a\x00\x1b" "a\x01\x1b!\x38" "Ol\xe1\n\x1b-\x01\tx\x1b" "d\x02\x1b\x33\x20"
      "\x1dh\x50\x1dw\x02\x1dH\x03\x1dkC\x0c" "789100031550\x1dk\x02" "12345\x00"
      "\x1d(k\x04\x00\x31\x41\x32\x00\x1d(k\x03\x00\x31\x50\x30" "ab\x1d(k\x03\x00\x31\x51\x30"
      "\x1d(k\x03\x00\x30\x50\x30" "cd\x1d(k\x03\x00\x30\x51\x30\x1cp\x01\x00"
      "\x1d\x38\x4c\x0b\x00\x00\x00\x30\x70\x30\x01\x01\x31\x08\x00\x01\x00\xaa\x1d(L\x02\x00\x30\x32"
      "\x1dL\x10\x00\x1dW\x00\x01\x1bp\x00\x96\xff\x10\x04\x01\x1dV\x42\x00"s;
  for (size_t length = 0; length <= receipt.size(); ++length) expectBounded(renderStream(receipt.substr(0, length)));
  const Rendered whole = renderStream(receipt), byteByByte = renderStream(receipt, 1);
  ASSERT_EQ(whole.receipts.size(), 1u);
  ASSERT_EQ(byteByByte.receipts.size(), 1u);
  EXPECT_EQ(byteByByte.receipts[0].dots(), whole.receipts[0].dots());
}

}  // namespace
}  // namespace vprinter
