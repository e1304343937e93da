// LogTest.cpp - the gate, the file names, the line formats and the console
// streams of log(), with a fixed clock and a scratch dosdevices/c:/KORVA tree.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

#include "support/TestSupport.h"
#include "config/MasterController.h"
#include "log/Log.h"

namespace {

// Thursday 2024-01-04 12:00:00 UTC.
constexpr std::time_t kThursdayNoon = 1704369600;
// Friday 2024-01-05 01:30:00 UTC: still Thursday evening three hours west.
constexpr std::time_t kFridayEarlyUtc = 1704418200;
constexpr std::time_t kDay = 86400;

std::time_t gNow = kThursdayNoon;
std::time_t fixedNow() { return gNow; }

// Sets the time zone for one test and puts the old one back.
class TimeZone {
 public:
  explicit TimeZone(const char* tz) {
    if (const char* old = std::getenv("TZ")) {
      had_ = true;
      old_ = old;
    }
    setenv("TZ", tz, 1);
    tzset();
  }
  ~TimeZone() {
    if (had_) {
      setenv("TZ", old_.c_str(), 1);
    } else {
      unsetenv("TZ");
    }
    tzset();
  }

 private:
  bool had_ = false;
  std::string old_;
};

// Catches what one console stream receives while it lives.
class StreamCapture {
 public:
  StreamCapture(std::FILE* stream, int fd) : stream_(stream), fd_(fd) {
    std::fflush(stream_);
    file_ = std::tmpfile();
    saved_ = dup(fd_);
    dup2(fileno(file_), fd_);
  }
  ~StreamCapture() { finish(); }
  std::string text() {
    finish();
    std::string all;
    std::rewind(file_);
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, file_)) > 0) all.append(buf, n);
    return all;
  }

 private:
  void finish() {
    if (saved_ < 0) return;
    std::fflush(stream_);
    dup2(saved_, fd_);
    close(saved_);
    saved_ = -1;
  }
  std::FILE* stream_;
  int fd_;
  std::FILE* file_ = nullptr;
  int saved_ = -1;
};

class LogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = config();
    config() = Configuracao{};
    config().port = 1;
    gNow = kThursdayNoon;
    setLogClock(fixedNow);
  }
  void TearDown() override {
    setLogClock(nullptr);
    config() = saved_;
  }
  static Configuracao& config() { return MasterController::getInstance().config(); }
  void makeKorva() const {
    mkdir("dosdevices", 0755);
    mkdir("dosdevices/c:", 0755);
    mkdir("dosdevices/c:/KORVA", 0755);
  }
  std::string korva(const std::string& name) const {
    return scratch_.read("dosdevices/c:/KORVA/" + name);
  }
  bool exists(const std::string& name) const {
    struct stat st;
    return stat(("dosdevices/c:/KORVA/" + name).c_str(), &st) == 0;
  }

  ScratchDir scratch_;
  TimeZone tz_{"UTC0"};
  Configuracao saved_{};
};

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
      {"both on", 'S', '1', true},
      {"port on, daily off", 'N', 'S', false},
      {"daily on, port off", 'S', '0', false},
      {"both empty (before any read)", 0, 0, false},
      {"both spaces (defaults)", ' ', ' ', false},
      {"unknown letter, other on", 'X', '1', true},
      {"unknown letters only", 'X', 'Y', false},
  };
  makeKorva();
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    config().logDiario = c.logDiario;
    config().log = c.log;
    std::string out;
    {
      StreamCapture capture(stdout, STDOUT_FILENO);
      log("linha", LOG_INFO, "Teste::gate", 1);
      out = capture.text();
    }
    EXPECT_EQ(c.written, !out.empty());
  }
}

