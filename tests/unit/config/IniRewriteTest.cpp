// IniRewriteTest.cpp - CONVERSOR.INI is never left half-written: a process
// killed at any moment of a rewrite leaves the old file or the new one; and
// a link is written through, never replaced by a file.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <random>
#include <string>

#include "config/MasterController.h"
#include "support/TestSupport.h"

namespace {

void storeTabs(const char* tabs) {
  MasterController& master = MasterController::getInstance();
  master.alterar([&](Configuracao& c) { std::snprintf(c.tabulacao, sizeof c.tabulacao, "%s", tabs); });
  master.salvarArquivoINI();
}

TEST(IniRewrite, AProcessKilledMidRewriteLeavesOneWholeFile) {
  ScratchDir dir;
  MasterController::getInstance().criarArquivoINI();
  storeTabs("1,2");
  const std::string first = dir.read("CONVERSOR.INI");
  storeTabs("10,20,30,40,50,60");
  const std::string second = dir.read("CONVERSOR.INI");

  std::mt19937 random(587);
  for (int round = 0; round < 300; ++round) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    for (int i = 0; child == 0; ++i) storeTabs(i % 2 ? "1,2" : "10,20,30,40,50,60");
    usleep(std::uniform_int_distribution<useconds_t>(0, 3000)(random));
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    const std::string now = dir.read("CONVERSOR.INI");
    ASSERT_TRUE(now == first || now == second) << "round " << round << ":\n" << now;
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

}  // namespace
