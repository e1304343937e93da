// LogTest.cpp - what the case tables cannot see of log(): the console
// streams and their line format, a missing log folder, and where the folder
// is looked for. The switches, file names and file lines are log.cases'.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "log/Log.h"
#include "support/TestSupport.h"

namespace {

// Thursday 2024-01-04 12:00:00 UTC, the port's log on; log files land in the
// scratch tree, never in the system.
TEST(Log, DebugGoesToStandardErrorOnlyTheOthersToStandardOutputAndTheFile) {
  ScratchDir scratch;
  TestClock clock(1704369600);
  setenv("TZ", "UTC0", 1);
  tzset();
  tq587::setLogSettings({0, 'S', 1});
  mkdir("dosdevices", 0755);
  mkdir("dosdevices/c:", 0755);
  const std::string file = "dosdevices/c:/KORVA/LogTQ587-COM1-Quinta.log";
  struct Case {
    const char* name;
    int level;
    std::string out, err, file;  // the file: all of it, so far
  };
  const Case kCases[] = {
      {"no folder: said, and never made", LOG_INFO, "[INFO]\t2024-01-04 12:00:00 Classe::metodo: 42\t**mensagem\n",
       "Erro ao escrever no arquivo: " + file + "\n", ""},
      {"debug", LOG_DEBUG, "", "[DEBUG]\t2024-01-04 12:00:00 Classe::metodo: 42\t**mensagem\n", ""},
      {"info", LOG_INFO, "[INFO]\t2024-01-04 12:00:00 Classe::metodo: 42\t**mensagem\n", "",
       "[INFO]\t2024-01-04 12:00:00: mensagem\n"},
      {"error: appended", LOG_ERROR, "[ERROR]\t2024-01-04 12:00:00 Classe::metodo: 42\t**mensagem\n", "",
       "[INFO]\t2024-01-04 12:00:00: mensagem\n[ERROR]\t2024-01-04 12:00:00: mensagem\n"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    tq587::log("mensagem", c.level, "Classe::metodo", 42);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), c.err);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), c.out);
    EXPECT_EQ(scratch.read(file), c.file);
    mkdir("dosdevices/c:/KORVA", 0755);  // from the second row on
  }
  tq587::setLogSettings({0, 0, 0});
}

// C: is dosdevices/c: when it is a folder or a link to one, else the system's.
TEST(Log, KorvaFolder) {
  ScratchDir scratch;
  mkdir("dosdevices", 0755);
  mkdir("dosdevices/c:", 0755);
  EXPECT_EQ("dosdevices/c:/KORVA/", tq587::logDirectory());
  rmdir("dosdevices/c:");
  EXPECT_EQ("/var/log/KORVA/", tq587::logDirectory());
  scratch.write("dosdevices/c:", "not a folder");
  EXPECT_EQ("/var/log/KORVA/", tq587::logDirectory());
  unlink("dosdevices/c:");
  mkdir("drive_c", 0755);
  ASSERT_EQ(0, symlink("../drive_c", "dosdevices/c:"));
  EXPECT_EQ("dosdevices/c:/KORVA/", tq587::logDirectory());
}

}  // namespace
