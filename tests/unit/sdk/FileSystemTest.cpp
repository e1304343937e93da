// Files and the default file system, on real files in a scratch directory.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "support/TestSupport.h"
#include "sdk/File.h"
#include "sdk/FileSystemPlatform.h"

namespace {

using SDK::file_platform::Access;
using SDK::file_platform::Sharing;
using Strings = std::vector<std::string>;

SDK::FILE_SYSTEM& fs() { return SDK::defaultFileSystem(); }

std::string readAll(SDK::FILE& file) {
  std::string text;
  char c;
  while (file.Read(&c, 1) == 1) text += c;
  return text;
}

// The configuration's two roads: write with Create, read back byte by byte.
TEST(File, WritesAndReadsTheWayTheConfigurationDoes) {
  ScratchDir dir;
  dir.write("CONVERSOR.INI", "an older and longer content");
  SDK::FILE out, in;
  out.Close();
  EXPECT_EQ(&out, fs().Create("CONVERSOR.INI", &out));
  ASSERT_FALSE(out.IsClosed());
  EXPECT_EQ(0, out.Size());  // truncated
  EXPECT_EQ(10, fs().Write(&out, "[A]\r\nX=1\r\n", 10));
  fs().Close(&out);
  EXPECT_TRUE(out.IsClosed());
  in.Close();
  EXPECT_EQ(&in, fs().Open("CONVERSOR.INI", 0x20, &in));
  ASSERT_FALSE(in.IsClosed());
  EXPECT_EQ("[A]\r\nX=1\r\n", readAll(in));
  EXPECT_STREQ("CONVERSOR.INI", in.Path());

  SDK::FILE* made = fs().Create("new.txt", nullptr);  // no file object given
  ASSERT_NE(SDK::kNoFile, made);
  ASSERT_NE(nullptr, made);
  EXPECT_EQ(SDK::OBJECT::kCreatedByFileSystem, made->Flags() & 1u);
  EXPECT_EQ(3, made->Write("abc", 3));
  delete made;
  EXPECT_EQ("abc", dir.read("new.txt"));
  // the object made for a failed open is deleted again (the sanitizer build
  // checks for the leak)
  EXPECT_EQ(SDK::kNoFile, fs().Open("missing.txt", 0, nullptr));
  SDK::FILE file;
  EXPECT_EQ(SDK::kNoFile, fs().Open("missing.txt", 0x20, &file));
  EXPECT_TRUE(file.IsClosed());
}

TEST(File, ModeWordChoosesAccessAndSharing) {
  struct Case { int mode; bool valid; Access access; Sharing sharing; int read, write; };
  const Case kCases[] = {  // read and write: results of a 2-byte transfer
      {0x00, true, Access::Read, Sharing::None, 2, -1},
      {0x11, true, Access::Write, Sharing::None, -1, 2},
      {0x22, true, Access::ReadWrite, Sharing::Read, 2, 2},
      {0x30, true, Access::Read, Sharing::Write, 2, -1},
      {0x41, true, Access::Write, Sharing::Both, -1, 2},
      {0x23, false, Access::Read, Sharing::None, -1, -1},  // access 3
      {0x50, false, Access::Read, Sharing::None, -1, -1},  // sharing 5
  };
  ScratchDir dir;
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.mode);
    const SDK::file_platform::OpenMode decoded = SDK::file_platform::decodeOpenMode(c.mode);
    EXPECT_EQ(c.valid, decoded.valid);
    if (c.valid) {
      EXPECT_EQ(c.access, decoded.access);
      EXPECT_EQ(c.sharing, decoded.sharing);
    }
    dir.write("data.bin", "abcd");
    SDK::FILE file;
    EXPECT_EQ(c.valid, file.Open("data.bin", c.mode));
    char bytes[2] = {};
    EXPECT_EQ(c.read, file.Read(bytes, 2));
    EXPECT_EQ(c.write, file.Write("XY", 2));
  }
}

