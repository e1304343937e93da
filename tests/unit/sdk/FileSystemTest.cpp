// FileSystemTest.cpp - the file calls CONVERSOR.INI goes through, on real
// files in a scratch directory, and the refusals the configuration relies on.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "sdk/File.h"
#include "support/TestSupport.h"

namespace {

SDK::FILE_SYSTEM& fs() { return SDK::defaultFileSystem(); }

// Keeps every notification with a copy of the bytes it carried.
struct RecordingHandler : SDK::EVENT_HANDLER {
  std::vector<std::pair<int, std::string>> events;
  int OnEvent(SDK::OBJECT*, int code, SDK::MEMORY_BUFFER* buffer) override {
    events.emplace_back(code, std::string(reinterpret_cast<const char*>(buffer->Data()),
                                          buffer->Capacity()));
    return 0;
  }
};

// The configuration's two roads: write with Create, read back byte by byte.
TEST(FileSystem, WritesAndReadsTheWayTheConfigurationDoes) {
  ScratchDir dir;
  dir.write("CONVERSOR.INI", "an older and longer content");
  RecordingHandler handler;
  SDK::FILE out, in;
  out.SetEventHandler(&handler);
  EXPECT_EQ(fs().Create("CONVERSOR.INI", &out), &out);
  ASSERT_FALSE(out.IsClosed());
  EXPECT_EQ(fs().Write(&out, "[A]\r\nX=1\r\n", 10), 10);
  fs().Close(&out);
  EXPECT_TRUE(out.IsClosed());
  EXPECT_EQ(dir.read("CONVERSOR.INI"), "[A]\r\nX=1\r\n");  // the older content is gone

  in.SetEventHandler(&handler);
  EXPECT_EQ(fs().Open("CONVERSOR.INI", 0x20, &in), &in);
  std::string text;
  for (char c; in.Read(&c, 1) == 1;) text += c;
  EXPECT_EQ(text, "[A]\r\nX=1\r\n");
  EXPECT_EQ(in.Read(&text[0], 1), 0);  // still at the end
  in.Close();
  EXPECT_EQ(handler.events.front(), std::make_pair(1, std::string("[A]\r\nX=1\r\n")));
  EXPECT_EQ(handler.events[1], std::make_pair(2, std::string("[")));
  EXPECT_EQ(handler.events.size(), 13u);  // a write, ten bytes read, two ends
}

TEST(FileSystem, RefusesMissingFilesBadPathsClosedFilesAndTheNoFileValue) {
  ScratchDir dir;
  dir.write("CONVERSOR.INI", "x");
  SDK::FILE file;
  EXPECT_EQ(fs().Open("missing.ini", 0x20, &file), SDK::kNoFile);
  EXPECT_TRUE(file.IsClosed());
  ASSERT_TRUE(fs().MakeDirectory("folder.ini"));
  EXPECT_EQ(fs().Open("folder.ini", 0x20, &file), SDK::kNoFile);  // a directory is no file
  EXPECT_EQ(fs().Create("folder.ini", &file), SDK::kNoFile);
  EXPECT_EQ(fs().Create("no/such/dir.ini", &file), SDK::kNoFile);
  EXPECT_TRUE(file.IsClosed());
  EXPECT_EQ(fs().Create("", &file), SDK::kNoFile);
  EXPECT_EQ(fs().Open(nullptr, 0x20, &file), SDK::kNoFile);
  EXPECT_EQ(fs().Create("x.ini", SDK::kNoFile), SDK::kNoFile);

  char byte = 0;
  EXPECT_EQ(file.Read(&byte, 1), -1);
  EXPECT_EQ(fs().Write(&file, "y", 1), -1);
  EXPECT_EQ(fs().Read(SDK::kNoFile, &byte, 1), -1);
  EXPECT_EQ(fs().Write(SDK::kNoFile, "y", 1), -1);
  fs().Close(SDK::kNoFile);
  fs().Close(&file);
  EXPECT_FALSE(fs().FileExists("x.ini"));
  EXPECT_EQ(dir.read("CONVERSOR.INI"), "x");
}

}  // namespace
