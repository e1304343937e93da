// file_system_win32.cpp - the default file system's calls on the Win32 file
// API. Paths are ANSI byte strings, handed to the system as given. A file
// is taken only when it is a disk file: a device (NUL, COM1...) or a pipe
// of that name is as good as no file.
#include <windows.h>

#include <vector>

#include "common/regular_file_win32.h"
#include "sdk/FileSystemPlatform.h"

namespace SDK {
namespace file_platform {

namespace {

HANDLE toHandle(Handle handle) { return reinterpret_cast<HANDLE>(handle); }

Handle fromHandle(HANDLE handle) {
  return handle == INVALID_HANDLE_VALUE ? kInvalidHandle : reinterpret_cast<Handle>(handle);
}

// The handle when it is a disk file's; otherwise it is closed.
Handle diskFile(HANDLE handle) { return fromHandle(tq587::win32::keepDiskFile(handle)); }

DWORD accessFlags(Access access) {
  switch (access) {
    case Access::Read: return GENERIC_READ;
    case Access::Write: return GENERIC_WRITE;
    case Access::ReadWrite: return GENERIC_READ | GENERIC_WRITE;
  }
  return GENERIC_READ;
}

DWORD shareFlags(Sharing sharing) {
  switch (sharing) {
    case Sharing::None: return 0;
    case Sharing::Read: return FILE_SHARE_READ;
    case Sharing::Write: return FILE_SHARE_WRITE;
    case Sharing::Both: return FILE_SHARE_READ | FILE_SHARE_WRITE;
  }
  return 0;
}

// Hands a string from a Win32 query that takes a buffer and its size and
// answers the size needed when the buffer is too small.
template <typename Query>
bool askString(Query query, std::string* out) {
  DWORD needed = query(0, nullptr);
  for (int attempt = 0; needed != 0 && attempt < 3; ++attempt) {
    std::vector<char> buffer(needed);
    const DWORD got = query(needed, buffer.data());
    if (got == 0) return false;
    if (got < needed) {
      out->assign(buffer.data(), got);
      return true;
    }
    needed = got;
  }
  return false;
}

}  // namespace

Handle createFile(const char* path) {
  // read and write, no sharing, normal attributes; emptied once it is known
  // to be a disk file
  const Handle file = diskFile(CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                           FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file != kInvalidHandle && !SetEndOfFile(toHandle(file))) {
    CloseHandle(toHandle(file));
    return kInvalidHandle;
  }
  return file;
}

Handle openFile(const char* path, Access access, Sharing sharing) {
  return diskFile(CreateFileA(path, accessFlags(access), shareFlags(sharing), nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
}

void closeFile(Handle handle) {
  if (handle != kInvalidHandle) CloseHandle(toHandle(handle));
}

int64_t seekFile(Handle handle, int32_t offset, int origin) {
  // FILE_BEGIN 0, FILE_CURRENT 1, FILE_END 2: the same numbers as origin
  SetLastError(NO_ERROR);
  const DWORD position = SetFilePointer(toHandle(handle), offset, nullptr, static_cast<DWORD>(origin));
  if (position == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR) return -1;
  return static_cast<int64_t>(position);
}

int32_t writeFile(Handle handle, const void* bytes, int32_t count) {
  DWORD written = 0;
  if (!WriteFile(toHandle(handle), bytes, static_cast<DWORD>(count), &written, nullptr)) return -1;
  return static_cast<int32_t>(written);
}

int32_t readFile(Handle handle, void* bytes, int32_t count) {
  DWORD read = 0;
  if (!ReadFile(toHandle(handle), bytes, static_cast<DWORD>(count), &read, nullptr)) return -1;
  return static_cast<int32_t>(read);
}

int64_t handleSize(Handle handle) {
  const DWORD size = GetFileSize(toHandle(handle), nullptr);
  return size == INVALID_FILE_SIZE ? -1 : static_cast<int64_t>(size);
}

EntryKind entryKind(const char* path, int64_t* size) {
  // An entry that matches the path tells its kind and size; a directory
  // written with its trailing separator (c:\KORVA\) or a drive root matches
  // nothing, so its attributes are asked next.
  WIN32_FIND_DATAA found;
  const HANDLE search = FindFirstFileA(path, &found);
  if (search != INVALID_HANDLE_VALUE) {
    FindClose(search);
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return EntryKind::Directory;
    if (size != nullptr) *size = static_cast<int64_t>(found.nFileSizeLow);
    return EntryKind::File;
  }
  const DWORD attributes = GetFileAttributesA(path);
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return EntryKind::Directory;
  }
  return EntryKind::Missing;
}

bool copyFile(const char* source, const char* target, bool failIfExists) {
  return CopyFileA(source, target, failIfExists ? TRUE : FALSE) != 0;
}

bool deleteFile(const char* path) { return DeleteFileA(path) != 0; }

bool moveFile(const char* source, const char* target) { return MoveFileA(source, target) != 0; }

Handle createNewFile(const char* path, Handle model) {
  // a hidden or system file stays so
  constexpr DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                          FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
  DWORD attributes = FILE_ATTRIBUTE_NORMAL;
  BY_HANDLE_FILE_INFORMATION info;
  if (model != kInvalidHandle && GetFileInformationByHandle(toHandle(model), &info) &&
      (info.dwFileAttributes & kKept) != 0) {
    attributes = info.dwFileAttributes & kKept;
  }
  // CREATE_NEW fails on anything there, a link included
  return fromHandle(CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW, attributes, nullptr));
}

bool flushFile(Handle handle) { return FlushFileBuffers(toHandle(handle)) != 0; }

bool truncateFile(Handle handle, int64_t size) {
  LARGE_INTEGER at;
  at.QuadPart = size;
  return SetFilePointerEx(toHandle(handle), at, nullptr, FILE_BEGIN) && SetEndOfFile(toHandle(handle));
}

bool replaceFile(const char* source, const char* target) {
  // While another program has the old file open (a reader of the settings,
  // an antivirus scanning it), it cannot be replaced: tried again for a
  // while before giving up.
  constexpr int kAttempts = 50;
  constexpr DWORD kPauseMs = 10;
  for (int attempt = 1;; ++attempt) {
    if (MoveFileExA(source, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
    const DWORD error = GetLastError();
    if (attempt == kAttempts || (error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION)) return false;
    Sleep(kPauseMs);
  }
}

bool resolveLink(const char* path, std::string* target) {
  *target = path;
  const DWORD attributes = GetFileAttributesA(path);
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) return true;
  // a link: the final path of the file it leads to
  const HANDLE file = CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const bool found = askString(
      [file](DWORD length, char* buffer) {
        return GetFinalPathNameByHandleA(file, buffer, length, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
      },
      target);
  CloseHandle(file);
  return found;
}

bool makeDirectory(const char* path) { return CreateDirectoryA(path, nullptr) != 0; }

bool changeDirectory(const char* path) { return SetCurrentDirectoryA(path) != 0; }

bool currentDirectory(std::string* directory) {
  return askString([](DWORD length, char* buffer) { return GetCurrentDirectoryA(length, buffer); },
                   directory);
}

bool fullPath(const char* path, std::string* absolute) {
  return askString(
      [path](DWORD length, char* buffer) {
        return GetFullPathNameA(path, length, buffer, nullptr);
      },
      absolute);
}

}  // namespace file_platform
}  // namespace SDK
