// Stream.h - the shape of every device-like thing of the runtime: an object
// that is a stream, readable, writable or both, and the memory buffer, a
// readable and writable stream over a block of memory.
#pragma once

#include <cstdint>

namespace SDK {

class OBJECT;
class MEMORY_BUFFER;

// Receives the notifications of the file system: code 1 after a write, 2
// after a read, with the bytes concerned wrapped in a memory buffer. Objects
// only point at their handler and never delete it, so its destructor stays
// trivial: the process-wide one outlives every static object.
class EVENT_HANDLER {
 public:
  constexpr EVENT_HANDLER() = default;
  virtual int OnEvent(OBJECT* source, int code, MEMORY_BUFFER* buffer);
  virtual int Notify(OBJECT* source);
};

// The one process-wide handler every object starts with; it returns 0 and
// does nothing else.
extern EVENT_HANDLER theDefaultEventHandler;
EVENT_HANDLER& defaultEventHandler();

class OBJECT {
 public:
  // Bit 0 of the flag word: the file system made this object for its caller.
  static constexpr uint32_t kCreatedByFileSystem = 0x1;

  constexpr explicit OBJECT(uint32_t typeTag)
      : typeTag_(typeTag), self_(this), eventHandler_(&theDefaultEventHandler), flags_(0) {}
  OBJECT(const OBJECT&) = delete;
  OBJECT& operator=(const OBJECT&) = delete;
  virtual ~OBJECT() = default;

  // "FILE", "DEFAULT FILE SYSTEM", "MEMORY STREAM", ...
  virtual const char* Name() const = 0;

  uint32_t TypeTag() const { return typeTag_; }
  OBJECT* Self() const { return self_; }
  EVENT_HANDLER* EventHandler() const { return eventHandler_; }
  void SetEventHandler(EVENT_HANDLER* handler) { eventHandler_ = handler; }
  uint32_t Flags() const { return flags_; }
  void SetFlags(uint32_t flags) { flags_ = flags; }

 protected:
  uint32_t typeTag_;
  OBJECT* self_;
  EVENT_HANDLER* eventHandler_;  // not owned
  uint32_t flags_;
};

// A stream: a handle (a descriptor, a data pointer; -1 when closed), a size
// and a position.
class STREAM : public virtual OBJECT {
 public:
  static constexpr intptr_t kClosed = -1;

  virtual ~STREAM() = default;
  // A path for a file, a MEMORY_RECORD for a memory buffer.
  virtual bool Open(const void* name) = 0;
  virtual bool IsClosed() const { return handle_ == kClosed; }
  virtual void Close() { handle_ = kClosed; }
  // origin 0 from the start, 1 from the position, 2 back from the size; any
  // other origin (or a result beyond 32 bits) leaves the position. The
  // position, or -1 when closed.
  virtual int32_t Seek(int32_t offset, int origin);

  intptr_t Handle() const { return handle_; }
  int32_t Size() const { return size_; }
  int32_t Position() const { return position_; }

 protected:
  STREAM() : OBJECT(0) {}

  intptr_t handle_ = kClosed;
  int32_t size_ = 0;
  int32_t position_ = 0;
};

class INPUT_STREAM : public virtual STREAM {
 public:
  // Elements read, or -1 when closed.
  virtual int Read(void* bytes, int count) = 0;
  virtual void Rewind() { readPosition_ = 0; }
  virtual void Flush() {}

  void Close() override;
  int32_t Seek(int32_t offset, int origin) override;

  int32_t ReadPosition() const { return readPosition_; }

 protected:
  INPUT_STREAM() : OBJECT(0) {}

  int32_t readPosition_ = 0;
};

class OUTPUT_STREAM : public virtual STREAM {
 public:
  // Elements written, or -1 when closed.
  virtual int Write(const void* bytes, int count) = 0;
  virtual void Rewind() { writePosition_ = 0; }
  virtual void Flush() {}

  int32_t WritePosition() const { return writePosition_; }

 protected:
  OUTPUT_STREAM() : OBJECT(0) {}

  int32_t writePosition_ = 0;
};

// Readable and writable: Rewind, Close and Seek move both positions.
class IO_STREAM : public INPUT_STREAM, public OUTPUT_STREAM {
 public:
  void Rewind() override;
  void Flush() override {}
  void Close() override;
  int32_t Seek(int32_t offset, int origin) override;

 protected:
  IO_STREAM() : OBJECT(0) {}
};

// What Open of a memory buffer takes: the block, its size in bytes and the
// size of one element.
struct MEMORY_RECORD {
  void* data;
  uint32_t size;
  uint32_t elementSize;
};

// A stream over a block of memory. The block is either the caller's (used in
// place, never freed here) or the buffer's own. Writes stop at the capacity,
// reads at what has been written; both move whole elements only.
class MEMORY_BUFFER : public IO_STREAM {
 public:
  static constexpr uint32_t kTypeTag = 0x20000003;
  static constexpr uint32_t kOwned = 0x1;

  MEMORY_BUFFER();
  // Wraps bytes already in memory, without copying or owning them; the
  // positions start at 0.
  MEMORY_BUFFER(const void* bytes, int count);
  ~MEMORY_BUFFER() override;

  // Elements read from the read position, never past the write position.
  int Read(void* bytes, int count) override;
  // Zeroes the block and rewinds the read position; the write position stays.
  virtual void Clear();
  void Flush() override {}
  // Uses data in place, or (data null) allocates size zeroed bytes keeping
  // what fits of the old block; a block already holding size bytes is kept.
  // Both positions go to 0. false when the buffer is not open afterwards or
  // the allocation failed (then nothing changed).
  virtual bool SetData(void* data, uint32_t size, uint32_t elementSize);
  virtual bool AtEnd() const;

  // Elements written at the write position, never past the capacity.
  int Write(const void* bytes, int count) override;
  // name: a MEMORY_RECORD.
  bool Open(const void* name) override;
  // Frees an owned block; the buffer holds nothing afterwards.
  void Close() override;
  const char* Name() const override { return "MEMORY STREAM"; }

  const uint8_t* Data() const { return data_; }
  uint32_t Capacity() const { return capacity_; }
  uint32_t ElementSize() const { return elementSize_; }
  bool IsOwned() const { return (owned_ & kOwned) != 0; }

 private:
  void Release();

  uint8_t* data_ = nullptr;
  uint32_t capacity_ = 0;
  uint32_t owned_ = 0;
  uint32_t elementSize_ = 1;
};

}  // namespace SDK
