// LogTest.cpp - what the golden scripts cannot see of log(): the console
// streams and their line format, a missing log folder, and where the folder
// is looked for. The switches, file names and file lines are in log.golden.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <string>

#include "support/TestSupport.h"
#include "log/Log.h"

namespace {

// What one log() call prints on standard output and standard error.
struct Printed {
  std::string out, err;
};
Printed logPrinted(const char* message, int level, const char* where, int line) {
  ::testing::internal::CaptureStdout();
  ::testing::internal::CaptureStderr();
  log(message, level, where, line);
  Printed printed;
  printed.err = ::testing::internal::GetCapturedStderr();
  printed.out = ::testing::internal::GetCapturedStdout();
  return printed;
}

// Thursday 2024-01-04 12:00:00 UTC, the port's log on; log files land in the
// scratch tree, never in the system.
class LogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("TZ", "UTC0", 1);
    tzset();
    setLogSettings({0, 'S', 1});
    mkdir("dosdevices", 0755);
    mkdir("dosdevices/c:", 0755);
  }
  void TearDown() override { setLogSettings({0, 0, 0}); }

  ScratchDir scratch_;
  TestClock clock_{1704369600};
};

TEST_F(LogTest, DebugGoesToStandardErrorOnlyTheOthersToStandardOutputAndTheFile) {
  struct Case {
    int level;
    std::string out, err, file;
  };
  const Case kCases[] = {
      {LOG_DEBUG, "", "[DEBUG]\t2024-01-04 12:00:00 Classe::metodo: 42\t**mensagem\n", ""},
      {LOG_INFO, "[INFO]\t2024-01-04 12:00:00 Classe::metodo: 42\t**mensagem\n", "",
       "[INFO]\t2024-01-04 12:00:00: mensagem\n"},
      {LOG_WARN, "[WARN]\t2024-01-04 12:00:00 Classe::metodo: 42\t**mensagem\n", "",
       "[WARN]\t2024-01-04 12:00:00: mensagem\n"},
      {LOG_ERROR, "[ERROR]\t2024-01-04 12:00:00 Classe::metodo: 42\t**mensagem\n", "",
       "[ERROR]\t2024-01-04 12:00:00: mensagem\n"},
  };
  mkdir("dosdevices/c:/KORVA", 0755);
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.level);
    const std::string before = scratch_.read("dosdevices/c:/KORVA/LogTQ587-COM1-Quinta.log");
    const Printed printed = logPrinted("mensagem", c.level, "Classe::metodo", 42);
    EXPECT_EQ(c.out, printed.out);
    EXPECT_EQ(c.err, printed.err);
    // the file is appended to, never rewritten
    EXPECT_EQ(before + c.file, scratch_.read("dosdevices/c:/KORVA/LogTQ587-COM1-Quinta.log"));
  }
}

TEST_F(LogTest, MissingFolderIsReportedAndNeverCreated) {
  const Printed printed = logPrinted("sem pasta", LOG_INFO, "Teste::pasta", 9);
  EXPECT_EQ("Erro ao escrever no arquivo: dosdevices/c:/KORVA/LogTQ587-COM1-Quinta.log\n",
            printed.err);
  EXPECT_EQ("[INFO]\t2024-01-04 12:00:00 Teste::pasta: 9\t**sem pasta\n", printed.out);
  struct stat st;
  EXPECT_NE(0, stat("dosdevices/c:/KORVA", &st));
}

// C: is dosdevices/c: when it is a folder or a link to one, else the system's.
TEST_F(LogTest, KorvaFolder) {
  EXPECT_EQ("dosdevices/c:/KORVA/", logDirectory());
  rmdir("dosdevices/c:");
  EXPECT_EQ("/var/log/KORVA/", logDirectory());
  scratch_.write("dosdevices/c:", "not a folder");
  EXPECT_EQ("/var/log/KORVA/", logDirectory());
  unlink("dosdevices/c:");
  mkdir("drive_c", 0755);
  ASSERT_EQ(0, symlink("../drive_c", "dosdevices/c:"));
  EXPECT_EQ("dosdevices/c:/KORVA/", logDirectory());
}

}  // namespace
