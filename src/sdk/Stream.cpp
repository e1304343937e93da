// Stream.cpp - positions of the stream classes and the memory buffer's
// transfer rules.
#include "sdk/Stream.h"

#include <cstring>
#include <limits>
#include <new>

namespace SDK {

// Built at compile time, never destroyed (nothing to destroy).
EVENT_HANDLER theDefaultEventHandler;

EVENT_HANDLER& defaultEventHandler() { return theDefaultEventHandler; }

int EVENT_HANDLER::OnEvent(OBJECT*, int, MEMORY_BUFFER*) { return 0; }

int EVENT_HANDLER::Notify(OBJECT*) { return 0; }

int32_t STREAM::Seek(int32_t offset, int origin) {
  if (IsClosed()) return -1;
  int64_t target = position_;
  switch (origin) {
    case 0: target = offset; break;
    case 1: target = int64_t{position_} + offset; break;
    case 2: target = int64_t{size_} - offset; break;
    default: break;
  }
  if (target >= std::numeric_limits<int32_t>::min() &&
      target <= std::numeric_limits<int32_t>::max()) {
    position_ = static_cast<int32_t>(target);
  }
  return position_;
}

void INPUT_STREAM::Close() {
  STREAM::Close();
  readPosition_ = -1;
}

int32_t INPUT_STREAM::Seek(int32_t offset, int origin) {
  readPosition_ = STREAM::Seek(offset, origin);
  return readPosition_;
}

void IO_STREAM::Rewind() {
  readPosition_ = 0;
  writePosition_ = 0;
}

void IO_STREAM::Close() {
  STREAM::Close();
  readPosition_ = -1;
  writePosition_ = -1;
}

int32_t IO_STREAM::Seek(int32_t offset, int origin) {
  const int32_t position = STREAM::Seek(offset, origin);
  readPosition_ = position;
  writePosition_ = position;
  return position;
}

namespace {

// Whole elements of elementSize bytes that count asks for and room allows,
// in bytes. from and limit are byte positions; a position outside
// 0..limit leaves no room.
int64_t transferBytes(int count, uint32_t elementSize, int64_t from, int64_t limit) {
  const int64_t room = (from < 0 || from > limit) ? 0 : limit - from;
  const int64_t asked = int64_t{count} * elementSize;
  const int64_t n = asked < room ? asked : room;
  return n - n % elementSize;
}

}  // namespace

MEMORY_BUFFER::MEMORY_BUFFER() : OBJECT(kTypeTag) {}

MEMORY_BUFFER::MEMORY_BUFFER(const void* bytes, int count) : OBJECT(kTypeTag) {
  // The buffer only reads the wrapped bytes on behalf of its reader; it is
  // handed to event handlers, which do not write into it.
  if (bytes != nullptr) {
    SetData(const_cast<void*>(bytes), count < 0 ? 0u : static_cast<uint32_t>(count), 1);
  }
}

MEMORY_BUFFER::~MEMORY_BUFFER() { Release(); }

void MEMORY_BUFFER::Release() {
  if (IsOwned()) delete[] data_;
  data_ = nullptr;
  capacity_ = 0;
  owned_ &= ~kOwned;
}

bool MEMORY_BUFFER::SetData(void* data, uint32_t size, uint32_t elementSize) {
  if (size > static_cast<uint32_t>(std::numeric_limits<int32_t>::max())) return false;
  const bool keepBlock = size != 0 && data_ != nullptr && capacity_ >= size;
  if (!keepBlock) {
    if (data != nullptr) {
      if (data != data_) {
        Release();
        data_ = static_cast<uint8_t*>(data);
      }
      capacity_ = size;
    } else if (size == 0) {
      Release();
    } else {
      uint8_t* block = new (std::nothrow) uint8_t[size]();
      if (block == nullptr) return false;
      if (data_ != nullptr) std::memcpy(block, data_, size < capacity_ ? size : capacity_);
      Release();
      data_ = block;
      capacity_ = size;
      owned_ |= kOwned;
    }
  }
  readPosition_ = 0;
  writePosition_ = 0;
  position_ = 0;
  handle_ = data_ != nullptr ? reinterpret_cast<intptr_t>(data_) : kClosed;
  size_ = static_cast<int32_t>(capacity_);
  elementSize_ = elementSize == 0 ? 1 : elementSize;
  return !IsClosed();
}

int MEMORY_BUFFER::Read(void* bytes, int count) {
  if (IsClosed() || count < 0 || (bytes == nullptr && count > 0)) return -1;
  const int64_t limit = writePosition_ < int64_t{capacity_} ? writePosition_ : int64_t{capacity_};
  const int64_t n = transferBytes(count, elementSize_, readPosition_, limit);
  if (n > 0) std::memcpy(bytes, data_ + readPosition_, static_cast<size_t>(n));
  readPosition_ += static_cast<int32_t>(n);
  return static_cast<int>(n / elementSize_);
}

int MEMORY_BUFFER::Write(const void* bytes, int count) {
  if (IsClosed() || count < 0 || (bytes == nullptr && count > 0)) return -1;
  const int64_t n = transferBytes(count, elementSize_, writePosition_, capacity_);
  if (n > 0) std::memmove(data_ + writePosition_, bytes, static_cast<size_t>(n));
  writePosition_ += static_cast<int32_t>(n);
  return static_cast<int>(n / elementSize_);
}

void MEMORY_BUFFER::Clear() {
  if (data_ != nullptr) std::memset(data_, 0, capacity_);
  readPosition_ = 0;
}

bool MEMORY_BUFFER::AtEnd() const { return IsClosed() || readPosition_ == writePosition_; }

bool MEMORY_BUFFER::Open(const void* name) {
  if (name == nullptr) return false;
  const MEMORY_RECORD* record = static_cast<const MEMORY_RECORD*>(name);
  return SetData(record->data, record->size, record->elementSize);
}

void MEMORY_BUFFER::Close() {
  Release();
  IO_STREAM::Close();
}

}  // namespace SDK
