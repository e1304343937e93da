// LogTest.cpp - the gate, the file names, the line formats and the console
// streams of log(), with a fixed clock and a scratch dosdevices/c:/KORVA tree.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <string>

#include "support/TestSupport.h"
#include "log/Log.h"

namespace {

// Thursday 2024-01-04 12:00:00 UTC.
constexpr std::time_t kThursdayNoon = 1704369600;
// Friday 2024-01-05 01:30:00 UTC: still Thursday evening three hours west.
constexpr std::time_t kFridayEarlyUtc = 1704418200;
constexpr std::time_t kDay = 86400;


// What one log() call prints on standard output and standard error.
struct Printed {
  std::string out, err;
};
Printed logPrinted(const std::string& message, int level, const char* where, int line) {
  ::testing::internal::CaptureStdout();
  ::testing::internal::CaptureStderr();
  log(message, level, where, line);
  Printed printed;
  printed.err = ::testing::internal::GetCapturedStderr();
  printed.out = ::testing::internal::GetCapturedStdout();
  return printed;
}

class LogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setLogSettings({0, 0, 1});
    if (const char* tz = std::getenv("TZ")) savedTz_ = tz;
    setTimeZone("UTC0");
  }
  void TearDown() override {
    setLogSettings({0, 0, 0});
    savedTz_.empty() ? unsetenv("TZ") : setenv("TZ", savedTz_.c_str(), 1);
    tzset();
  }
  static void setTimeZone(const char* tz) {
    setenv("TZ", tz, 1);
    tzset();
  }
  // The switches as the configuration hands them over, port 1.
  static void switches(char logDiario, char log) { setLogSettings({logDiario, log, 1}); }
  // Log files of the tests land in the scratch tree, never in the system.
  static void makeKorva(bool korva = true) {
    mkdir("dosdevices", 0755);
    mkdir("dosdevices/c:", 0755);
    if (korva) mkdir("dosdevices/c:/KORVA", 0755);
  }
  TestClock clock_{kThursdayNoon};
  std::string korva(const std::string& name) const {
    return scratch_.read("dosdevices/c:/KORVA/" + name);
  }

  ScratchDir scratch_;
  std::string savedTz_;
};

// The listener hears every call, even when the gate is shut.
TEST_F(LogTest, GateFollowsBothSettings) {
  struct Case {
    const char* name;
    char logDiario;
    char log;
    bool written;
  };
  const Case kCases[] = {
      {"daily on", 'S', 0, true},
      {"daily on lower case", 's', ' ', true},
      {"port on, daily absent", 0, 'S', true},
      {"port on, daily off", 'N', 'S', false},
      {"daily on, port off", 'S', '0', false},
      {"both empty (before any read)", 0, 0, false},
      {"unknown letter, other on", 'X', '1', true},
      {"unknown letters only", 'X', 'Y', false},
  };
  makeKorva();
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    switches(c.logDiario, c.log);
    LogCapture heard;
    EXPECT_EQ(c.written, !logPrinted("linha", LOG_WARN, "Teste::gate", 1).out.empty());
    ASSERT_EQ(1u, heard.lines().size());
    EXPECT_TRUE(heard.has("linha", LOG_WARN));
    EXPECT_EQ("Teste::gate", heard.lines()[0].where);
  }
}

TEST_F(LogTest, FileNames) {
  struct Case {
    const char* name;
    char logDiario;
    char log;
    int port;
    std::time_t now;
    std::string file;
  };
  const Case kCases[] = {
      {"daily", 'S', 0, 1, kThursdayNoon, "LogTQ587-Espiao,2024-01-04.txt"},
      {"port wins over daily", 'S', 'S', 4, kThursdayNoon, "LogTQ587-COM4-Quinta.log"},
      {"Saturday", 0, '1', 1, kThursdayNoon + 2 * kDay, "LogTQ587-COM1-S\xE1" "bado.log"},
      {"Sunday", 0, '1', 1, kThursdayNoon + 3 * kDay, "LogTQ587-COM1-Domingo.log"},
      {"Tuesday", 0, '1', 12, kThursdayNoon + 5 * kDay, "LogTQ587-COM12-Ter\xE7" "a.log"},
      {"neither on", 0, 0, 1, kThursdayNoon, ""},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.file, logFileName({c.logDiario, c.log, c.port}, c.now));
  }
}