TEST_F(LogTest, ListenerHearsEveryCallEvenWhenTheGateIsShut) {
  LogCapture capture;
  config().logDiario = 'N';
  log("silenciosa", LOG_ERROR, "Teste::ouvinte", 7);
  ASSERT_EQ(1u, capture.lines().size());
  EXPECT_EQ(LOG_ERROR, capture.lines()[0].level);
  EXPECT_EQ("Teste::ouvinte", capture.lines()[0].where);
  EXPECT_EQ("silenciosa", capture.lines()[0].message);
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
      {"port, Thursday", 0, 'S', 1, kThursdayNoon, "LogTQ587-COM1-Quinta.log"},
      {"port wins over daily", 'S', 'S', 4, kThursdayNoon, "LogTQ587-COM4-Quinta.log"},
      {"Friday", 0, '1', 1, kThursdayNoon + 1 * kDay, "LogTQ587-COM1-Sexta.log"},
      {"Saturday", 0, '1', 1, kThursdayNoon + 2 * kDay, "LogTQ587-COM1-S\xE1" "bado.log"},
      {"Sunday", 0, '1', 1, kThursdayNoon + 3 * kDay, "LogTQ587-COM1-Domingo.log"},
      {"Tuesday", 0, '1', 12, kThursdayNoon + 5 * kDay, "LogTQ587-COM12-Ter\xE7" "a.log"},
      {"Wednesday", 0, '1', 1, kThursdayNoon + 6 * kDay, "LogTQ587-COM1-Quarta.log"},
      {"daily, next year", '1', 0, 1, kThursdayNoon + 365 * kDay, "LogTQ587-Espiao,2025-01-03.txt"},
      {"neither on", 0, 0, 1, kThursdayNoon, ""},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    Configuracao settings{};
    settings.logDiario = c.logDiario;
    settings.log = c.log;
    settings.port = c.port;
    EXPECT_EQ(c.file, logFileName(settings, c.now));
  }
}

TEST_F(LogTest, NearMidnightTheWeekdayIsUtcAndTheTimestampLocal) {
  TimeZone west("<-03>3");
  makeKorva();
  gNow = kFridayEarlyUtc;
  config().log = 'S';
  log("virada", LOG_INFO, "Teste::meiaNoite", 3);
  EXPECT_EQ("[INFO]\t2024-01-04 22:30:00: virada\n", korva("LogTQ587-COM1-Sexta.log"));

  config().log = 0;
  config().logDiario = 'S';
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
  config().log = 'S';
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    unlink("dosdevices/c:/KORVA/LogTQ587-COM1-Quinta.log");
    std::string out, err;
    {
      StreamCapture captureOut(stdout, STDOUT_FILENO);
      StreamCapture captureErr(stderr, STDERR_FILENO);
      log("mensagem", c.level, "Classe::metodo", 42);
      out = captureOut.text();
      err = captureErr.text();
    }
    EXPECT_EQ(c.out, out);
    EXPECT_EQ(c.err, err);
    EXPECT_EQ(c.file, korva("LogTQ587-COM1-Quinta.log"));
  }
}

TEST_F(LogTest, BothOnOnlyThePortFileReceivesTheLine) {
  makeKorva();
  config().logDiario = 'S';
  config().log = 'S';
  log("as duas", LOG_INFO, "Teste::ambos", 1);
  EXPECT_EQ("[INFO]\t2024-01-04 12:00:00: as duas\n", korva("LogTQ587-COM1-Quinta.log"));
  EXPECT_FALSE(exists("LogTQ587-Espiao,2024-01-04.txt"));
}

TEST_F(LogTest, TheWeekdayFileIsAppendedToAWeekLater) {
  makeKorva();
  config().log = 'S';
  log("primeira", LOG_INFO, "Teste::semana", 1);
  gNow = kThursdayNoon + 7 * kDay;
  log("segunda", LOG_INFO, "Teste::semana", 2);
  EXPECT_EQ("[INFO]\t2024-01-04 12:00:00: primeira\n[INFO]\t2024-01-11 12:00:00: segunda\n",
            korva("LogTQ587-COM1-Quinta.log"));
}

TEST_F(LogTest, MissingDirectoryIsReportedAndNeverCreated) {
  mkdir("dosdevices", 0755);
  mkdir("dosdevices/c:", 0755);
  config().log = 'S';
  std::string out, err;
  {
    StreamCapture captureOut(stdout, STDOUT_FILENO);
    StreamCapture captureErr(stderr, STDERR_FILENO);
    log("sem pasta", LOG_INFO, "Teste::pasta", 9);
    out = captureOut.text();
    err = captureErr.text();
  }
  EXPECT_EQ("Erro ao escrever no arquivo: dosdevices/c:/KORVA/LogTQ587-COM1-Quinta.log\n", err);
  EXPECT_EQ("[INFO]\t2024-01-04 12:00:00 Teste::pasta: 9\t**sem pasta\n", out);
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