TEST(FileSystem, RefusesClosedFilesBadPathsAndTheNoFileValue) {
  ScratchDir dir;
  SDK::FILE file;
  EXPECT_EQ(&SDK::defaultEventHandler(), file.EventHandler());
  char byte = 0;
  EXPECT_EQ(-1, file.Read(&byte, 1));
  EXPECT_EQ(-1, file.Write(&byte, 1));
  EXPECT_EQ(-1, file.Seek(0, 0));
  EXPECT_EQ(-1, file.Size());
  EXPECT_EQ(SDK::kNoFile, fs().Create(nullptr, &file));
  EXPECT_EQ(SDK::kNoFile, fs().Create("", &file));
  EXPECT_EQ(SDK::kNoFile, fs().Create("x.txt", SDK::kNoFile));
  EXPECT_FALSE(fs().FileExists("x.txt"));
  EXPECT_EQ(-1, fs().Read(SDK::kNoFile, &byte, 1));
  EXPECT_EQ(-1, fs().Write(SDK::kNoFile, &byte, 1));
  EXPECT_EQ(0, fs().Seek(SDK::kNoFile, 1, 0));
  fs().Close(SDK::kNoFile);
  EXPECT_FALSE(file.Create(std::string(300, 'n').c_str()));  // too long for the system too
  EXPECT_EQ(std::string(255, 'n'), file.Path());              // the path kept is cut
}

TEST(FileSystem, SeekMovesTheFilePointer) {
  ScratchDir dir;
  dir.write("data.bin", "hello");
  SDK::FILE file;
  ASSERT_TRUE(file.Open("data.bin", 0));
  EXPECT_EQ(4, fs().Seek(&file, -1, 2));
  EXPECT_EQ(2, file.Seek(2, 0));
  EXPECT_EQ("llo", readAll(file));
  EXPECT_EQ(-1, fs().Seek(&file, 0, 3));
  EXPECT_EQ(-1, fs().Seek(&file, -10, 0));
  EXPECT_EQ(5, file.Size());
}

TEST(FileSystem, AnswersWhatAPathNames) {
  struct Case { const char* path; bool file, directory; int size; };
  const Case kCases[] = {
      {"five.txt", true, false, 5}, {"sub", false, true, -1}, {"sub/", false, true, -1},
      {"missing", false, false, -1}, {"", false, false, -1},
  };
  ScratchDir dir;
  dir.write("five.txt", "12345");
  ASSERT_TRUE(fs().MakeDirectory("sub"));
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(c.file, fs().FileExists(c.path));
    EXPECT_EQ(c.directory, fs().DirectoryExists(c.path));
    EXPECT_EQ(c.size, fs().FileSize(c.path));
  }
  SDK::FILE file;
  EXPECT_FALSE(file.Open("sub", 0));  // a directory is not a file
}

TEST(FileSystem, SplitsPathsIntoDirectoryAndName) {
  struct Case { std::string path; const char* fileName; const char* directoryName; };
  const Case kCases[] = {
      {"c:\\dir\\file.txt", "file.txt", "c:\\dir\\"},
      {"file.txt", "", ""},
      {"a\\b/c", "c", "a\\b/"},
      {"c:file.txt", "file.txt", "c"},
      {"dir/", "", "dir/"},
      {std::string(259, 'a') + "/b", "b", ""},  // directory part too long
      {"/" + std::string(260, 'b'), "", "/"},   // name too long
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.path.substr(0, 20));
    EXPECT_STREQ(c.fileName, fs().FileName(c.path.c_str()));
    EXPECT_STREQ(c.directoryName, fs().DirectoryName(c.path.c_str()));
  }
  EXPECT_STREQ("", fs().FileName(nullptr));
}

// Records what MakePath asks of the directories instead of creating them.
struct RecordingFileSystem : SDK::DEFAULT_FILE_SYSTEM {
  Strings tested, made;
  std::string existing, failOn;
  bool DirectoryExists(const char* path) override {
    tested.push_back(path);
    return existing == path;
  }
  bool MakeDirectory(const char* path) override {
    made.push_back(path);
    return failOn != path;
  }
};

TEST(FileSystem, MakePathTestsEveryPrefixButTheRoot) {
  struct Case {
    const char* name;
    std::string path, existing, failOn;
    bool result;
    Strings tested, made;
  };
  const std::string k259(259, 'd');
  const Case kCases[] = {
      {"drive path", "c:\\a\\b\\c", "c:\\a\\", "", true,
       {"c:\\a\\", "c:\\a\\b\\", "c:\\a\\b\\c"}, {"c:\\a\\b\\", "c:\\a\\b\\c"}},
      {"trailing separator tested once", "/x/y/", "", "", true, {"/x/", "/x/y/"},
       {"/x/", "/x/y/"}},
      {"bare drive", "c:\\", "", "", true, {}, {}},
      {"stops at the first failure", "p/q/r", "", "p/q/", false, {"p/", "p/q/"},
       {"p/", "p/q/"}},
      {"259 characters taken", k259, "", "", true, {k259}, {k259}},
      {"260 characters refused", k259 + "d", "", "", false, {}, {}},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    RecordingFileSystem recording;
    recording.existing = c.existing;
    recording.failOn = c.failOn;
    EXPECT_EQ(c.result, recording.MakePath(c.path.c_str()));
    EXPECT_EQ(c.tested, recording.tested);
    EXPECT_EQ(c.made, recording.made);
  }
}

