// FaultControls.h - the printer's faults as the live page sets them, on
// their way to the thread that serves the ports.
//
// The page names each fault as the command line does (silent,
// status-reply, status-delay, hang-up-after, usb-write-error,
// usb-write-timeout) and gives its value as there, or "" to turn it off;
// silent takes 1 or 0. The faults that count (bytes before the hang-up,
// the USB write that fails) count from the moment they are set.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "LiveReceipts.h"
#include "Options.h"

namespace vprinter {

class FaultControls {
 public:
  // The faults given on the command line (options.args) are the first;
  // the page learns the printer's state through live.
  FaultControls(const Options& options, LiveReceipts& live);

  // From the page: sets the faults named and waits until the printer plays
  // them (a second at most). False, and why in error, for an unknown name,
  // a wrong value or a printer that stopped.
  bool change(const std::vector<std::pair<std::string, std::string>>& faults, std::string& error);

  // The ports' thread: true when faults changed since it last asked, with
  // the options that play them all and the names of those just set.
  bool take(Options& options, std::set<std::string>& set);
  // The ports' thread: the faults taken are played, and the serial line
  // is up or not (hung up). Tells the page when anything changed.
  void played(bool lineUp);

 private:
  // The options that play faults; false with why in error.
  bool parse(const std::map<std::string, std::string>& faults, Options& options, std::string& error) const;
  // Under the lock: the state as the page gets it.
  std::string json() const;

  LiveReceipts& live_;
  std::vector<std::string> others_;  // the command line without its faults
  std::string serial_;  // "COM1", or "" without a serial line
  std::string usb_;     // the USB stand-in's socket, or ""
  std::mutex mutex_;
  std::condition_variable played_;
  std::map<std::string, std::string> faults_;  // by name, as the page and the command line give them
  Options options_;                            // the options that play them
  std::set<std::string> set_;                  // the names set since the ports last took them
  uint64_t wanted_ = 0;                        // changes made
  uint64_t taken_ = 0;                         // changes the ports took
  uint64_t done_ = 0;                          // changes played
  bool lineUp_ = true;
};

}  // namespace vprinter
