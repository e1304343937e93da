// LiveReceipts.h - what the live page shows: each receipt since the printer
// started, while it prints, and the printer's state. The thread that draws
// writes it; the web server's threads read it and wait for its changes.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "Bitmap.h"

namespace vprinter {

class LiveReceipts {
 public:
  // The newest receipts kept for the page; older ones go.
  static constexpr size_t kKept = 200;

  // One byte the printer took on link ("COM1 at 9600 bit/s", "USB"). It
  // belongs to the receipt on the paper, or begins the next one.
  void add(const std::string& link, uint8_t byte);
  // The paper as it shows now (nullptr: as last drawn), and every note of
  // the renderer so far.
  void draw(const Bitmap* paper, const std::vector<std::string>& notes);
  // The receipt came off the paper: its picture and the line that tells of
  // its file.
  void cut(const Bitmap& receipt, const std::string& file, const std::vector<std::string>& notes);
  // No more bytes come (the printer stopped, or a recording was read whole).
  void end(const std::vector<std::string>& notes);
  // The printer's state for the page, as a JSON object.
  void setPrinter(const std::string& json);

  // The page's events (server-sent events) for every change after seen,
  // which moves on; waits up to wait for one (events is empty when none
  // came). False once closed.
  bool eventsAfter(uint64_t& seen, std::chrono::milliseconds wait, std::string& events);
  // A receipt's picture as PNG (nullptr while it has none) and its bytes;
  // false when no such receipt is kept.
  bool picture(long number, std::shared_ptr<const std::vector<uint8_t>>& png) const;
  bool bytes(long number, std::vector<uint8_t>& bytes) const;
  // Ends every wait for good: the server stops.
  void close();

 private:
  enum class State { Printing, Cut, Ended };  // Ended: no more bytes came, and no cut
  struct Receipt {
    long number;
    int64_t startedMs;  // the time of day of its first byte, ms since 1970
    std::string link;
    std::vector<uint8_t> bytes;
    std::vector<std::string> notes;
    std::shared_ptr<const std::vector<uint8_t>> png;
    std::string file;
    State state = State::Printing;
    uint64_t revision = 0;         // of its last change
    uint64_t pictureRevision = 0;  // of its last picture
  };

  // Under the lock: the receipt on the paper; nullptr when none is.
  Receipt* onPaper();
  const Receipt* find(long number) const;
  // Under the lock: notes the receipt on the paper has not had yet.
  void takeNotes(Receipt& receipt, const std::vector<std::string>& notes);
  void changed(Receipt& receipt);
  static std::string event(const Receipt& receipt);

  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<Receipt> receipts_;
  long count_ = 0;
  size_t notesTaken_ = 0;
  uint64_t revision_ = 0;
  std::string printer_ = "{}";
  uint64_t printerRevision_ = 0;
  bool closed_ = false;
};

// s as a JSON string, quotes included.
std::string jsonString(const std::string& s);

}  // namespace vprinter
