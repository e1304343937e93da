// file_system_posix.cpp - the default file system's calls on POSIX. There is
// no sharing mode here: an open file is never locked against other openers,
// so only the access of the mode word counts. Files are opened only when
// they are regular files, and without waiting: a FIFO, a device or a socket
// of that name (or where its links lead) is as good as no file.
#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <memory>

#include "common/regular_file_posix.h"
#include "sdk/FileSystemPlatform.h"

namespace SDK {
namespace file_platform {

namespace {

constexpr mode_t kFileMode = 0644;
constexpr mode_t kDirectoryMode = 0755;
// Links followed before giving up, as the system's own path lookup does.
constexpr int kMaxLinks = 40;

int descriptor(Handle handle) {
  return (handle < 0 || handle > INT_MAX) ? -1 : static_cast<int>(handle);
}

int openRetrying(const char* path, int flags, mode_t mode) {
  int fd;
  do {
    fd = ::open(path, flags | O_CLOEXEC, mode);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

// Writes all of count or fails.
int32_t writeAll(int fd, const void* bytes, int32_t count) {
  const char* at = static_cast<const char*>(bytes);
  int32_t done = 0;
  while (done < count) {
    const ssize_t n = ::write(fd, at + done, static_cast<size_t>(count - done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return -1;
    done += static_cast<int32_t>(n);
  }
  return done;
}

bool resolvePath(const char* path, std::string* out) {
  std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path, nullptr), &std::free);
  if (!resolved) return false;
  *out = resolved.get();
  return true;
}

}  // namespace

Handle createFile(const char* path) {
  // truncated only once it is known to be a regular file
  const int fd = tq587::posix::openRegular(path, O_RDWR | O_CREAT, kFileMode);
  if (fd >= 0 && ::ftruncate(fd, 0) != 0) {
    ::close(fd);
    return kInvalidHandle;
  }
  return fd < 0 ? kInvalidHandle : fd;
}

Handle openFile(const char* path, Access access, Sharing) {
  int flags = O_RDONLY;
  if (access == Access::Write) flags = O_WRONLY;
  if (access == Access::ReadWrite) flags = O_RDWR;
  const int fd = tq587::posix::openRegular(path, flags, 0);
  return fd < 0 ? kInvalidHandle : fd;
}

void closeFile(Handle handle) {
  const int fd = descriptor(handle);
  if (fd >= 0) ::close(fd);
}

int64_t seekFile(Handle handle, int32_t offset, int origin) {
  const int whence = origin == 0 ? SEEK_SET : origin == 1 ? SEEK_CUR : SEEK_END;
  const off_t position = ::lseek(descriptor(handle), offset, whence);
  return position < 0 ? -1 : static_cast<int64_t>(position);
}

int32_t writeFile(Handle handle, const void* bytes, int32_t count) {
  return writeAll(descriptor(handle), bytes, count);
}

int32_t readFile(Handle handle, void* bytes, int32_t count) {
  ssize_t n;
  do {
    n = ::read(descriptor(handle), bytes, static_cast<size_t>(count));
  } while (n < 0 && errno == EINTR);
  return n < 0 ? -1 : static_cast<int32_t>(n);
}

int64_t handleSize(Handle handle) {
  struct stat info;
  if (::fstat(descriptor(handle), &info) != 0) return -1;
  return static_cast<int64_t>(info.st_size);
}

EntryKind entryKind(const char* path, int64_t* size) {
  struct stat info;
  if (::stat(path, &info) != 0) return EntryKind::Missing;
  if (S_ISDIR(info.st_mode)) return EntryKind::Directory;
  if (size != nullptr) *size = static_cast<int64_t>(info.st_size);
  return S_ISREG(info.st_mode) ? EntryKind::File : EntryKind::Other;
}

bool copyFile(const char* source, const char* target, bool failIfExists) {
  const int in = tq587::posix::openRegular(source, O_RDONLY, 0);
  if (in < 0) return false;
  struct stat from;
  struct stat to;
  // copying a file onto itself would truncate it first
  if (::fstat(in, &from) != 0 ||
      (::stat(target, &to) == 0 && to.st_dev == from.st_dev && to.st_ino == from.st_ino)) {
    ::close(in);
    return false;
  }
  const int out = tq587::posix::openRegular(target, O_WRONLY | O_CREAT | (failIfExists ? O_EXCL : 0), kFileMode);
  if (out < 0 || ::ftruncate(out, 0) != 0) {
    if (out >= 0) ::close(out);
    ::close(in);
    return false;
  }
  bool ok = true;
  char block[8192];
  for (;;) {
    const ssize_t n = ::read(in, block, sizeof block);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ok = n == 0;
      break;
    }
    if (writeAll(out, block, static_cast<int32_t>(n)) < 0) {
      ok = false;
      break;
    }
  }
  ::close(in);
  if (::close(out) != 0) ok = false;
  return ok;
}

bool deleteFile(const char* path) { return ::unlink(path) == 0; }

Handle createNewFile(const char* path, Handle model) {
  const int fd = openRetrying(path, O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW, kFileMode);
  if (fd < 0) return kInvalidHandle;
  struct stat info;
  if (model != kInvalidHandle && ::fstat(descriptor(model), &info) == 0) {
    // the owner first (only root may give a file away), then the mode
    if (::fchown(fd, info.st_uid, info.st_gid) != 0) {
    }
    ::fchmod(fd, info.st_mode & 07777);
  }
  return fd;
}

bool flushFile(Handle handle) {
  int result;
  do {
    result = ::fsync(descriptor(handle));
  } while (result != 0 && errno == EINTR);
  return result == 0;
}

bool truncateFile(Handle handle, int64_t size) {
  return ::ftruncate(descriptor(handle), static_cast<off_t>(size)) == 0;
}

bool replaceFile(const char* source, const char* target) {
  if (::rename(source, target) != 0) return false;
  // the folder's new entry on disk too; a file system that cannot flush a
  // folder has nothing more to do
  const std::string path(target);
  const size_t slash = path.find_last_of('/');
  const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  const int fd = openRetrying(folder.c_str(), O_RDONLY | O_DIRECTORY, 0);
  if (fd >= 0) {
    flushFile(fd);
    ::close(fd);
  }
  return true;
}

bool resolveLink(const char* path, std::string* target) {
  std::string at(path);
  for (int hop = 0; hop < kMaxLinks; ++hop) {
    char link[PATH_MAX];
    const ssize_t length = ::readlink(at.c_str(), link, sizeof link);
    if (length < 0) {
      // not a link, or nothing there yet: the file is at
      *target = at;
      return errno == EINVAL || errno == ENOENT;
    }
    if (static_cast<size_t>(length) >= sizeof link) return false;
    std::string next(link, static_cast<size_t>(length));
    const size_t slash = at.find_last_of('/');
    if (next[0] != '/' && slash != std::string::npos) next = at.substr(0, slash + 1) + next;
    at = next;
  }
  return false;
}

bool moveFile(const char* source, const char* target) {
  struct stat info;
  if (::lstat(target, &info) == 0) return false;
  return ::rename(source, target) == 0;
}

bool makeDirectory(const char* path) { return ::mkdir(path, kDirectoryMode) == 0; }

bool changeDirectory(const char* path) { return ::chdir(path) == 0; }

bool currentDirectory(std::string* directory) {
  std::unique_ptr<char, decltype(&std::free)> cwd(::getcwd(nullptr, 0), &std::free);
  if (!cwd) return false;
  *directory = cwd.get();
  return true;
}

bool fullPath(const char* path, std::string* absolute) {
  if (resolvePath(path, absolute)) return true;
  // a path that does not exist yet: resolve its directory, keep its name
  std::string text(path);
  const size_t slash = text.find_last_of('/');
  std::string directory;
  if (slash == std::string::npos) {
    if (!currentDirectory(&directory)) return false;
  } else if (!resolvePath(slash == 0 ? "/" : text.substr(0, slash).c_str(), &directory)) {
    return false;
  }
  const std::string name = slash == std::string::npos ? text : text.substr(slash + 1);
  *absolute = directory == "/" ? "/" + name : directory + "/" + name;
  return true;
}

}  // namespace file_platform
}  // namespace SDK
