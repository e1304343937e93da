// DefaultFileSystem.cpp - the file system of the operating system: the mode
// word, the path rules, the file objects and the transfer notifications. The
// calls into the system live in file_system_<platform>.cpp.
#include <cstring>
#include <string>

#include "sdk/File.h"
#include "sdk/FileSystemPlatform.h"

namespace SDK {

namespace {

// Built at compile time and never destroyed, so that a file closed by a
// static destructor still finds its file system.
union LastingFileSystem {
  constexpr LastingFileSystem() : instance() {}
  ~LastingFileSystem() {}
  DEFAULT_FILE_SYSTEM instance;
};
LastingFileSystem theDefaultFileSystem;

char fileNameResult[DEFAULT_FILE_SYSTEM::kNameBufferSize];
char directoryNameResult[DEFAULT_FILE_SYSTEM::kNameBufferSize];

constexpr int kEventWrite = 1;
constexpr int kEventRead = 2;

bool isGiven(const FILE* file) { return file != nullptr && file != kNoFile; }

bool isEmpty(const char* path) { return path == nullptr || path[0] == '\0'; }

// Copies text into a result buffer when it fits with its zero; otherwise the
// result is empty.
const char* setResult(char (&result)[DEFAULT_FILE_SYSTEM::kNameBufferSize], const char* text,
                      size_t length) {
  if (length < sizeof result) {
    std::memcpy(result, text, length);
    result[length] = '\0';
  } else {
    result[0] = '\0';
  }
  return result;
}

// The position of the last '\', '/' or ':' in path, or -1.
long lastSeparator(const char* path, size_t length) {
  for (size_t i = length; i > 0; --i) {
    const char c = path[i - 1];
    if (c == '\\' || c == '/' || c == ':') return static_cast<long>(i - 1);
  }
  return -1;
}

// Hands a string out the way the system's directory queries do: its length
// when it fits in the buffer with its zero, otherwise the size needed.
int giveString(const std::string& text, int length, char* buffer) {
  const size_t needed = text.size() + 1;
  if (buffer == nullptr || length < 0 || needed > static_cast<size_t>(length)) {
    return static_cast<int>(needed);
  }
  std::memcpy(buffer, text.c_str(), needed);
  return static_cast<int>(text.size());
}

// The low 32 bits of a size, as the system's 32-bit size queries give it.
int low32(int64_t size) { return static_cast<int>(static_cast<uint32_t>(size)); }

// Where Save writes the new content before it takes the old one's place.
const char kNewFileSuffix[] = ".novo";

// The new content over the old in the same file. The file first grows to
// the new length, so that a full disk leaves the old content as it was
// (cut back to its length); it is shortened last.
bool rewriteInPlace(file_platform::Handle file, const void* bytes, int count) {
  using namespace file_platform;
  const int64_t size = handleSize(file);
  if (size < 0) return false;
  const char* text = static_cast<const char*>(bytes);
  if (count > size) {
    const int32_t old = static_cast<int32_t>(size);
    if (seekFile(file, old, 0) != size || writeFile(file, text + old, count - old) != count - old) {
      truncateFile(file, size);
      return false;
    }
  }
  const int32_t head = count < size ? count : static_cast<int32_t>(size);
  return seekFile(file, 0, 0) == 0 && writeFile(file, text, head) == head &&
         (count >= size || truncateFile(file, count)) && flushFile(file);
}

}  // namespace

FILE_SYSTEM& defaultFileSystem() { return theDefaultFileSystem.instance; }

namespace file_platform {

OpenMode decodeOpenMode(int mode) {
  OpenMode result{true, Access::Read, Sharing::None};
  switch (mode & 0x3) {
    case 0: result.access = Access::Read; break;
    case 1: result.access = Access::Write; break;
    case 2: result.access = Access::ReadWrite; break;
    default: result.valid = false; break;
  }
  switch ((mode >> 4) & 0xF) {
    case 0:
    case 1: result.sharing = Sharing::None; break;
    case 2: result.sharing = Sharing::Read; break;
    case 3: result.sharing = Sharing::Write; break;
    case 4: result.sharing = Sharing::Both; break;
    default: result.valid = false; break;
  }
  return result;
}

}  // namespace file_platform

FILE* DEFAULT_FILE_SYSTEM::PrepareFile(const char* path, FILE* file) {
  if (isEmpty(path) || file == kNoFile) return nullptr;
  if (file == nullptr) {
    file = new FILE();
    file->SetFlags(file->Flags() | kCreatedByFileSystem);
  }
  file->Bind(this, path);
  return file;
}

FILE* DEFAULT_FILE_SYSTEM::FailFile(FILE* file) {
  file->Close();
  if ((file->Flags() & kCreatedByFileSystem) != 0) delete file;
  return kNoFile;
}

void DEFAULT_FILE_SYSTEM::NotifyTransfer(FILE* file, int code, const void* bytes, int count) {
  EVENT_HANDLER* handler = file->EventHandler();
  if (handler == nullptr) return;
  MEMORY_BUFFER transferred(bytes, count);
  handler->OnEvent(file, code, &transferred);
}

FILE* DEFAULT_FILE_SYSTEM::Create(const char* path, FILE* file) {
  file = PrepareFile(path, file);
  if (file == nullptr) return kNoFile;
  const file_platform::Handle handle = file_platform::createFile(path);
  if (handle == file_platform::kInvalidHandle) return FailFile(file);
  file->Attach(handle);
  return file;
}

FILE* DEFAULT_FILE_SYSTEM::Open(const char* path, int mode, FILE* file) {
  file = PrepareFile(path, file);
  if (file == nullptr) return kNoFile;
  const file_platform::OpenMode decoded = file_platform::decodeOpenMode(mode);
  if (!decoded.valid) return FailFile(file);
  const file_platform::Handle handle =
      file_platform::openFile(path, decoded.access, decoded.sharing);
  if (handle == file_platform::kInvalidHandle) return FailFile(file);
  file->Attach(handle);
  return file;
}

int DEFAULT_FILE_SYSTEM::Seek(FILE* file, int offset, int origin) {
  if (!isGiven(file)) return 0;
  if (file->IsClosed() || origin < 0 || origin > 2) return -1;
  const int64_t position = file_platform::seekFile(file->Handle(), offset, origin);
  return position < 0 ? -1 : low32(position);
}

template <typename Bytes, typename PlatformCall>
int DEFAULT_FILE_SYSTEM::Transfer(FILE* file, Bytes bytes, int count, PlatformCall call,
                                  int event) {
  if (!isGiven(file) || file->IsClosed() || count < 0) return -1;
  if (bytes == nullptr && count > 0) return -1;
  const int32_t moved = call(file->Handle(), bytes, count);
  if (moved < 0) return -1;
  NotifyTransfer(file, event, bytes, moved);
  return moved;
}

int DEFAULT_FILE_SYSTEM::Write(FILE* file, const void* bytes, int count) {
  return Transfer(file, bytes, count, file_platform::writeFile, kEventWrite);
}

int DEFAULT_FILE_SYSTEM::Read(FILE* file, void* bytes, int count) {
  return Transfer(file, bytes, count, file_platform::readFile, kEventRead);
}

void DEFAULT_FILE_SYSTEM::Close(FILE* file) {
  if (!isGiven(file) || file->IsClosed()) return;
  // The file forgets its handle first, so that its own Close later finds
  // nothing left to close.
  file_platform::closeFile(file->Detach());
}

bool DEFAULT_FILE_SYSTEM::FileExists(const char* path) {
  if (isEmpty(path)) return false;
  const file_platform::EntryKind kind = file_platform::entryKind(path, nullptr);
  return kind != file_platform::EntryKind::Missing && kind != file_platform::EntryKind::Directory;
}

bool DEFAULT_FILE_SYSTEM::Copy(const char* source, const char* target, int failIfExists) {
  if (isEmpty(source) || isEmpty(target)) return false;
  return file_platform::copyFile(source, target, (failIfExists & 0xFF) != 0);
}

bool DEFAULT_FILE_SYSTEM::Delete(const char* path) {
  return !isEmpty(path) && file_platform::deleteFile(path);
}

bool DEFAULT_FILE_SYSTEM::Move(const char* source, const char* target) {
  if (isEmpty(source) || isEmpty(target)) return false;
  return file_platform::moveFile(source, target);
}

int DEFAULT_FILE_SYSTEM::CurrentDirectory(int length, char* buffer) {
  std::string directory;
  if (!file_platform::currentDirectory(&directory)) return 0;
  return giveString(directory, length, buffer);
}

bool DEFAULT_FILE_SYSTEM::DirectoryExists(const char* path) {
  if (isEmpty(path)) return false;
  return file_platform::entryKind(path, nullptr) == file_platform::EntryKind::Directory;
}

bool DEFAULT_FILE_SYSTEM::MakeDirectory(const char* path) {
  return !isEmpty(path) && file_platform::makeDirectory(path);
}

bool DEFAULT_FILE_SYSTEM::ChangeDirectory(const char* path) {
  return !isEmpty(path) && file_platform::changeDirectory(path);
}

bool DEFAULT_FILE_SYSTEM::CheckPath(const char*) { return false; }

int DEFAULT_FILE_SYSTEM::HandleSize(intptr_t handle) {
  if (handle == file_platform::kInvalidHandle) return -1;
  const int64_t size = file_platform::handleSize(handle);
  return size < 0 ? -1 : low32(size);
}

int DEFAULT_FILE_SYSTEM::FileSize(const char* path) {
  if (isEmpty(path)) return -1;
  int64_t size = 0;
  const file_platform::EntryKind kind = file_platform::entryKind(path, &size);
  if (kind == file_platform::EntryKind::Missing || kind == file_platform::EntryKind::Directory) {
    return -1;
  }
  return low32(size);
}

bool DEFAULT_FILE_SYSTEM::MakePath(const char* path) {
  if (path == nullptr) return false;
  const size_t length = std::strlen(path);
  if (length >= static_cast<size_t>(kNameBufferSize)) return false;
  char prefix[kNameBufferSize];
  for (size_t i = 0; i < length; ++i) {
    const char c = path[i];
    // a separator ends its own prefix; the first one and one after a drive
    // (the roots / and c:\) are never tested by themselves
    const bool test = IsPathSeparator(c) ? i > 0 && !IsDriveSeparator(path[i - 1])
                                         : i + 1 == length && !IsDriveSeparator(c);
    if (!test) continue;
    std::memcpy(prefix, path, i + 1);
    prefix[i + 1] = '\0';
    if (!DirectoryExists(prefix) && !MakeDirectory(prefix)) return false;
  }
  return true;
}

const char* DEFAULT_FILE_SYSTEM::FileName(const char* path) {
  if (path == nullptr) return setResult(fileNameResult, "", 0);
  const size_t length = std::strlen(path);
  const long at = lastSeparator(path, length);
  if (at < 0) return setResult(fileNameResult, "", 0);
  const size_t start = static_cast<size_t>(at) + 1;
  return setResult(fileNameResult, path + start, length - start);
}

const char* DEFAULT_FILE_SYSTEM::DirectoryName(const char* path) {
  if (path == nullptr) return setResult(directoryNameResult, "", 0);
  const long at = lastSeparator(path, std::strlen(path));
  if (at < 0) return setResult(directoryNameResult, "", 0);
  const size_t end = path[at] == ':' ? static_cast<size_t>(at) : static_cast<size_t>(at) + 1;
  return setResult(directoryNameResult, path, end);
}

int DEFAULT_FILE_SYSTEM::FullPath(const char* path, int length, char* buffer, char** filePart) {
  std::string absolute;
  if (isEmpty(path) || !file_platform::fullPath(path, &absolute)) return 0;
  const int result = giveString(absolute, length, buffer);
  if (filePart != nullptr) {
    *filePart = nullptr;
    if (result == static_cast<int>(absolute.size())) {
      const size_t last = absolute.find_last_of("\\/");
      const size_t start = last == std::string::npos ? 0 : last + 1;
      if (start < absolute.size()) *filePart = buffer + start;
    }
  }
  return result;
}

bool DEFAULT_FILE_SYSTEM::IsDriveSeparator(char character) { return character == ':'; }

bool DEFAULT_FILE_SYSTEM::IsPathSeparator(char character) {
  return character == '\\' || character == '/';
}

// The new content is written to a file of its own beside the old one,
// flushed, and put in the old one's place in one step. Where the folder
// takes no new file, the file is rewritten in place.
bool DEFAULT_FILE_SYSTEM::Save(const char* path, const void* bytes, int count) {
  using namespace file_platform;
  std::string target;
  if (isEmpty(path) || count < 0 || (bytes == nullptr && count > 0) || !resolveLink(path, &target)) {
    return false;
  }
  // Only a regular file is replaced (after its links), or made where there
  // is nothing: a link to a device, a FIFO or nothing is never written
  // through.
  const EntryKind kind = entryKind(target.c_str(), nullptr);
  const bool linked = target != path;
  if (kind == EntryKind::Directory || kind == EntryKind::Other || (kind == EntryKind::Missing && linked)) {
    return false;
  }
  Handle old = kInvalidHandle;
  if (kind == EntryKind::File && (old = openFile(target.c_str(), Access::Write, Sharing::Both)) == kInvalidHandle) {
    return false;
  }
  const std::string fresh = target + kNewFileSuffix;
  deleteFile(fresh.c_str());  // left by a stopped process, or planted: a link goes, its file stays
  const Handle file = createNewFile(fresh.c_str(), old);
  if (file == kInvalidHandle) {
    const bool saved = old != kInvalidHandle && rewriteInPlace(old, bytes, count);
    closeFile(old);
    return saved;
  }
  bool saved = writeFile(file, bytes, count) == count && flushFile(file);
  closeFile(file);
  closeFile(old);
  saved = saved && replaceFile(fresh.c_str(), target.c_str());
  if (!saved) deleteFile(fresh.c_str());
  return saved;
}

}  // namespace SDK
