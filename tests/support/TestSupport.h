// TestSupport.h - what the unit tests share: a recording pipe in the
// controller, a test clock and a scratch current directory.
#pragma once

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "common/Clock.h"
#include "connection/AbstractCommunicationPipe.h"

using Bytes = std::vector<uint8_t>;

// A pipe that keeps every write as one entry and answers it whole.
class RecordingPipe : public AbstractCommunicationPipe {
 public:
  std::vector<Bytes> writes;
  int closeResult = 1;

  int startCommunication() override { return 1; }
  int read(uint8_t*, int32_t) override { return 0; }
  int write(const uint8_t* bytes, int32_t length) override {
    writes.emplace_back(bytes, bytes + (length > 0 ? length : 0));
    return length;
  }
  int close() override { return closeResult; }
};

// Puts a fresh RecordingPipe into the PrinterController (connected) and
// returns it; the controller owns it.
RecordingPipe& installRecordingPipe();
// Drops any pipe from the controller (connected false); connecting builds
// the real serial and USB pipes again.
void removePipe();

// A clock that stands still at a given time and only counts the waits it
// is asked for. It is the library's clock while it lives.
class TestClock : public tq587::Clock {
 public:
  explicit TestClock(std::time_t at = 0) : at_(at) { tq587::setClock(this); }
  ~TestClock() override { tq587::setClock(nullptr); }
  std::time_t now() override { return at_; }
  void sleep(int milliseconds) override { slept += milliseconds; }
  void set(std::time_t at) { at_ = at; }
  long slept = 0;  // milliseconds

 private:
  std::time_t at_;
};

// Makes a new empty directory the current directory for the test's life and
// goes back (removing it) at the end.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  // Writes a file in the scratch directory.
  void write(const std::string& name, const std::string& content) const {
    std::ofstream(path_ + "/" + name, std::ios::binary) << content;
  }
  std::string read(const std::string& name) const {
    std::ifstream in(path_ + "/" + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

 private:
  std::string old_, path_;
};
