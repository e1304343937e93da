// UsbBlock.cpp - gathers a text's writes and sends them a block at a time.
#include "connection/UsbBlock.h"

#include <algorithm>

void UsbBlock::begin(AbstractCommunicationPipe& pipe) {
  pipe_ = &pipe;
  gathered_.reserve(kSize);
}

bool UsbBlock::end() {
  if (taken_ && !gathered_.empty()) send();
  const bool taken = taken_;
  pipe_ = nullptr;
  gathered_.clear();
  taken_ = true;
  return taken;
}

int UsbBlock::write(const uint8_t* bytes, int32_t length) {
  if (!bytes || length < 0) return 0;
  // A full block leaves when more comes, so that a text of exactly one
  // block is one transfer.
  for (int32_t done = 0; done < length && taken_;) {
    if (gathered_.size() == static_cast<size_t>(kSize)) {
      send();
      continue;
    }
    const int32_t n = std::min(length - done, kSize - static_cast<int32_t>(gathered_.size()));
    gathered_.insert(gathered_.end(), bytes + done, bytes + done + n);
    done += n;
  }
  return length;
}

void UsbBlock::send() {
  const int32_t size = static_cast<int32_t>(gathered_.size());
  const int result = pipe_->write(gathered_.data(), size);
  gathered_.clear();
  // As for a character: a transfer that failed on a device the pipe opened
  // again answers a negative count, its bytes are lost and the text goes
  // on; a block the printer did not take whole stops the text.
  if (result >= 0 && result < size) taken_ = false;
}
