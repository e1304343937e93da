// ImageGoldenTest.cpp - both picture exports on every file of the corpus
// give the recorded result, log lines and bytes.
#include "image/ImagemColor.h"
#include "image/ImagemPB.h"
#include "unit/image/Golden.h"

namespace {

void checkExport(const char* expectedName, int (*print)(const char*)) {
  golden::check(expectedName, [print](const std::string& path) {
    RecordingPipe& pipe = installRecordingPipe();
    LogCapture log;
    const int result = print(path.c_str());
    const std::string block = golden::record(std::to_string(result), log, pipe.writes);
    removePipe();
    return block;
  });
}

TEST(ImageGolden, Threshold) { checkExport("expected_imprimeBitmap.txt", ImagemPB::imprimeBitmap); }

TEST(ImageGolden, Dithered) {
  checkExport("expected_imprimeBitmapColor.txt", ImagemColor::imprimeBitmapColor);
}

}  // namespace
