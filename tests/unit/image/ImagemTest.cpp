// ImagemTest.cpp - the two picture exports where the corpus cannot reach:
// a missing name, no name and a named pipe.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>
#include <string>
#include <vector>

#include "connection/PrinterController.h"
#include "image/ImagemColor.h"
#include "image/ImagemPB.h"
#include "log/Log.h"
#include "support/TestSupport.h"
#include "unit/image/BmpTestFiles.h"

namespace {

// Each test starts with a recording pipe in a connected controller.
class PictureTest : public ::testing::Test {
 protected:
  void SetUp() override { pipe_ = &installRecordingPipe(); }
  void TearDown() override { removePipe(); }
  RecordingPipe* pipe_ = nullptr;
  ScratchDir dir_;
};

TEST_F(PictureTest, NoPictureGivesMinus8AndOneDebugLineAtOnce) {
  struct Case {
    int (*print)(const char*);
    const char* where;
    const char* file;
  };
  const char* const pb = "ImagemPB::imprimeBitmap";
  const char* const color = "ImagemColor::imprimeBitmapColor";
  const Case cases[] = {
      {ImagemPB::imprimeBitmap, pb, "none.bmp"},
      {ImagemPB::imprimeBitmap, pb, nullptr},
      {ImagemPB::imprimeBitmap, pb, "fifo.bmp"},
      {ImagemColor::imprimeBitmapColor, color, "fifo.bmp"},
  };
  ASSERT_EQ(mkfifo("fifo.bmp", 0600), 0);
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.where) + " " + (c.file ? c.file : "no name"));
    LogCapture capture;
    alarm(10);  // a call that blocks fails the test instead of hanging it
    EXPECT_EQ(c.print(c.file), -8);
    alarm(0);
    ASSERT_EQ(capture.lines().size(), 1u);
    EXPECT_EQ(capture.lines()[0].level, LOG_DEBUG);
    EXPECT_EQ(capture.lines()[0].where, c.where);
    EXPECT_EQ(capture.lines()[0].message, "ImagemPB: Falha ao abrir arquivo de imagem.");
    EXPECT_TRUE(pipe_->writes.empty());
  }
}

}  // namespace
