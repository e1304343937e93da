// File.cpp - SDK::FILE: a stream over one file, every transfer going through
// the file system it belongs to.
#include "sdk/File.h"

#include <cstring>

namespace SDK {

FILE::FILE() : OBJECT(kTypeTag), fileSystem_(&defaultFileSystem()) {}

FILE::~FILE() { FILE::Close(); }

int FILE::Read(void* bytes, int count) {
  if (IsClosed()) return -1;
  return fileSystem_->Read(this, bytes, count);
}

int FILE::Write(const void* bytes, int count) {
  if (IsClosed()) return -1;
  return fileSystem_->Write(this, bytes, count);
}

bool FILE::Create(const char* path) {
  Close();
  fileSystem_->Create(path, this);
  return !IsClosed();
}

bool FILE::Open(const char* path, int mode) {
  Close();
  fileSystem_->Open(path, mode, this);
  return !IsClosed();
}

bool FILE::Open(const void* name) { return Open(static_cast<const char*>(name), kDefaultOpenMode); }

int FILE::Size() const { return fileSystem_->HandleSize(handle_); }

void FILE::Close() {
  if (!IsClosed()) fileSystem_->Close(this);
  IO_STREAM::Close();
}

int32_t FILE::Seek(int32_t offset, int origin) {
  if (IsClosed()) return -1;
  fileSystem_->Seek(this, offset, origin);
  return offset;
}

void FILE::Bind(FILE_SYSTEM* fileSystem, const char* path) {
  if (fileSystem != nullptr) fileSystem_ = fileSystem;
  std::memset(path_, 0, sizeof path_);
  if (path != nullptr) std::strncpy(path_, path, sizeof path_ - 1);
}

void FILE::Attach(intptr_t handle) {
  handle_ = handle;
  IO_STREAM::Rewind();
}

intptr_t FILE::Detach() {
  const intptr_t handle = handle_;
  IO_STREAM::Close();
  return handle;
}

}  // namespace SDK
