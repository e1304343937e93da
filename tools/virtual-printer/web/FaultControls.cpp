// FaultControls.cpp - the page's faults, read as the command line reads them.
#include "FaultControls.h"

#include <algorithm>
#include <chrono>
#include <iterator>

namespace vprinter {
namespace {

// The faults the page may set, by their names on the command line.
const char* const kFaults[] = {"silent",        "status-reply",    "status-delay",
                               "hang-up-after", "usb-write-error", "usb-write-timeout"};

bool isFault(const std::string& name) {
  return std::find(std::begin(kFaults), std::end(kFaults), name) != std::end(kFaults);
}

// How long the page waits for the printer to play what it set.
constexpr std::chrono::seconds kPlayWait{1};

}  // namespace

FaultControls::FaultControls(const Options& options, LiveReceipts& live)
    : live_(live),
      serial_(options.dir.empty() ? "" : "COM" + std::to_string(options.port)),
      usb_(options.usb),
      options_(options) {
  const std::vector<std::string>& args = options.args;
  for (size_t k = 0; k < args.size(); ++k) {
    const std::string name = args[k].rfind("--", 0) == 0 ? args[k].substr(2) : "";
    if (name == "silent") {
      faults_[name] = "1";
    } else if (isFault(name) && k + 1 < args.size()) {
      faults_[name] = args[++k];
    } else {
      others_.push_back(args[k]);
    }
  }
  live_.setPrinter(json());
}

bool FaultControls::parse(const std::map<std::string, std::string>& faults, Options& options,
                          std::string& error) const {
  std::vector<std::string> args = others_;
  for (const auto& fault : faults) {
    args.push_back("--" + fault.first);
    if (fault.first != "silent") args.push_back(fault.second);
  }
  return parseOptions(args, options, error);
}

bool FaultControls::change(const std::vector<std::pair<std::string, std::string>>& faults, std::string& error) {
  std::unique_lock<std::mutex> lock(mutex_);
  std::map<std::string, std::string> wanted = faults_;
  for (const auto& fault : faults) {
    const std::string& name = fault.first;
    const std::string& value = fault.second;
    if (!isFault(name)) {
      error = "no fault is named '" + name + "'";
      return false;
    }
    if (name == "silent" && value != "1" && value != "0") {
      error = "silent takes 1 or 0, not '" + value + "'";
      return false;
    }
    if (value.empty() || (name == "silent" && value == "0")) {
      wanted.erase(name);
    } else {
      wanted[name] = value;
    }
  }
  Options options;
  if (faults.empty()) error = "name a fault to set";
  if (faults.empty() || !parse(wanted, options, error)) return false;
  faults_ = wanted;
  options_ = options;
  for (const auto& fault : faults) set_.insert(fault.first);
  const uint64_t mine = ++wanted_;
  if (!played_.wait_for(lock, kPlayWait, [&] { return done_ >= mine; })) {
    error = "the printer did not take the change: it is stopping";
    return false;
  }
  return true;
}

bool FaultControls::take(Options& options, std::set<std::string>& set) {
  const std::lock_guard<std::mutex> lock(mutex_);
  if (taken_ == wanted_) return false;
  options = options_;
  set.swap(set_);
  set_.clear();
  taken_ = wanted_;
  return true;
}

void FaultControls::played(bool lineUp) {
  const std::lock_guard<std::mutex> lock(mutex_);
  if (done_ == taken_ && lineUp_ == lineUp) return;
  done_ = taken_;
  lineUp_ = lineUp;
  played_.notify_all();
  live_.setPrinter(json());
}

std::string FaultControls::json() const {
  std::string faults;
  for (const auto& fault : faults_) {
    faults += (faults.empty() ? "" : ",") + jsonString(fault.first) + ":" + jsonString(fault.second);
  }
  return "{\"serial\":" + jsonString(serial_) + ",\"usb\":" + jsonString(usb_) +
         ",\"lineUp\":" + (lineUp_ ? "true" : "false") + ",\"faults\":{" + faults + "}}";
}

}  // namespace vprinter
