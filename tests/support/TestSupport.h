// TestSupport.h - what the unit tests share: a recording pipe in the
// controller, an absent printer, a test clock, a scratch current directory
// and a capture of the log lines.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/Clock.h"
#include "connection/AbstractCommunicationPipe.h"

using Bytes = std::vector<uint8_t>;

// A pipe that keeps every write as one entry. It can refuse writes (return
// 0) or shorten them, from a given write on, to drive the failure paths.
class RecordingPipe : public AbstractCommunicationPipe {
 public:
  struct Script {
    int failFromWrite = -1;  // index of the first write that returns 0
    int shortBy = 0;         // every write reports this many bytes fewer
    int closeResult = 1;
  };
  std::vector<Bytes> writes;
  Script script;

  int startCommunication() override { return 1; }
  int read(uint8_t*, int32_t) override { return 0; }
  int write(const uint8_t* bytes, int32_t length) override;
  int close() override { return script.closeResult; }
};

// Puts a fresh RecordingPipe into the PrinterController (connected) and
// returns it; the controller owns it.
RecordingPipe& installRecordingPipe();
// Drops any pipe from the controller (connected false); connecting builds
// the real serial and USB pipes again.
void removePipe();
// Drops any pipe, and connecting finds no printer on either kind of pipe.
void unplugPrinter();

// A clock that stands still at now and, instead of waiting, records each
// wait asked of it. It is the library's clock while it lives.
class TestClock : public tq587::Clock {
 public:
  explicit TestClock(std::time_t at = 0) : at_(at) { tq587::setClock(this); }
  ~TestClock() override { tq587::setClock(nullptr); }
  std::time_t now() override { return at_; }
  void sleep(int milliseconds) override { sleeps.push_back(milliseconds); }
  void set(std::time_t at) { at_ = at; }

  std::vector<int> sleeps;

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
  void write(const std::string& name, const std::string& content) const;
  std::string read(const std::string& name) const;

 private:
  std::string old_;
  std::string path_;
};

// Collects every log line said while it lives.
class LogCapture {
 public:
  struct Line {
    int level;
    std::string where;
    std::string message;
  };
  LogCapture();
  ~LogCapture();
  const std::vector<Line>& lines() const;
  // True when some line has exactly this message (and level, when given).
  bool has(const std::string& message, int level = 0) const;
};
