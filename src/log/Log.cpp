// Log.cpp - the gate, the file name and the two line formats of log().
#include "log/Log.h"

#include <cstdio>

#include "common/Clock.h"

namespace tq587 {
namespace {

LogListener gListener = nullptr;
LogSettings gSettings{};

const char* const kLevelTexts[] = {"", "DEBUG", "INFO", "WARN", "ERROR"};
// Sunday first, as struct tm counts them.
const char* const kWeekdays[] = {"Domingo", "Segunda", "Ter\xE7" "a", "Quarta",
                                 "Quinta",  "Sexta",   "S\xE1" "bado"};

bool settingOn(char c) { return c == 's' || c == 'S' || c == '1'; }
bool settingOff(char c) { return c == 'n' || c == 'N' || c == '0'; }

const char* levelText(int level) {
  return level >= LOG_DEBUG && level <= LOG_ERROR ? kLevelTexts[level] : kLevelTexts[0];
}

}  // namespace

void setLogListener(LogListener listener) { gListener = listener; }
void setLogSettings(const LogSettings& settings) { gSettings = settings; }

std::string logFileName(const LogSettings& settings, std::time_t moment) {
  char name[64] = {0};
  if (settingOn(settings.log)) {
    std::tm utc{};
    utcCalendar(moment, &utc);
    const int weekday = utc.tm_wday >= 0 && utc.tm_wday < 7 ? utc.tm_wday : 0;
    std::snprintf(name, sizeof name, "%s-COM%d-%s.log", "LogTQ587", settings.port,
                  kWeekdays[weekday]);
  } else if (settingOn(settings.dailyLog)) {
    std::tm local{};
    localCalendar(moment, &local);
    std::snprintf(name, sizeof name, "%s-Espiao,%04d-%02d-%02d.%s", "LogTQ587",
                  local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, "txt");
  }
  return name;
}

void log(const char* message, int level, const char* where, int line) {
  if (gListener) gListener(level, where, message);

  const LogSettings& settings = gSettings;
  if (settingOff(settings.dailyLog) || settingOff(settings.log)) return;
  if (!settingOn(settings.dailyLog) && !settingOn(settings.log)) return;

  const std::time_t moment = tq587::clock().now();
  const std::string path = logDirectory() + logFileName(settings, moment);

  std::tm local{};
  localCalendar(moment, &local);
  char stamp[64];
  std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02d %02d:%02d:%02d", local.tm_year + 1900,
                local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);

  std::FILE* file = log_platform::openForAppending(path.c_str());
  if (!file) std::fprintf(stderr, "Erro ao escrever no arquivo: %s\n", path.c_str());

  const char* text = levelText(level);
  const char* caller = where ? where : "";
  if (level == LOG_DEBUG) {
    std::fprintf(stderr, "[%s]\t%s %s: %d\t**%s\n", text, stamp, caller, line, message);
  } else {
    std::fprintf(stdout, "[%s]\t%s %s: %d\t**%s\n", text, stamp, caller, line, message);
    if (file) std::fprintf(file, "[%s]\t%s: %s\n", text, stamp, message);
  }
  if (file) std::fclose(file);
}

}  // namespace tq587
