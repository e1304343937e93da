// ManyCallsTest.cpp - an application that prints all day: many receipts and
// pictures from one process leave the heap and the open descriptors as they
// were. Linked with the static core and a pipe that only counts, so that the
// loop measures the library and not a printer; TQ587_MANY_CALLS sets the
// number of receipts (pictures: a tenth of it).
#include <malloc.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <iterator>

#include <gtest/gtest.h>

#include "connection/PrinterController.h"
#include "support/TestSupport.h"
#include "tq587.h"

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
static size_t heapInUse() { return __sanitizer_get_current_allocated_bytes(); }
constexpr long kReceipts = 10000;
#else
static size_t heapInUse() { return mallinfo2().uordblks; }
constexpr long kReceipts = 100000;
#endif

namespace {

struct CountingPipe : AbstractCommunicationPipe {
  long bytes = 0;
  int startCommunication() override { return 1; }
  int read(uint8_t*, int32_t) override { return 0; }
  int write(const uint8_t*, int32_t length) override { return bytes += length, length; }
  int close() override { return 1; }
};

long openDescriptors() {
  return std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {});
}

TEST(ManyCalls, HeapAndDescriptorsStayFlat) {
  ScratchDir dir;
  dir.write("CONVERSOR.INI", "[TQ587]\r\nPORTA = COM1\r\nVELOCIDADE = 9600\r\nENTERAUTOMATICO = 1\r\n"
                             "METODO_DE_COMUNICACAO = \"SERIAL\"\r\n");
  auto owned = std::make_unique<CountingPipe>();
  CountingPipe& pipe = *owned;
  PrinterController::getInstance().setPipe(std::move(owned), true);
  const char* receipt = "<ce><b>LOJA</b></ce>Caf\xE9 12,50<l></l><dh>TOTAL 12,50</dh>"
                        "<ean13>789100031550</ean13><qrcode>abc</qrcode><gui></gui>";
  const char* kLogo = TQ587_TEST_DATA_DIR "/images/d1_40x24_logo.bmp";
  const auto printAll = [&](long receipts) {
    for (long k = 0; k < receipts; ++k) ASSERT_EQ(TQ587_iImprimirTexto(receipt, 0), 1);
    for (long k = 0; k < receipts / 10; ++k) ASSERT_EQ(TQ587_iImprimirBMP(kLogo), 1);
  };
  printAll(10);  // warm-up: the singletons and the stream buffers
  const size_t heapBefore = heapInUse();
  const long descriptorsBefore = openDescriptors();
  const char* configured = std::getenv("TQ587_MANY_CALLS");
  const long receipts = configured != nullptr ? std::atol(configured) : kReceipts;
  const auto start = std::chrono::steady_clock::now();
  printAll(receipts);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const size_t heapAfter = heapInUse();
  std::printf("%ld receipts, %ld pictures, %ld bytes in %.1f s; heap %zu -> %zu bytes; %ld descriptors\n",
              receipts, receipts / 10, pipe.bytes, seconds, heapBefore, heapAfter, openDescriptors());
  EXPECT_LE(heapAfter, heapBefore + 4096);
  EXPECT_EQ(openDescriptors(), descriptorsBefore);
  removePipe();
}

}  // namespace
