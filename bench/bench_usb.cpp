// bench_usb.cpp - receipts over USB as a shop would see them: the library
// prints through the libusb stand-in to the virtual printer's USB port, run
// in this process, per character (a bulk transfer for each character and
// each tag) and in block mode (TQ587_USB_BLOCO=1), on a line that completes
// each transfer at once and on one that completes it at the end of a 1 ms
// frame, as a full-speed printer does. Prints a table: for each receipt,
// line and mode, the transfers of one receipt, its bytes, whether block mode
// sent the same bytes, and the time of one call (median of the runs).
//   bench_usb RECEIPT_FILE...
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "UsbPort.h"
#include "api/Library.h"
#include "common/Clock.h"
#include "connection/UsbLibrary.h"
#include "tq587.h"

namespace {

constexpr int kRuns = 5;
// Declared, so that the 30-item receipt (2,328 characters) is taken whole.
constexpr int kDeclaredCount = 2000;

using Bytes = std::vector<uint8_t>;

// The date and time tags print the same in every run; the waits are real.
class FixedClock : public tq587::Clock {
 public:
  std::time_t now() override { return 1796474096; }  // 2026-12-05 12:34:56 UTC
  void sleep(int milliseconds) override { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }
};

// The printer's USB port on a thread of its own, counting the transfers.
class Printer {
 public:
  Printer(const std::string& socket, long frameUs)
      : port_([this](const uint8_t* bytes, size_t length, std::vector<uint8_t>&) { take(bytes, length); }, {},
              frameUs) {
    std::string error;
    if (!port_.listen(socket, error)) {
      std::fprintf(stderr, "bench_usb: %s\n", error.c_str());
      std::exit(1);
    }
    thread_ = std::thread([this] {
      while (!stop_) {
        std::vector<pollfd> fds;
        port_.watch(fds);
        if (poll(fds.data(), fds.size(), 10) > 0) port_.serve(fds);
      }
    });
  }
  ~Printer() {
    stop_ = true;
    thread_.join();
  }

  // The transfers and bytes taken since the last call.
  void collect(long& transfers, Bytes& bytes) {
    const std::lock_guard<std::mutex> lock(mutex_);
    transfers = transfers_;
    bytes.swap(bytes_);
    transfers_ = 0;
    bytes_.clear();
  }

 private:
  void take(const uint8_t* bytes, size_t length) {
    const std::lock_guard<std::mutex> lock(mutex_);
    ++transfers_;
    bytes_.insert(bytes_.end(), bytes, bytes + length);
  }

  vprinter::UsbPort port_;
  std::mutex mutex_;
  long transfers_ = 0;
  Bytes bytes_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream all;
  all << in.rdbuf();
  if (!in) std::fprintf(stderr, "bench_usb: cannot read %s\n", path.c_str()), std::exit(1);
  return all.str();
}

// A scratch directory as the current directory, with CONVERSOR.INI for USB
// and the sample receipt's logo.
std::string enterScratch() {
  char dir[] = "/tmp/tq587-bench-usb-XXXXXX";
  if (!mkdtemp(dir) || chdir(dir) != 0) std::exit(1);
  std::ofstream("CONVERSOR.INI", std::ios::binary)
      << "[TQ587]\r\nCODEPAGE_AUTOMATICO = 1\r\nENTERAUTOMATICO = 1\r\nMETODO_DE_COMUNICACAO = \"USB\"\r\n";
  std::ofstream("logo.bmp", std::ios::binary) << readFile(TQ587_SAMPLES_DIR "/logo.bmp");
  return dir;
}

// One row for each receipt, line and mode, each line a printer of its own.
void printTable(char** files, const std::vector<std::string>& texts, const std::string& dir) {
  struct Line {
    const char* name;
    std::string socket;
    Printer printer;
  };
  Line lines[] = {{"at once", dir + "/at-once.sock", {dir + "/at-once.sock", 0}},
                  {"1 ms frames", dir + "/frames.sock", {dir + "/frames.sock", 1000}}};
  std::printf("| receipt | line | mode | transfers | bytes | same bytes | time per receipt |\n");
  std::printf("|---|---|---|---|---|---|---|\n");
  for (size_t r = 0; r < texts.size(); ++r) {
    for (Line& line : lines) {
      Bytes perCharacter;
      for (const bool blocks : {false, true}) {
        // The mode is read as the library loads, the socket as it opens the printer.
        setenv("TQ587_USB_SOCKET", line.socket.c_str(), 1);
        setenv("TQ587_USB_BLOCO", blocks ? "1" : "0", 1);
        initDLL();
        long transfers = 0;
        Bytes bytes;
        std::vector<double> ms;
        for (int run = 0; run < kRuns; ++run) {
          const auto start = std::chrono::steady_clock::now();
          const int result = TQ587_iImprimirTexto(texts[r].c_str(), kDeclaredCount);
          ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
          line.printer.collect(transfers, bytes);
          if (result != TQ587_DONE) std::fprintf(stderr, "bench_usb: %s answered %d\n", files[r], result);
        }
        std::sort(ms.begin(), ms.end());
        if (!blocks) perCharacter = bytes;
        std::printf("| %s | %s | %s | %ld | %zu | %s | %.1f ms |\n", files[r], line.name,
                    blocks ? "block" : "per character", transfers, bytes.size(),
                    blocks ? (bytes == perCharacter ? "yes" : "NO") : "", ms[kRuns / 2]);
      }
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: bench_usb RECEIPT_FILE...\n");
    return 2;
  }
  std::vector<std::string> texts;
  for (int i = 1; i < argc; ++i) texts.push_back(readFile(argv[i]));
  const std::string dir = enterScratch();
  FixedClock clock;
  tq587::setClock(&clock);
  if (!loadUsbLibrary(TQ587_USB_STANDIN)) return std::fprintf(stderr, "bench_usb: no stand-in\n"), 1;
  printTable(argv + 1, texts, dir);
  tq587::setClock(nullptr);
  for (const char* file : {"CONVERSOR.INI", "logo.bmp"}) unlink(file);
  rmdir(dir.c_str());
  return 0;
}
