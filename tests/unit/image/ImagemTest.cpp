// ImagemTest.cpp - the raster command, and the two picture exports end to
// end: file in, bytes on the recording pipe out.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "connection/PrinterController.h"
#include "image/ImagemColor.h"
#include "image/ImagemPB.h"
#include "image/Raster.h"
#include "log/Log.h"
#include "support/TestSupport.h"
#include "unit/image/BmpTestFiles.h"

using bmptest::grey;
using bmptest::Picture;
using bmptest::raster8x8;
using bmptest::rgb;

namespace {

const BmpPixel kWhite = rgb(255, 255, 255);
const BmpPixel kBlack = rgb(0, 0, 0);
const Bytes kTail = {0x1B, 0x40, 0x1D, 0x28, 0x4C, 0x02, 0x00, 0x30, 0x02, 0x0A};

TEST(GerarRaster, Commands) {
  struct Case {
    const char* name;
    int width, height;
    DotMask mask;
    Bytes bytes;
  };
  const Case cases[] = {
      {"8 x 8 all dots: the 35 bytes", 8, 8, DotMask(64, 1),
       {0x1D, 0x38, 0x4C, 0x12, 0x00, 0x00, 0x00, 0x30, 0x70, 0x30, 0x01, 0x01,
        0x31, 0x08, 0x00, 0x08, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
        0xFF, 0x1B, 0x40, 0x1D, 0x28, 0x4C, 0x02, 0x00, 0x30, 0x02, 0x0A}},
      {"width 9: rows of 2 bytes, the 7 spare bits clear", 9, 2, DotMask(18, 1),
       {0x1D, 0x38, 0x4C, 0x0E, 0x00, 0x00, 0x00, 0x30, 0x70, 0x30, 0x01, 0x01,
        0x31, 0x10, 0x00, 0x02, 0x00, 0xFF, 0x80, 0xFF, 0x80,
        0x1B, 0x40, 0x1D, 0x28, 0x4C, 0x02, 0x00, 0x30, 0x02, 0x0A}},
      {"leftmost dot in the top bit, top row first", 3, 2, DotMask{1, 0, 1, 0, 1, 0},
       {0x1D, 0x38, 0x4C, 0x0C, 0x00, 0x00, 0x00, 0x30, 0x70, 0x30, 0x01, 0x01,
        0x31, 0x08, 0x00, 0x02, 0x00, 0xA0, 0x40,
        0x1B, 0x40, 0x1D, 0x28, 0x4C, 0x02, 0x00, 0x30, 0x02, 0x0A}},
      {"a mask smaller than width x height: nothing", 8, 8, DotMask(63, 1), {}},
      {"a negative side: nothing", -8, 8, DotMask(64, 1), {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(gerarRaster(c.mask, c.width, c.height), c.bytes);
  }
  // 300 x 100: the sizes need both bytes.
  const std::vector<uint8_t> bytes = gerarRaster(DotMask(300 * 100, 0), 300, 100);
  ASSERT_EQ(bytes.size(), 3827u);
  const Bytes head = {0x1D, 0x38, 0x4C, 0xE2, 0x0E, 0x00, 0x00, 0x30, 0x70,
                      0x30, 0x01, 0x01, 0x31, 0x30, 0x01, 0x64, 0x00};
  EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 17), head);
  EXPECT_EQ(Bytes(bytes.end() - 10, bytes.end()), kTail);
}

TEST(Luminancia, KeepsTheOrderOfTheSums) {
  EXPECT_EQ(luminancia(grey(127)), 126.99999999999999);
  EXPECT_EQ(luminancia(grey(128)), 127.99999999999999);
}

// Each test starts with a recording pipe in a connected controller.
class PictureTest : public ::testing::Test {
 protected:
  void SetUp() override { pipe_ = &installRecordingPipe(); }
  void TearDown() override { removePipe(); }
  RecordingPipe* pipe_ = nullptr;
  ScratchDir dir_;
};

// An 8 x 8 picture of one colour with some pixels changed: {x, y, colour} each.
struct Dot {
  int x, y;
  BmpPixel colour;
};
Picture pic(BmpPixel all, std::initializer_list<Dot> dots = {}, int width = 8, int height = 8) {
  Picture p = bmptest::uniform(width, height, all);
  for (const Dot& d : dots) p.set(d.x, d.y, d.colour);
  return p;
}

TEST_F(PictureTest, ThresholdAndDithering) {
  // Colours changing over a 12 x 8 picture, so that errors flow in every direction.
  Picture gradient = pic(kWhite, {}, 12, 8);
  for (int i = 0; i < 96; ++i) {
    const int x = i % 12, y = i / 12;
    gradient.set(x, y, rgb((x * 16 + y * 5) % 256, (x * 9 + y * 31) % 256, (x * 23 + y * 11) % 256));
  }
  const Bytes gradientBytes = {
      0x1D, 0x38, 0x4C, 0x1A, 0x00, 0x00, 0x00, 0x30, 0x70, 0x30, 0x01, 0x01, 0x31, 0x10,
      0x00, 0x08, 0x00, 0xFE, 0xA0, 0xF5, 0xA0, 0xDA, 0x50, 0xAA, 0x80, 0xD4, 0x20, 0x52,
      0x80, 0xA8, 0xF0, 0x47, 0x50, 0x1B, 0x40, 0x1D, 0x28, 0x4C, 0x02, 0x00, 0x30, 0x02, 0x0A};
  struct Case {
    const char* name;
    int (*print)(const char*);
    Picture picture;
    uint16_t depth;
    Bytes sent;  // 8 bytes: the rows of an 8 x 8 raster; empty: 0 and nothing sent
  };
  const auto pb = ImagemPB::imprimeBitmap;
  const auto color = ImagemColor::imprimeBitmapColor;
  Picture topRow = pic(kWhite, {{0, 7, kBlack}});
  for (int x = 0; x < 8; ++x) topRow.set(x, 0, kBlack);
  const Case cases[] = {
      {"grey 127 prints a dot", pb, pic(grey(127)), 24, Bytes(8, 0xFF)},
      {"grey 128 prints nothing", pb, pic(grey(128)), 24, Bytes(8, 0x00)},
      {"pure red is a dot", pb, pic(rgb(255, 0, 0)), 24, Bytes(8, 0xFF)},
      {"pure green is not", pb, pic(rgb(0, 255, 0)), 24, Bytes(8, 0x00)},
      {"pure blue is a dot", pb, pic(rgb(0, 0, 255)), 24, Bytes(8, 0xFF)},
      {"the top row as displayed goes first", pb, topRow, 24,
       {0xFF, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x80}},
      {"alpha 0 in a 32-bit file", pb, pic(kBlack, {{3, 3, rgb(255, 255, 255, 255)}}), 32,
       {0xFF, 0xFF, 0xFF, 0xEF, 0xFF, 0xFF, 0xFF, 0xFF}},
      {"alpha 255 changes nothing", pb, pic(rgb(0, 0, 0, 255), {{3, 3, kWhite}}), 32,
       {0xFF, 0xFF, 0xFF, 0xEF, 0xFF, 0xFF, 0xFF, 0xFF}},
      {"dithered grey 128: a checkerboard starting without a dot", color, pic(grey(128)), 24,
       {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA}},
      {"dithered: one grey 127 pixel among white is a dot", color, pic(kWhite, {{0, 0, grey(127)}}),
       24, {0x80, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},
      {"dithered: a dark pixel beside white, the white neighbours stop at 255", color,
       pic(kWhite, {{0, 0, grey(100)}}), 24, {0x80, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},
      {"dithered: a light pixel beside black, the black neighbours stop at 0", color,
       pic(kBlack, {{0, 0, grey(200)}}), 24, {0x7F, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},
      {"dithered: 182 - 55.125 is cut to 126, a dot", color,
       pic(kWhite, {{0, 0, grey(129)}, {1, 0, grey(183)}}), 24,
       {0x40, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},
      {"dithered: a gradient, 12 wide", color, gradient, 24, gradientBytes},
      {"7 wide: nothing sent", pb, pic(kBlack, {}, 7, 8), 24, {}},
      {"7 high: nothing sent", pb, pic(kBlack, {}, 8, 7), 24, {}},
      {"dithered, 7 wide: nothing sent", color, pic(kBlack, {}, 7, 8), 24, {}},
      {"dithered, 7 high: nothing sent", color, pic(kBlack, {}, 8, 7), 24, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    pipe_->writes.clear();
    LogCapture capture;
    dir_.write("pic.bmp", bmptest::file(c.picture, c.depth));
    EXPECT_EQ(c.print("pic.bmp"), c.sent.empty() ? 0 : 1);
    const Bytes command = c.sent.size() == 8 ? raster8x8(c.sent) : c.sent;
    EXPECT_EQ(pipe_->writes, c.sent.empty() ? std::vector<Bytes>{} : std::vector<Bytes>{command});
    EXPECT_TRUE(capture.lines().empty());
  }
}

TEST_F(PictureTest, EveryDepthGivesTheSameBytes) {
  // A 10 x 8 picture in two colours: width 10 pads each row to 2 bytes.
  Picture p = pic(kWhite, {}, 10, 8);
  for (int i = 0; i < 80; ++i) {
    if (i % 10 == i / 10 || i % 10 == 9 || (i / 10 == 7 && i % 10 < 4)) p.set(i % 10, i / 10, rgb(8, 16, 0));
  }
  const Bytes expected = {0x1D, 0x38, 0x4C, 0x1A, 0x00, 0x00, 0x00, 0x30, 0x70, 0x30, 0x01,
                          0x01, 0x31, 0x10, 0x00, 0x08, 0x00,
                          0x80, 0x40, 0x40, 0x40, 0x20, 0x40, 0x10, 0x40,
                          0x08, 0x40, 0x04, 0x40, 0x02, 0x40, 0xF1, 0x40,
                          0x1B, 0x40, 0x1D, 0x28, 0x4C, 0x02, 0x00, 0x30, 0x02, 0x0A};
  for (uint16_t depth : {1, 4, 8, 16, 24, 32}) {
    SCOPED_TRACE("depth " + std::to_string(depth));
    pipe_->writes.clear();
    dir_.write("pic.bmp", bmptest::file(p, depth));
    EXPECT_EQ(ImagemPB::imprimeBitmap("pic.bmp"), 1);
    EXPECT_EQ(pipe_->writes, std::vector<Bytes>{expected});
  }
}

TEST_F(PictureTest, AFileThatIsNoBmpGivesMinus8AndOneDebugLine) {
  struct Case {
    int (*print)(const char*);
    const char* where;
    const char* file;
  };
  const char* const pb = "ImagemPB::imprimeBitmap";
  const char* const color = "ImagemColor::imprimeBitmapColor";
  const Case cases[] = {
      {ImagemPB::imprimeBitmap, pb, "none.bmp"},
      {ImagemPB::imprimeBitmap, pb, "text.bmp"},
      {ImagemPB::imprimeBitmap, pb, nullptr},
      {ImagemColor::imprimeBitmapColor, color, "none.bmp"},
      {ImagemColor::imprimeBitmapColor, color, "rle.bmp"},  // run-length
  };
  dir_.write("text.bmp", "hello");
  bmptest::Layout rle = bmptest::encode(pic(kBlack), 8);
  rle.compression = 1;
  dir_.write("rle.bmp", bmptest::file(rle));
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.where) + " " + (c.file ? c.file : "no name"));
    LogCapture capture;
    EXPECT_EQ(c.print(c.file), -8);
    ASSERT_EQ(capture.lines().size(), 1u);
    EXPECT_EQ(capture.lines()[0].level, LOG_DEBUG);
    EXPECT_EQ(capture.lines()[0].where, c.where);
    EXPECT_EQ(capture.lines()[0].message, "ImagemPB: Falha ao abrir arquivo de imagem.");
    EXPECT_TRUE(pipe_->writes.empty());
  }
}

std::unique_ptr<AbstractCommunicationPipe> noPrinter() { return nullptr; }

TEST_F(PictureTest, NoPrinter) {
  dir_.write("pic.bmp", bmptest::file(pic(kBlack), 24));
  PrinterController& controller = PrinterController::getInstance();

  // Not connected and nothing answers: 0 before the file is looked at.
  removePipe();
  controller.setPipeFactories(noPrinter, noPrinter);
  {
    LogCapture capture;
    EXPECT_EQ(ImagemPB::imprimeBitmap("none.bmp"), 0);
    EXPECT_EQ(ImagemColor::imprimeBitmapColor("none.bmp"), 0);
    EXPECT_FALSE(capture.has("ImagemPB: Falha ao abrir arquivo de imagem."));
  }

  // Marked connected but without a pipe at send time: built, not sent, 1.
  controller.setPipe(nullptr, true);
  EXPECT_EQ(ImagemPB::imprimeBitmap("pic.bmp"), 1);
  EXPECT_EQ(controller.pipe(), nullptr);
  controller.setPipe(nullptr, true);
  EXPECT_EQ(ImagemColor::imprimeBitmapColor("pic.bmp"), 1);
  EXPECT_EQ(controller.pipe(), nullptr);

  // A write the pipe refuses changes nothing in the result.
  RecordingPipe& refusing = installRecordingPipe();
  refusing.script.failFromWrite = 0;
  EXPECT_EQ(ImagemPB::imprimeBitmap("pic.bmp"), 1);
  EXPECT_EQ(refusing.writes.size(), 1u);
}

}  // namespace
