// ManyCallsTest.cpp - an application that prints all day: many receipts and
// pictures from one process leave the heap and the open descriptors as they
// were. Linked with the static core and a pipe that only counts, so that the
// loop measures the library and not a printer; TQ587_MANY_CALLS sets the
// number of receipts (pictures: a tenth of it).
#include <dirent.h>
#include <malloc.h>

#include <chrono>
#include <cstdlib>

#include <gtest/gtest.h>

#include "connection/PrinterController.h"
#include "support/TestSupport.h"
#include "tq587.h"
#include "unit/image/BmpTestFiles.h"

#if defined(__SANITIZE_ADDRESS__)
#define TQ587_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TQ587_SANITIZED 1
#endif
#endif
#ifdef TQ587_SANITIZED
// The sanitizer's allocator keeps its own count (mallinfo2 sees none of it).
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace {

class CountingPipe : public AbstractCommunicationPipe {
 public:
  long bytes = 0;
  int startCommunication() override { return 1; }
  int read(uint8_t*, int32_t) override { return 0; }
  int write(const uint8_t*, int32_t length) override {
    bytes += length;
    return length;
  }
  int close() override { return 1; }
};

size_t heapInUse() {
#ifdef TQ587_SANITIZED
  return __sanitizer_get_current_allocated_bytes();
#else
  return mallinfo2().uordblks;
#endif
}

int openDescriptors() {
  int count = 0;
  if (DIR* fds = opendir("/proc/self/fd")) {
    while (readdir(fds) != nullptr) ++count;
    closedir(fds);
  }
  return count;
}

long receiptsToPrint() {
  const char* configured = std::getenv("TQ587_MANY_CALLS");
  if (configured != nullptr) return std::atol(configured);
#ifdef TQ587_SANITIZED
  return 10000;
#else
  return 100000;
#endif
}

TEST(ManyCalls, HeapAndDescriptorsStayFlat) {
  ScratchDir dir;
  dir.write("CONVERSOR.INI", "[TQ587]\r\nPORTA = COM1\r\nVELOCIDADE = 9600\r\nENTERAUTOMATICO = 1\r\n"
                             "METODO_DE_COMUNICACAO = \"SERIAL\"\r\n");
  bmptest::Layout picture;
  picture.rows.assign(8 * 24, 0);  // 8 x 8, black
  dir.write("logo.bmp", bmptest::file(picture));
  auto owned = std::make_unique<CountingPipe>();
  CountingPipe& pipe = *owned;
  PrinterController::getInstance().setPipe(std::move(owned), true);
  const char* receipt = "<ce><b>LOJA</b></ce>Caf\xE9 12,50<l></l><dh>TOTAL 12,50</dh>"
                        "<ean13>789100031550</ean13><qrcode>abc</qrcode><gui></gui>";
  const auto printAll = [&](long receipts) {
    for (long k = 0; k < receipts; ++k) ASSERT_EQ(TQ587_iImprimirTexto(receipt, 0), 1);
    for (long k = 0; k < receipts / 10; ++k) ASSERT_EQ(TQ587_iImprimirBMP("logo.bmp"), 1);
  };
  printAll(10);  // warm-up: the singletons and the stream buffers
  const size_t heapBefore = heapInUse();
  const int descriptorsBefore = openDescriptors();
  const long receipts = receiptsToPrint();
  const auto start = std::chrono::steady_clock::now();
  printAll(receipts);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const size_t heapAfter = heapInUse();
  std::printf("%ld receipts, %ld pictures, %ld bytes in %.1f s; heap %zu -> %zu bytes; %d descriptors\n",
              receipts, receipts / 10, pipe.bytes, seconds, heapBefore, heapAfter, openDescriptors());
  EXPECT_LE(heapAfter, heapBefore + 4096);
  EXPECT_EQ(openDescriptors(), descriptorsBefore);
  removePipe();
}

}  // namespace
