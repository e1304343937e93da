// FileSystemPlatform.h - what the default file system needs of the operating
// system.
//
// One file per platform implements these calls (file_system_posix.cpp,
// file_system_win32.cpp); SDK::DEFAULT_FILE_SYSTEM above them holds no
// platform code. Paths are handed over as the caller gave them.
#pragma once

#include <cstdint>
#include <string>

namespace SDK {
namespace file_platform {

using Handle = intptr_t;
constexpr Handle kInvalidHandle = -1;

enum class Access { Read, Write, ReadWrite };
// What other openers of the same file may do meanwhile.
enum class Sharing { None, Read, Write, Both };

// The Open mode word: bits 0-1 the access (0 read, 1 write, 2 both), bits
// 4-7 the sharing (0 or 1 none, 2 read, 3 write, 4 both). Other values of
// either field make the word invalid.
struct OpenMode {
  bool valid;
  Access access;
  Sharing sharing;
};
OpenMode decodeOpenMode(int mode);

// File: a regular file; Other: a FIFO, a device, a socket...
enum class EntryKind { Missing, File, Directory, Other };

// Creates or truncates the file for reading and writing, without sharing.
// Only a regular file (after links) is opened, and never with a wait: a
// FIFO, a device or a socket of that name fails, as a missing file does.
Handle createFile(const char* path);
// Opens an existing regular file, as createFile does.
Handle openFile(const char* path, Access access, Sharing sharing);
void closeFile(Handle handle);
// origin 0 begin, 1 current, 2 end; the new position, -1 on failure.
int64_t seekFile(Handle handle, int32_t offset, int origin);
// The whole count, or -1 on failure.
int32_t writeFile(Handle handle, const void* bytes, int32_t count);
// Up to count bytes, 0 at the end, -1 on failure.
int32_t readFile(Handle handle, void* bytes, int32_t count);
// The size of an open file, -1 on failure.
int64_t handleSize(Handle handle);

// What the path names, and its size when it is a file.
EntryKind entryKind(const char* path, int64_t* size);
bool copyFile(const char* source, const char* target, bool failIfExists);
bool deleteFile(const char* path);
// Fails when the target is there.
bool moveFile(const char* source, const char* target);
// Creates a file that is not there yet, never through a link, for reading
// and writing; with the permissions (or attributes) of model when given.
Handle createNewFile(const char* path, Handle model);
// The file's content and size on disk.
bool flushFile(Handle handle);
bool truncateFile(Handle handle, int64_t size);
// Puts source in the place of target in one step, whether target is there
// or not: a reader sees the old file or the new one, never part of either,
// and the change is on disk when it returns.
bool replaceFile(const char* source, const char* target);
// The file the path names: the path itself, or where its links lead (that
// file need not exist). false when the links cannot be followed.
bool resolveLink(const char* path, std::string* target);
bool makeDirectory(const char* path);
bool changeDirectory(const char* path);
bool currentDirectory(std::string* directory);
// The absolute form of a path; the path need not exist.
bool fullPath(const char* path, std::string* absolute);

}  // namespace file_platform
}  // namespace SDK
