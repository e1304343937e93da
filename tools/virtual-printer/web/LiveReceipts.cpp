// LiveReceipts.cpp - the receipts and the printer's state, shared with the
// web server's threads, and the events that tell the page what changed.
#include "LiveReceipts.h"

#include <cstdio>

#include "EscPosDecoder.h"
#include "Png.h"

namespace vprinter {
namespace {

int64_t nowMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

// The picture as PNG; nullptr when there is none.
std::shared_ptr<const std::vector<uint8_t>> pngOf(const Bitmap& picture) {
  auto png = std::make_shared<std::vector<uint8_t>>();
  std::string error;
  if (picture.empty() || !encodePng(picture, *png, error)) return nullptr;
  return png;
}

}  // namespace

std::string jsonString(const std::string& s) {
  std::string json = "\"";
  for (const unsigned char c : s) {
    if (c == '"' || c == '\\') {
      json += '\\';
      json += static_cast<char>(c);
    } else if (c < 0x20 || c == 0x7F) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
      json += escaped;
    } else {
      json += static_cast<char>(c);
    }
  }
  return json + "\"";
}

LiveReceipts::Receipt* LiveReceipts::onPaper() {
  return receipts_.empty() || receipts_.back().state != State::Printing ? nullptr : &receipts_.back();
}

const LiveReceipts::Receipt* LiveReceipts::find(long number) const {
  for (const Receipt& r : receipts_) {
    if (r.number == number) return &r;
  }
  return nullptr;
}

void LiveReceipts::takeNotes(Receipt& receipt, const std::vector<std::string>& notes) {
  for (size_t k = notesTaken_; k < notes.size(); ++k) receipt.notes.push_back(notes[k]);
  notesTaken_ = notes.size();
}

void LiveReceipts::changed(Receipt& receipt) {
  receipt.revision = ++revision_;
  changed_.notify_all();
}

void LiveReceipts::add(const std::string& link, uint8_t byte) {
  const std::lock_guard<std::mutex> lock(mutex_);
  Receipt* receipt = onPaper();
  if (receipt == nullptr) {
    receipts_.push_back(Receipt{++count_, nowMs(), link, {}, {}, nullptr, "", State::Printing, 0, 0});
    if (receipts_.size() > kKept) receipts_.pop_front();
    receipt = &receipts_.back();
  }
  receipt->bytes.push_back(byte);
  // told by draw(), once for all the bytes taken together
  receipt->revision = ++revision_;
}

void LiveReceipts::draw(const Bitmap* paper, const std::vector<std::string>& notes) {
  const std::shared_ptr<const std::vector<uint8_t>> png = paper != nullptr ? pngOf(*paper) : nullptr;
  const std::lock_guard<std::mutex> lock(mutex_);
  Receipt* receipt = onPaper();
  if (receipt == nullptr) return;
  if (png != nullptr) {
    receipt->png = png;
    receipt->pictureRevision = revision_ + 1;
  }
  takeNotes(*receipt, notes);
  changed(*receipt);
}

void LiveReceipts::cut(const Bitmap& picture, const std::string& file, const std::vector<std::string>& notes) {
  const std::shared_ptr<const std::vector<uint8_t>> png = pngOf(picture);
  const std::lock_guard<std::mutex> lock(mutex_);
  Receipt* receipt = onPaper();
  if (receipt == nullptr) return;
  receipt->png = png;
  receipt->pictureRevision = revision_ + 1;
  receipt->file = file;
  receipt->state = State::Cut;
  takeNotes(*receipt, notes);
  changed(*receipt);
}

void LiveReceipts::end(const std::vector<std::string>& notes) {
  const std::lock_guard<std::mutex> lock(mutex_);
  Receipt* receipt = onPaper();
  if (receipt == nullptr) return;
  receipt->state = State::Ended;
  takeNotes(*receipt, notes);
  changed(*receipt);
}

void LiveReceipts::setPrinter(const std::string& json) {
  const std::lock_guard<std::mutex> lock(mutex_);
  printer_ = json;
  printerRevision_ = ++revision_;
  changed_.notify_all();
}

std::string LiveReceipts::event(const Receipt& r) {
  static const char* const kStates[] = {"printing", "cut", "ended"};
  std::string listing;
  for (const std::string& line : listingWithNotes(r.bytes.data(), r.bytes.size(), r.notes)) {
    listing += (listing.empty() ? "" : ",") + jsonString(line);
  }
  return "event: receipt\ndata: {\"number\":" + std::to_string(r.number) +
         ",\"started\":" + std::to_string(r.startedMs) + ",\"link\":" + jsonString(r.link) +
         ",\"bytes\":" + std::to_string(r.bytes.size()) + ",\"state\":\"" + kStates[static_cast<int>(r.state)] +
         "\",\"picture\":" + std::to_string(r.png != nullptr ? r.pictureRevision : 0) +
         ",\"file\":" + jsonString(r.file) + ",\"listing\":[" + listing + "]}\n\n";
}

bool LiveReceipts::eventsAfter(uint64_t& seen, std::chrono::milliseconds wait, std::string& events) {
  std::unique_lock<std::mutex> lock(mutex_);
  changed_.wait_for(lock, wait, [&] { return closed_ || revision_ > seen; });
  if (closed_) return false;
  events.clear();
  if (printerRevision_ > seen) events += "event: printer\ndata: " + printer_ + "\n\n";
  for (const Receipt& r : receipts_) {
    if (r.revision > seen) events += event(r);
  }
  seen = revision_;
  return true;
}

bool LiveReceipts::picture(long number, std::shared_ptr<const std::vector<uint8_t>>& png) const {
  const std::lock_guard<std::mutex> lock(mutex_);
  const Receipt* receipt = find(number);
  if (receipt != nullptr) png = receipt->png;
  return receipt != nullptr;
}

bool LiveReceipts::bytes(long number, std::vector<uint8_t>& bytes) const {
  const std::lock_guard<std::mutex> lock(mutex_);
  const Receipt* receipt = find(number);
  if (receipt != nullptr) bytes = receipt->bytes;
  return receipt != nullptr;
}

void LiveReceipts::close() {
  const std::lock_guard<std::mutex> lock(mutex_);
  closed_ = true;
  changed_.notify_all();
}

}  // namespace vprinter