TEST_F(LogTest, NearMidnightTheWeekdayIsUtcAndTheTimestampLocal) {
  setTimeZone("<-03>3");
  makeKorva();
  clock_.set(kFridayEarlyUtc);
  switches(0, 'S');
  log("virada", LOG_INFO, "Teste::meiaNoite", 3);
  EXPECT_EQ("[INFO]\t2024-01-04 22:30:00: virada\n", korva("LogTQ587-COM1-Sexta.log"));

  switches('S', 0);
  log("diario", LOG_INFO, "Teste::meiaNoite", 4);
  EXPECT_EQ("[INFO]\t2024-01-04 22:30:00: diario\n", korva("LogTQ587-Espiao,2024-01-04.txt"));
}

TEST_F(LogTest, LevelsStreamsAndLineFormats) {
  struct Case {
    const char* name;
    int level;
    std::string out;
    std::string err;
    std::string file;
  };
  const Case kCases[] = {
      {"debug only on standard error", LOG_DEBUG, "",
       "[DEBUG]\t2024-01-04 12:00:00 Classe::metodo: 42\t**mensagem\n", ""},
      {"info on standard output and in the file", LOG_INFO,
       "[INFO]\t2024-01-04 12:00:00 Classe::metodo: 42\t**mensagem\n", "",
       "[INFO]\t2024-01-04 12:00:00: mensagem\n"},
      {"warn", LOG_WARN, "[WARN]\t2024-01-04 12:00:00 Classe::metodo: 42\t**mensagem\n", "",
       "[WARN]\t2024-01-04 12:00:00: mensagem\n"},
      {"error", LOG_ERROR, "[ERROR]\t2024-01-04 12:00:00 Classe::metodo: 42\t**mensagem\n", "",
       "[ERROR]\t2024-01-04 12:00:00: mensagem\n"},
      {"unknown level prints no text", 7, "[]\t2024-01-04 12:00:00 Classe::metodo: 42\t**mensagem\n",
       "", "[]\t2024-01-04 12:00:00: mensagem\n"},
  };
  makeKorva();
  switches(0, 'S');
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    const std::string before = korva("LogTQ587-COM1-Quinta.log");
    const Printed printed = logPrinted("mensagem", c.level, "Classe::metodo", 42);
    EXPECT_EQ(c.out, printed.out);
    EXPECT_EQ(c.err, printed.err);
    // the file is appended to, never rewritten
    EXPECT_EQ(before + c.file, korva("LogTQ587-COM1-Quinta.log"));
  }
}

TEST_F(LogTest, MissingDirectoryIsReportedAndNeverCreated) {
  makeKorva(false);
  switches(0, 'S');
  const Printed printed = logPrinted("sem pasta", LOG_INFO, "Teste::pasta", 9);
  EXPECT_EQ("Erro ao escrever no arquivo: dosdevices/c:/KORVA/LogTQ587-COM1-Quinta.log\n",
            printed.err);
  EXPECT_EQ("[INFO]\t2024-01-04 12:00:00 Teste::pasta: 9\t**sem pasta\n", printed.out);
  struct stat st;
  EXPECT_NE(0, stat("dosdevices/c:/KORVA", &st));
}

TEST_F(LogTest, KorvaDirectory) {
  EXPECT_EQ("/var/log/KORVA/", logDirectory());
  mkdir("dosdevices", 0755);
  scratch_.write("dosdevices/c:", "not a directory");
  EXPECT_EQ("/var/log/KORVA/", logDirectory());
  unlink("dosdevices/c:");
  mkdir("drive_c", 0755);
  ASSERT_EQ(0, symlink("../drive_c", "dosdevices/c:"));
  EXPECT_EQ("dosdevices/c:/KORVA/", logDirectory());
  unlink("dosdevices/c:");
  mkdir("dosdevices/c:", 0755);
  EXPECT_EQ("dosdevices/c:/KORVA/", logDirectory());
}

}  // namespace
