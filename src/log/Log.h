// Log.h - the library's one log operation.
//
// A line goes to the console (DEBUG to standard error, the rest to standard
// output) and, when LOGDIARIO or LOG is on in CONVERSOR.INI, to a file in the
// KORVA directory. Messages are Latin-1 bytes, written as they are.
#pragma once

#include <ctime>
#include <string>

#include "log/LogPlatform.h"

constexpr int LOG_DEBUG = 1;
constexpr int LOG_INFO = 2;
constexpr int LOG_WARN = 3;
constexpr int LOG_ERROR = 4;

namespace tq587 {

// message: the text; level: LOG_DEBUG..LOG_ERROR (any other value prints an
// empty level); where: "Class::method" of the caller; line: its source line.
// Never fails towards the caller.
void log(const char* message, int level, const char* where, int line);
inline void log(const std::string& message, int level, const char* where, int line) {
  log(message.c_str(), level, where, line);
}

// Test seam: when set, every call of log() is also handed to the listener,
// before the gate of the configuration, so that tests can see each line.
using LogListener = void (*)(int level, const char* where, const std::string& message);
void setLogListener(LogListener listener);

// What the log follows of CONVERSOR.INI: LOGDIARIO and LOG (S, s or 1 on;
// N, n or 0 off) and the port number. The configuration hands them over
// whenever it reads or changes them; before that the log is silent.
struct LogSettings {
  char dailyLog;
  char log;
  int port;
};
void setLogSettings(const LogSettings& settings);

// The name of the log file for the settings and the moment given: the daily
// file "LogTQ587-Espiao,YYYY-MM-DD.txt" (local date) or, when LOG is on, the
// port file "LogTQ587-COM<port>-<weekday>.log" (UTC weekday). Empty when
// neither setting is on.
std::string logFileName(const LogSettings& settings, std::time_t now);

// The directory c:\KORVA\ on this platform, with its trailing separator.
inline std::string logDirectory() { return log_platform::directory(); }

}  // namespace tq587
