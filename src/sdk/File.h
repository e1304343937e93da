// File.h - files and the file system: SDK::FILE, a readable and writable
// stream over one file; SDK::FILE_SYSTEM, the operations on paths and open
// files; SDK::DEFAULT_FILE_SYSTEM, the one the library uses.
#pragma once

#include <cstdint>

#include "sdk/Stream.h"

namespace SDK {

class FILE;
class FILE_SYSTEM;

// The no-file value: accepted wherever the file system takes a file object,
// and what Create and Open answer when they fail. It is never dereferenced.
inline FILE* const kNoFile = reinterpret_cast<FILE*>(intptr_t{-1});

// The process-wide file system (statically initialised).
FILE_SYSTEM& defaultFileSystem();

class FILE : public IO_STREAM {
 public:
  static constexpr uint32_t kTypeTag = 0x20000001;
  static constexpr int kPathSize = 256;
  // Open(name): read access, others may read too.
  static constexpr int kDefaultOpenMode = 0x20;

  // Closed, on the default file system, with an empty path.
  FILE();
  // Closes the file.
  ~FILE() override;

  // Bytes read, 0 at the end of the file; -1 when closed or on failure.
  int Read(void* bytes, int count) override;
  // Bytes written; -1 when closed or on failure.
  int Write(const void* bytes, int count) override;
  // Closes, then creates or truncates the file for reading and writing.
  // true when the file is open afterwards.
  bool Create(const char* path);
  // Closes, then opens an existing file with the mode word (bits 0-1 the
  // access: 0 read, 1 write, 2 both; bits 4-7 the sharing: 2 read, 3 write,
  // 4 both). true when the file is open afterwards.
  bool Open(const char* path, int mode);
  // name: a path, opened with kDefaultOpenMode.
  bool Open(const void* name) override;
  // The size of the open file, -1 when closed.
  int Size() const;
  // Closes the handle on its file system if open; the handle is -1 after.
  void Close() override;
  // Moves the file pointer; answers the offset asked for (not the new
  // position), or -1 when closed.
  int32_t Seek(int32_t offset, int origin) override;
  const char* Name() const override { return "FILE"; }

  const char* Path() const { return path_; }
  FILE_SYSTEM* FileSystem() const { return fileSystem_; }

  // For a file system: binds the file to it and records the path (cut to
  // kPathSize - 1 characters), or takes the handle it opened.
  void Bind(FILE_SYSTEM* fileSystem, const char* path);
  void Attach(intptr_t handle);
  // Forgets the handle without closing it; the caller closes it.
  intptr_t Detach();

 private:
  char path_[kPathSize] = {};
  FILE_SYSTEM* fileSystem_;  // not owned
};

// The operations on paths and on open files, in this order.
class FILE_SYSTEM : public OBJECT {
 public:
  ~FILE_SYSTEM() override = default;

