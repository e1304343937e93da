// FileSystemTest.cpp - the answers CONVERSOR.INI's reading and rewriting
// rely on, on real files in a scratch directory: what cannot be opened
// leaves the file closed (the defaults then hold), a directory is neither
// opened nor created, and a link is told from a file (a link is written in
// place, never replaced).
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "sdk/File.h"
#include "support/TestSupport.h"

namespace {

TEST(FileSystem, OpensCreatesAndTellsLinksAsTheConfigurationNeeds) {
  ScratchDir dir;
  dir.write("plain.ini", "x");
  ASSERT_EQ(mkdir("folder.ini", 0755), 0);
  ASSERT_EQ(symlink("elsewhere.ini", "link.ini"), 0);
  struct Case {
    const char* path;
    bool opens, creates, isLink;
  };
  const Case kCases[] = {
      {"plain.ini", true, true, false},
      {"missing.ini", false, true, false},
      {"folder.ini", false, false, false},
      {"link.ini", false, true, true},  // dangling: created where it points
  };
  SDK::FILE_SYSTEM& fs = SDK::defaultFileSystem();
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.path);
    SDK::FILE file;
    for (int mode : {0x20, 0x02}) {  // read sharing read; read and write
      EXPECT_EQ(fs.Open(c.path, mode, &file), c.opens ? &file : SDK::kNoFile);
      EXPECT_EQ(file.IsClosed(), !c.opens);
      fs.Close(&file);
    }
    EXPECT_EQ(fs.IsLink(c.path), c.isLink);
    EXPECT_EQ(fs.Create(c.path, &file), c.creates ? &file : SDK::kNoFile);
    EXPECT_EQ(file.IsClosed(), !c.creates);
  }
  struct stat made;
  EXPECT_EQ(stat("elsewhere.ini", &made), 0);
  EXPECT_TRUE(fs.IsLink("link.ini"));  // the link stays
}

}  // namespace
