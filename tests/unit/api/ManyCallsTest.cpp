// ManyCallsTest.cpp - an application that prints all day: many receipts and
// pictures from one process leave the heap and the open descriptors as they
// were. (Under AddressSanitizer the heap is its own, which mallinfo2 does not
// see: there only the descriptors and the leak check at exit count.)
#include <malloc.h>

#include <filesystem>
#include <iterator>

#include <gtest/gtest.h>

#include "connection/PrinterController.h"
#include "support/TestSupport.h"
#include "tq587.h"

namespace {

// A pipe that keeps nothing, so that the loop measures the library.
struct CountingPipe : RecordingPipe {
  int write(const uint8_t*, int32_t length) override { return length; }
};

long openDescriptors() { return std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {}); }

TEST(ManyCalls, HeapAndDescriptorsStayFlat) {
  ScratchDir dir;
  dir.write("CONVERSOR.INI", "[TQ587]\r\nENTERAUTOMATICO = 1\r\nMETODO_DE_COMUNICACAO = \"SERIAL\"\r\n");
  PrinterController::getInstance().setPipe(std::make_unique<CountingPipe>(), true);
  const auto printAll = [](long receipts) {
    for (long k = 0; k < receipts; ++k)
      ASSERT_EQ(TQ587_iImprimirTexto("<ce><b>LOJA</b></ce>Caf\xE9 12,50<l></l><dh>TOTAL 12,50</dh>"
                                     "<ean13>789100031550</ean13><qrcode>abc</qrcode><gui></gui>", 0), 1);
    for (long k = 0; k < receipts / 10; ++k)
      ASSERT_EQ(TQ587_iImprimirBMP(TQ587_TEST_DATA_DIR "/images/d1_40x24_logo.bmp"), 1);
  };
  printAll(10);  // warm-up: the singletons and the stream buffers
  const size_t heapBefore = mallinfo2().uordblks;
  const long descriptorsBefore = openDescriptors();
  printAll(20000);
  EXPECT_LE(mallinfo2().uordblks, heapBefore + 4096);
  EXPECT_EQ(openDescriptors(), descriptorsBefore);
  removePipe();
}

}  // namespace