  // Creates or truncates the file for reading and writing, without sharing.
  // file null: a new FILE is made for the caller, who owns it then. The file
  // object, or kNoFile (the given file closed, a made one deleted).
  virtual FILE* Create(const char* path, FILE* file) = 0;
  // Opens an existing file with the mode word (see FILE::Open). Results as
  // for Create.
  virtual FILE* Open(const char* path, int mode, FILE* file) = 0;
  // origin 0 begin, 1 current, 2 end. The new position (low 32 bits), -1 on
  // failure, 0 for kNoFile or no file.
  virtual int Seek(FILE* file, int offset, int origin) = 0;
  // Bytes written, -1 on failure or for kNoFile; tells the file's event
  // handler (code 1).
  virtual int Write(FILE* file, const void* bytes, int count) = 0;
  // Bytes read (0 at the end), -1 on failure or for kNoFile; tells the
  // file's event handler (code 2).
  virtual int Read(FILE* file, void* bytes, int count) = 0;
  // Closes the handle and leaves the file closed; nothing for kNoFile.
  virtual void Close(FILE* file) = 0;
  // true when an entry is there and is not a directory.
  virtual bool FileExists(const char* path) = 0;
  // Only the low byte of failIfExists counts.
  virtual bool Copy(const char* source, const char* target, int failIfExists) = 0;
  virtual bool Delete(const char* path) = 0;
  // Fails when the target is there.
  virtual bool Move(const char* source, const char* target) = 0;
  // The current directory into buffer: its length when it fits (with its
  // terminating zero), otherwise the size needed including the zero; 0 on
  // failure.
  virtual int CurrentDirectory(int length, char* buffer) = 0;
  virtual bool DirectoryExists(const char* path) = 0;
  virtual bool MakeDirectory(const char* path) = 0;
  virtual bool ChangeDirectory(const char* path) = 0;
  virtual bool CheckPath(const char* path) = 0;
  // The size of an open file (low 32 bits), -1 for the handle -1 or failure.
  virtual int HandleSize(intptr_t handle) = 0;
  // The size of a file (low 32 bits), -1 when missing or a directory.
  virtual int FileSize(const char* path) = 0;
  // Creates every missing directory of the path; false for paths of 260
  // characters or more, or when a creation fails (those made before stay).
  virtual bool MakePath(const char* path) = 0;
  // The text after the last '\', '/' or ':' ("" without one); the result
  // lives in one process-wide buffer, overwritten by the next call.
  virtual const char* FileName(const char* path) = 0;
  // The text up to and including the last '\' or '/', or before the last
  // ':' ("" without one); one process-wide buffer as for FileName.
  virtual const char* DirectoryName(const char* path) = 0;
  // The absolute path into buffer, with filePart (when given) pointing at
  // its last part in the buffer (null when there is none); the length as
  // for CurrentDirectory, 0 on failure.
  virtual int FullPath(const char* path, int length, char* buffer, char** filePart) = 0;
  virtual bool IsDriveSeparator(char character) = 0;
  virtual bool IsPathSeparator(char character) = 0;
  // Gives the file (or the file its links lead to) this content, whole:
  // whatever happens meanwhile (a full disk, a kill, a power cut) it holds
  // its old content or the new one. false, the old content kept, when it
  // cannot; a file that takes no writes is never replaced.
  virtual bool Save(const char* path, const void* bytes, int count) = 0;

 protected:
  constexpr explicit FILE_SYSTEM(uint32_t typeTag) : OBJECT(typeTag) {}
};

// The file system of the operating system; no state of its own apart from
// the two result buffers of FileName and DirectoryName.
class DEFAULT_FILE_SYSTEM : public FILE_SYSTEM {
 public:
  static constexpr uint32_t kTypeTag = 0x20000002;
  // Results of FileName and DirectoryName, and the longest path MakePath takes.
  static constexpr int kNameBufferSize = 260;

  constexpr DEFAULT_FILE_SYSTEM() : FILE_SYSTEM(kTypeTag) {}

  const char* Name() const override { return "DEFAULT FILE SYSTEM"; }

  FILE* Create(const char* path, FILE* file) override;
  FILE* Open(const char* path, int mode, FILE* file) override;
  int Seek(FILE* file, int offset, int origin) override;
  int Write(FILE* file, const void* bytes, int count) override;
  int Read(FILE* file, void* bytes, int count) override;
  void Close(FILE* file) override;
  bool FileExists(const char* path) override;
  bool Copy(const char* source, const char* target, int failIfExists) override;
  bool Delete(const char* path) override;
  bool Move(const char* source, const char* target) override;
  int CurrentDirectory(int length, char* buffer) override;
  bool DirectoryExists(const char* path) override;
  bool MakeDirectory(const char* path) override;
  bool ChangeDirectory(const char* path) override;
  bool CheckPath(const char* path) override;
  int HandleSize(intptr_t handle) override;
  int FileSize(const char* path) override;
  bool MakePath(const char* path) override;
  const char* FileName(const char* path) override;
  const char* DirectoryName(const char* path) override;
  int FullPath(const char* path, int length, char* buffer, char** filePart) override;
  bool IsDriveSeparator(char character) override;
  bool IsPathSeparator(char character) override;
  bool Save(const char* path, const void* bytes, int count) override;

 private:
  // Steps shared by Create and Open: check the path, make a file object
  // when none is given, bind it. nullptr when the call must fail.
  FILE* PrepareFile(const char* path, FILE* file);
  // Ends a failed Create or Open: closes the file, deletes it when made here.
  static FILE* FailFile(FILE* file);
  // Read and Write: the checks, the platform call, the notification.
  template <typename Bytes, typename PlatformCall>
  static int Transfer(FILE* file, Bytes bytes, int count, PlatformCall call, int event);
  // Hands the bytes just moved to the file's event handler.
  static void NotifyTransfer(FILE* file, int code, const void* bytes, int count);
};

}  // namespace SDK
