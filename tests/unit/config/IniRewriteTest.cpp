// IniRewriteTest.cpp - CONVERSOR.INI is never left half-written: a process
// killed at any moment of a rewrite, a full disk or a disk with no free
// file leave the old file or the new one; a link is written through, never
// replaced by a file, and a link planted in the way is never followed.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <random>
#include <string>

#include "config/MasterController.h"
#include "support/TestSupport.h"

namespace {

bool storeTabs(const char* tabs) {
  MasterController& master = MasterController::getInstance();
  master.change([&](Configuration& c) { std::snprintf(c.tabStops, sizeof c.tabStops, "%s", tabs); });
  return master.salvarArquivoINI();
}

bool exists(const char* path) { return access(path, F_OK) == 0; }

std::string readHere(const char* name) {
  std::ifstream in(name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// A tmpfs of four pages and a few files at ./disk, made the current
// directory, seen by this process only; mounting needs root.
class SmallDisk {
 public:
  SmallDisk() {
    mounted = unshare(CLONE_NEWNS) == 0 && mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
              mkdir("disk", 0755) == 0 && mount("tmpfs", "disk", "tmpfs", 0, "size=16k,nr_inodes=16") == 0 &&
              chdir("disk") == 0;
  }
  ~SmallDisk() {
    if (mounted && chdir("..") == 0) umount2("disk", MNT_DETACH);
  }
  // Takes every free page, then every free file.
  static void fill(bool pages, bool files) {
    char page[4096] = {};
    for (int fd = open("filler", O_WRONLY | O_CREAT, 0644); pages && write(fd, page, sizeof page) > 0;) {
    }
    for (int i = 0, fd; files && (fd = open(std::to_string(i).c_str(), O_CREAT | O_EXCL, 0644)) >= 0; ++i) close(fd);
  }
  bool mounted = false;
};

TEST(IniRewrite, AFullDiskKeepsTheOldFile) {
  const std::string kOld = "[TQ587]\r\nPORTA = COM3\r\n";
  const struct {
    const char* name;
    const char* old;  // nullptr: no file
    bool noPage, noFile, saved;
  } kCases[] = {
      {"no free page", kOld.c_str(), true, false, false},
      {"no free page, no file yet", nullptr, true, false, false},
      {"no free page nor file, an empty file", "", true, true, false},
      {"no free file: rewritten in place", kOld.c_str(), false, true, true},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    ScratchDir dir;
    SmallDisk disk;
    if (!disk.mounted) GTEST_SKIP() << "cannot mount a tmpfs here (not root)";
    if (c.old != nullptr) dir.write("disk/CONVERSOR.INI", c.old);
    SmallDisk::fill(c.noPage, c.noFile);
    EXPECT_EQ(storeTabs("7,8"), c.saved);
    const std::string now = dir.read("disk/CONVERSOR.INI");
    EXPECT_TRUE(c.saved ? now.find("TABULACAO = \"7,8\"") != std::string::npos : now == (c.old ? c.old : ""))
        << now;
    EXPECT_EQ(exists("CONVERSOR.INI"), c.saved || c.old != nullptr);
    EXPECT_FALSE(exists("CONVERSOR.INI.novo"));
  }
}

TEST(IniRewrite, AProcessKilledMidRewriteLeavesOneWholeFile) {
  for (const bool fullDisk : {false, true}) {
    SCOPED_TRACE(fullDisk ? "on a full disk" : "in a plain folder");
    ScratchDir dir;
    std::unique_ptr<SmallDisk> disk(fullDisk ? new SmallDisk : nullptr);
    if (disk && !disk->mounted) GTEST_SKIP() << "cannot mount a tmpfs here (not root)";
    MasterController::getInstance().criarArquivoINI();
    storeTabs("1,2");
    const std::string first = readHere("CONVERSOR.INI");
    storeTabs("10,20,30,40,50,60");
    const std::string second = readHere("CONVERSOR.INI");
    if (fullDisk) SmallDisk::fill(true, false);

    std::mt19937 random(587);
    for (int round = 0; round < 300; ++round) {
      const pid_t child = fork();
      ASSERT_GE(child, 0);
      for (int i = 0; child == 0; ++i) storeTabs(i % 2 ? "1,2" : "10,20,30,40,50,60");
      usleep(std::uniform_int_distribution<useconds_t>(0, 3000)(random));
      kill(child, SIGKILL);
      waitpid(child, nullptr, 0);
      const std::string now = readHere("CONVERSOR.INI");
      ASSERT_TRUE(now == first || now == second) << "round " << round << ":\n" << now;
    }
  }
}

TEST(IniRewrite, ALinkIsWrittenThroughAndStays) {
  ScratchDir dir;
  dir.write("shared.ini", "[TQ587]\r\n");
  ASSERT_EQ(symlink("shared.ini", "CONVERSOR.INI"), 0);
  storeTabs("7,8");
  struct stat st;
  EXPECT_TRUE(lstat("CONVERSOR.INI", &st) == 0 && S_ISLNK(st.st_mode));
  EXPECT_NE(dir.read("shared.ini").find("   TABULACAO = \"7,8\"\r\n"), std::string::npos);
}

TEST(IniRewrite, ALinkPlantedAsTheNewFileIsNeverFollowed) {
  ScratchDir dir;
  dir.write("CONVERSOR.INI", "[TQ587]\r\n");
  dir.write("victim", "keep");
  ASSERT_EQ(symlink("victim", "CONVERSOR.INI.novo"), 0);
  EXPECT_TRUE(storeTabs("7,8"));
  EXPECT_EQ(dir.read("victim"), "keep");
  struct stat st;
  EXPECT_TRUE(lstat("CONVERSOR.INI", &st) == 0 && S_ISREG(st.st_mode));
  EXPECT_FALSE(exists("CONVERSOR.INI.novo"));
}

}  // namespace