TEST(FileSystem, MakePathCreatesNestedDirectories) {
  ScratchDir dir;
  EXPECT_TRUE(fs().MakePath("a/b/c"));
  EXPECT_TRUE(fs().DirectoryExists("a/b/c"));
  dir.write("plain", "");
  EXPECT_FALSE(fs().MakePath("plain/d"));
  // backslashes separate for the path rules but are not translated here: the
  // directory made is literally named "e\"
  EXPECT_TRUE(fs().MakePath("e\\f"));
  EXPECT_TRUE(fs().DirectoryExists("e\\f"));
  EXPECT_FALSE(fs().DirectoryExists("e"));
}

TEST(FileSystem, CopiesMovesAndDeletes) {
  ScratchDir dir;
  dir.write("one", "first");
  dir.write("two", "second");
  EXPECT_FALSE(fs().Copy("one", "two", 1));
  EXPECT_EQ("second", dir.read("two"));
  EXPECT_TRUE(fs().Copy("one", "two", 0x100));  // only the low byte counts
  EXPECT_EQ("first", dir.read("two"));
  EXPECT_FALSE(fs().Copy("one", "one", 0));  // would truncate it
  EXPECT_EQ("first", dir.read("one"));
  EXPECT_FALSE(fs().Move("one", "two"));  // the target is there
  EXPECT_TRUE(fs().Delete("two"));
  EXPECT_TRUE(fs().Move("one", "two"));
  EXPECT_FALSE(fs().Delete("one"));
}

TEST(FileSystem, GivesDirectoriesLikeTheSystemQueries) {
  ScratchDir dir;
  ASSERT_TRUE(fs().MakeDirectory("sub"));
  ASSERT_TRUE(fs().ChangeDirectory("sub"));
  char small[2] = {}, buffer[4096] = {}, full[4096] = {};
  const int needed = fs().CurrentDirectory(2, small);
  const int length = fs().CurrentDirectory(sizeof buffer, buffer);
  EXPECT_EQ(length + 1, needed);
  EXPECT_EQ(static_cast<int>(std::strlen(buffer)), length);
  EXPECT_EQ("/sub", std::string(buffer).substr(length - 4));
  char* name = nullptr;
  const int fullLength = fs().FullPath("later.txt", sizeof full, full, &name);
  EXPECT_EQ(std::string(buffer) + "/later.txt", full);
  EXPECT_EQ(static_cast<int>(std::strlen(full)), fullLength);
  ASSERT_NE(nullptr, name);
  EXPECT_STREQ("later.txt", name);
  EXPECT_EQ(fullLength + 1, fs().FullPath("later.txt", 4, full, &name));
  EXPECT_EQ(nullptr, name);
}

// Keeps every notification with a copy of the bytes it carried.
struct RecordingHandler : SDK::EVENT_HANDLER {
  std::vector<std::pair<int, std::string>> events;
  SDK::OBJECT* source = nullptr;
  int OnEvent(SDK::OBJECT* from, int code, SDK::MEMORY_BUFFER* buffer) override {
    source = from;
    events.emplace_back(code, std::string(reinterpret_cast<const char*>(buffer->Data()),
                                          buffer->Capacity()));
    return 0;
  }
};

TEST(FileSystem, TellsTheEventHandlerOfEveryTransfer) {
  ScratchDir dir;
  RecordingHandler handler;
  SDK::FILE file;
  file.SetEventHandler(&handler);
  ASSERT_TRUE(file.Create("events.bin"));
  EXPECT_EQ(3, file.Write("abc", 3));
  fs().Seek(&file, 0, 0);
  char bytes[8] = {};
  EXPECT_EQ(2, file.Read(bytes, 2));
  EXPECT_EQ(1, file.Read(bytes, 8));
  EXPECT_EQ(0, file.Read(bytes, 8));
  file.Close();
  EXPECT_EQ(-1, file.Read(bytes, 8));  // no notification when closed
  const std::vector<std::pair<int, std::string>> expected = {
      {1, "abc"}, {2, "ab"}, {2, "c"}, {2, ""}};
  EXPECT_EQ(expected, handler.events);
  EXPECT_EQ(&file, handler.source);
}

}  // namespace
