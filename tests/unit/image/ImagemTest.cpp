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
using bmptest::rgb;

namespace {

const BmpPixel kWhite = rgb(255, 255, 255);
const BmpPixel kBlack = rgb(0, 0, 0);

// GS 8 L ... of an 8 x 8 picture up to its data, and what follows the data.
Bytes head8x8() {
  return {0x1D, 0x38, 0x4C, 0x12, 0x00, 0x00, 0x00, 0x30, 0x70,
          0x30, 0x01, 0x01, 0x31, 0x08, 0x00, 0x08, 0x00};
}
const Bytes kTail = {0x1B, 0x40, 0x1D, 0x28, 0x4C, 0x02, 0x00, 0x30, 0x02, 0x0A};

Bytes command8x8(const Bytes& rows) {
  Bytes all = head8x8();
  all.insert(all.end(), rows.begin(), rows.end());
  all.insert(all.end(), kTail.begin(), kTail.end());
  return all;
}

TEST(GerarRaster, Commands) {
  struct Case {
    const char* name;
    int width;
    int height;
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
}

TEST(GerarRaster, Width300Height100) {
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

struct PrintCase {
  const char* name;
  Picture picture;
  uint16_t depth;
  int result;
  std::vector<Bytes> writes;
};

Picture topRowBlack() {
  Picture p = bmptest::uniform(8, 8, kWhite);
  for (int x = 0; x < 8; ++x) p.set(x, 0, kBlack);
  p.set(0, 7, kBlack);
  return p;
}

Picture withAlpha(int alpha) {
  Picture p = bmptest::uniform(8, 8, rgb(0, 0, 0, alpha));
  p.set(3, 3, rgb(255, 255, 255, 255 - alpha));
  return p;
}

TEST_F(PictureTest, ImprimeBitmapThreshold) {
  const PrintCase cases[] = {
      {"8 x 8 black", bmptest::uniform(8, 8, kBlack), 24, 1,
       {command8x8({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF})}},
      {"grey 127 prints a dot", bmptest::uniform(8, 8, grey(127)), 24, 1,
       {command8x8({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF})}},
      {"grey 128 prints nothing", bmptest::uniform(8, 8, grey(128)), 24, 1,
       {command8x8({0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00})}},
      {"pure red is a dot", bmptest::uniform(8, 8, rgb(255, 0, 0)), 24, 1,
       {command8x8({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF})}},
      {"pure green is not", bmptest::uniform(8, 8, rgb(0, 255, 0)), 24, 1,
       {command8x8({0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00})}},
      {"pure blue is a dot", bmptest::uniform(8, 8, rgb(0, 0, 255)), 24, 1,
       {command8x8({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF})}},
      {"the top row as displayed goes first", topRowBlack(), 24, 1,
       {command8x8({0xFF, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x80})}},
      {"alpha 0 in a 32-bit file", withAlpha(0), 32, 1,
       {command8x8({0xFF, 0xFF, 0xFF, 0xEF, 0xFF, 0xFF, 0xFF, 0xFF})}},
      {"alpha 255 changes nothing", withAlpha(255), 32, 1,
       {command8x8({0xFF, 0xFF, 0xFF, 0xEF, 0xFF, 0xFF, 0xFF, 0xFF})}},
      {"7 wide: nothing sent", bmptest::uniform(7, 8, kBlack), 24, 0, {}},
      {"7 high: nothing sent", bmptest::uniform(8, 7, kBlack), 24, 0, {}},
  };
  for (const PrintCase& c : cases) {
    SCOPED_TRACE(c.name);
    pipe_->writes.clear();
    LogCapture capture;
    dir_.write("pic.bmp", bmptest::file(c.picture, c.depth));
    EXPECT_EQ(ImagemPB::imprimeBitmap("pic.bmp"), c.result);
    EXPECT_EQ(pipe_->writes, c.writes);
    EXPECT_TRUE(capture.lines().empty());
  }
}

TEST_F(PictureTest, EveryDepthGivesTheSameBytes) {
  // A 10 x 8 picture in two colours: width 10 pads each row to 2 bytes.
  Picture p = bmptest::uniform(10, 8, kWhite);
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 10; ++x) {
      if (x == y || x == 9 || (y == 7 && x < 4)) p.set(x, y, rgb(8, 16, 0));
    }
  }
  const Bytes expected = {0x1D, 0x38, 0x4C, 0x1A, 0x00, 0x00, 0x00, 0x30, 0x70, 0x30, 0x01,
                          0x01, 0x31, 0x10, 0x00, 0x08, 0x00,
                          0x80, 0x40, 0x40, 0x40, 0x20, 0x40, 0x10, 0x40,
                          0x08, 0x40, 0x04, 0x40, 0x02, 0x40, 0xF1, 0x40,
                          0x1B, 0x40, 0x1D, 0x28, 0x4C, 0x02, 0x00, 0x30, 0x02, 0x0A};
  const uint16_t depths[] = {1, 4, 8, 16, 24, 32};
  for (uint16_t depth : depths) {
    SCOPED_TRACE("depth " + std::to_string(depth));
    pipe_->writes.clear();
    dir_.write("pic.bmp", bmptest::file(p, depth));
    EXPECT_EQ(ImagemPB::imprimeBitmap("pic.bmp"), 1);
    ASSERT_EQ(pipe_->writes.size(), 1u);
    EXPECT_EQ(pipe_->writes[0], expected);
  }
}

TEST_F(PictureTest, AFileThatIsNoBmpGivesMinus8AndOneDebugLine) {
  struct Case {
    const char* name;
    int (*print)(const char*);
    const char* where;
    const char* file;
  };
  const Case cases[] = {
      {"monochrome, missing file", ImagemPB::imprimeBitmap, "ImagemPB::imprimeBitmap", "none.bmp"},
      {"monochrome, not a BMP", ImagemPB::imprimeBitmap, "ImagemPB::imprimeBitmap", "text.bmp"},
      {"monochrome, no name", ImagemPB::imprimeBitmap, "ImagemPB::imprimeBitmap", nullptr},
      {"dithered, missing file", ImagemColor::imprimeBitmapColor,
       "ImagemColor::imprimeBitmapColor", "none.bmp"},
      {"dithered, run-length", ImagemColor::imprimeBitmapColor,
       "ImagemColor::imprimeBitmapColor", "rle.bmp"},
  };
  dir_.write("text.bmp", "hello");
  Picture black = bmptest::uniform(8, 8, kBlack);
  bmptest::Layout rle = bmptest::encode(black, 8);
  rle.compression = 1;
  dir_.write("rle.bmp", bmptest::file(rle));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
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
  dir_.write("pic.bmp", bmptest::file(bmptest::uniform(8, 8, kBlack), 24));
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

Picture oneCorner(BmpPixel corner, BmpPixel rest) {
  Picture p = bmptest::uniform(8, 8, rest);
  p.set(0, 0, corner);
  return p;
}

Picture twoFirst(BmpPixel first, BmpPixel second) {
  Picture p = bmptest::uniform(8, 8, kWhite);
  p.set(0, 0, first);
  p.set(1, 0, second);
  return p;
}

// Colours changing over the picture, so that errors flow in every direction.
Picture gradient() {
  Picture p = bmptest::uniform(12, 8, kWhite);
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 12; ++x) {
      p.set(x, y, rgb((x * 16 + y * 5) % 256, (x * 9 + y * 31) % 256, (x * 23 + y * 11) % 256));
    }
  }
  return p;
}

TEST_F(PictureTest, ImprimeBitmapColorDithers) {
  const PrintCase cases[] = {
      {"grey 128 everywhere: a checkerboard starting without a dot",
       bmptest::uniform(8, 8, grey(128)), 24, 1,
       {command8x8({0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA})}},
      {"one grey 127 pixel among white is a dot", oneCorner(grey(127), kWhite), 24, 1,
       {command8x8({0x80, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00})}},
      {"white everywhere: no dots", bmptest::uniform(8, 8, kWhite), 24, 1,
       {command8x8({0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00})}},
      {"black everywhere: all dots", bmptest::uniform(8, 8, kBlack), 24, 1,
       {command8x8({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF})}},
      {"a dark pixel beside white: the white neighbours stop at 255",
       oneCorner(grey(100), kWhite), 24, 1,
       {command8x8({0x80, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00})}},
      {"a light pixel beside black: the black neighbours stop at 0",
       oneCorner(grey(200), kBlack), 24, 1,
       {command8x8({0x7F, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF})}},
      {"182 - 55.125 is cut to 126, a dot", twoFirst(grey(129), grey(183)), 24, 1,
       {command8x8({0x40, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00})}},
      {"a gradient, 12 wide", gradient(), 24, 1,
       {{0x1D, 0x38, 0x4C, 0x1A, 0x00, 0x00, 0x00, 0x30, 0x70, 0x30, 0x01, 0x01, 0x31,
         0x10, 0x00, 0x08, 0x00,
         0xFE, 0xA0, 0xF5, 0xA0, 0xDA, 0x50, 0xAA, 0x80,
         0xD4, 0x20, 0x52, 0x80, 0xA8, 0xF0, 0x47, 0x50,
         0x1B, 0x40, 0x1D, 0x28, 0x4C, 0x02, 0x00, 0x30, 0x02, 0x0A}}},
      {"7 wide: nothing sent", bmptest::uniform(7, 8, kBlack), 24, 0, {}},
      {"7 high: nothing sent", bmptest::uniform(8, 7, kBlack), 24, 0, {}},
  };
  for (const PrintCase& c : cases) {
    SCOPED_TRACE(c.name);
    pipe_->writes.clear();
    LogCapture capture;
    dir_.write("pic.bmp", bmptest::file(c.picture, c.depth));
    EXPECT_EQ(ImagemColor::imprimeBitmapColor("pic.bmp"), c.result);
    EXPECT_EQ(pipe_->writes, c.writes);
    EXPECT_TRUE(capture.lines().empty());
  }
}

}  // namespace
