// IniFormat.cpp - normalising, understanding and writing CONVERSOR.INI lines.
#include "config/IniFormat.h"

#include <climits>
#include <cstdio>
#include <cstring>
#include <initializer_list>

namespace ini {
namespace {

// Compared in this order; the first one that starts the line wins, so
// LOGDIARIO comes before LOG.
enum Keyword {
  kSectionPrinter,
  kPort,
  kSpeed,
  kFlowControl,
  kAutoCodePage,
  kAutoEnter,
  kInvertedDrawer,
  kTabStops,
  kMethod,
  kQrSize,
  kSectionSystem,
  kDirectory,
  kDailyLog,
  kLog,
  kKeywordCount
};
const char* const kKeywords[kKeywordCount] = {
    "[TQ587]",          "PORTA",     "VELOCIDADE",            "CONTROLE_DE_FLUXO",
    "CODEPAGE_AUTOMATICO", "ENTERAUTOMATICO", "GAVETA_INVERTIDA", "TABULACAO",
    "METODO_DE_COMUNICACAO", "TAMANHO_QRCODE", "[SISTEMA]", "DIRETORIO",
    "LOGDIARIO",        "LOG",
};

// The first four mean no handshake; the others, DTR/DSR.
const char* const kFlowNames[] = {"NENHUM", "DESABILITADO", "N\xC3O",      "NAO",
                                  "DTR/DSR", "DTR",          "DSR",        "SIM",
                                  "HABILITADO", "CTS",       "HARDWARE"};
constexpr int kFlowNoneEntries = 4;
// How each is written: the first entry for none, this one for DTR/DSR.
constexpr int kFlowDtrDsrEntry = 4;

bool startsWith(const char* text, const char* prefix) {
  return std::strncmp(text, prefix, std::strlen(prefix)) == 0;
}

bool isDigit(unsigned char c) { return c >= '0' && c <= '9'; }
// Bytes above 0x80 count as letters.
bool isLetterOrDigit(unsigned char c) {
  return isDigit(c) || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c > 0x80;
}
char upper(unsigned char c) { return static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c); }

// Index of the first name that starts value, or -1.
template <int N>
int firstPrefix(const char* value, const char* const (&names)[N]) {
  for (int i = 0; i < N; ++i) {
    if (startsWith(value, names[i])) return i;
  }
  return -1;
}

int findKeyword(const char* line) { return firstPrefix(line, kKeywords); }

int parsePort(const char* value) {
  if (startsWith(value, "COM")) value += 3;
  if (*value == ' ') ++value;
  int port = 0;
  for (; isDigit(static_cast<unsigned char>(*value)); ++value) {
    const int digit = *value - '0';
    port = port > (INT_MAX - digit) / 10 ? INT_MAX : port * 10 + digit;
  }
  return port;
}

// The first speed whose name, plain or with thousands dots, starts the value.
int parseSpeed(const char* value) {
  for (const auto spelling : {&Speed::name, &Speed::dottedName}) {
    for (int i = 0; i <= kLastSpeed; ++i) {
      if (startsWith(value, kSpeeds[i].*spelling)) return i;
    }
  }
  return kSpeedDetect;
}

FlowControl parseFlowControl(const char* value) {
  const int index = firstPrefix(value, kFlowNames);
  return index >= 0 && index < kFlowNoneEntries ? FlowControl::None : FlowControl::DtrDsr;
}

char parseZeroOne(const char* value) { return value[0] == '0' || value[0] == '1' ? value[0] : '1'; }

// Digits up to a '(' or the end, within the sizes a file may give; anything
// else gives the default.
int parseQrSize(const char* value) {
  if (!*value) return kDefaultQrModuleSize;
  int size = 0;
  for (; *value && *value != '('; ++value) {
    if (!isDigit(static_cast<unsigned char>(*value))) return kDefaultQrModuleSize;
    size = size > kMaxQrModuleSize ? size : size * 10 + (*value - '0');
  }
  return size < kMinQrModuleSize || size > kMaxQrModuleSize ? kDefaultQrModuleSize : size;
}

// The text after a leading double quote up to the next one, the end or
// size - 1 bytes; empty when the value is not quoted or is "".
void parseQuoted(const char* value, char* out, int size) {
  int n = 0;
  if (value[0] == '"' && value[1] != '"') {
    for (const char* p = value + 1; *p && *p != '"' && n < size - 1; ++p) out[n++] = *p;
  }
  out[n] = '\0';
}

Section sectionOf(int keyword) {
  if (keyword > kSectionPrinter && keyword < kSectionSystem) return Section::Printer;
  if (keyword > kSectionSystem) return Section::System;
  return Section::None;
}

char orSpace(char c) { return c ? c : ' '; }

int boundedLength(const char* text, int size) {
  int n = 0;
  while (n < size - 1 && text[n]) ++n;
  return n;
}

// Appends to text, never past kMaxText bytes.
class Writer {
 public:
  explicit Writer(char* text) : text_(text) { text_[0] = '\0'; }
  template <typename... Args>
  void add(const char* format, Args... args) {
    if (length_ >= kMaxText) return;
    const int room = kMaxText + 1 - length_;
    const int n = std::snprintf(text_ + length_, room, format, args...);
    if (n > 0) length_ += n < room ? n : room - 1;
  }
  int length() const { return length_; }

 private:
  char* text_;
  int length_ = 0;
};

}  // namespace

int normaliseLine(char* line, int length) {
  bool inQuotes = false;
  int out = 0;
  for (int i = 0; i < length; ++i) {
    const unsigned char c = static_cast<unsigned char>(line[i]);
    if (inQuotes && c == '\\' && i + 1 < length &&
        (line[i + 1] == '\\' || (line[i + 1] == '"' && i + 1 == length - 1))) {
      line[out++] = line[++i];
      continue;
    }
    if (c == '"') {
      inQuotes = !inQuotes;
      line[out++] = '"';
    } else if (inQuotes) {
      line[out++] = static_cast<char>(c);
    } else if (c < 0x20) {
      // carriage returns, tabs and other control bytes go
    } else if (c == ' ') {
      const bool between = out > 0 && isLetterOrDigit(static_cast<unsigned char>(line[out - 1])) &&
                           i + 1 < length &&
                           isLetterOrDigit(static_cast<unsigned char>(line[i + 1]));
      if (between) line[out++] = ' ';
    } else {
      line[out++] = upper(c);
    }
  }
  line[out] = '\0';
  return out;
}

void applyLine(const char* line, Section& section, Configuration& config) {
  const int keyword = findKeyword(line);
  if (line[0] == '[') {
    section = keyword == kSectionPrinter  ? Section::Printer
              : keyword == kSectionSystem ? Section::System
                                          : Section::None;
    return;
  }
  if (keyword < 0 || sectionOf(keyword) != section) return;

  const char* value = line + std::strlen(kKeywords[keyword]);
  if (*value == ':' || *value == '=') ++value;

  switch (keyword) {
    case kPort: config.port = parsePort(value); break;
    case kSpeed: config.speedIndex = parseSpeed(value); break;
    case kFlowControl: config.flowControl = parseFlowControl(value); break;
    case kAutoCodePage: config.autoCodePage = parseZeroOne(value); break;
    case kAutoEnter: config.autoEnter = parseZeroOne(value); break;
    case kInvertedDrawer: config.invertedDrawer = value[0]; break;
    case kTabStops: parseQuoted(value, config.tabStops, sizeof config.tabStops); break;
    case kMethod: parseQuoted(value, config.method, sizeof config.method); break;
    case kQrSize: config.qrModuleSize = parseQrSize(value); break;
    case kDirectory: parseQuoted(value, config.directory, sizeof config.directory); break;
    case kDailyLog:
      config.dailyLog = value[0];
      config.dailyLogPresent = true;
      break;
    case kLog:
      config.log = value[0];
      config.logPresent = true;
      break;
    default: break;
  }
}

int formatConfig(const Configuration& config, char* text) {
  const int speed =
      config.speedIndex >= 0 && config.speedIndex <= kLastSpeed ? config.speedIndex : kSpeedDetect;
  const char* const* key = kKeywords;  // the names the reader knows
  const char* flow = kFlowNames[config.flowControl == FlowControl::DtrDsr ? kFlowDtrDsrEntry : 0];
  Writer w(text);
  w.add("\r\n\r\n%s\r\n", key[kSectionPrinter]);
  w.add("   %s = COM%d\r\n", key[kPort], config.port);
  w.add("   %s = %s\r\n", key[kSpeed], kSpeeds[speed].name);
  w.add("   %s = %s\r\n", key[kFlowControl], flow);
  w.add("   %s = %c\r\n", key[kAutoCodePage], orSpace(config.autoCodePage));
  w.add("   %s = %c\r\n", key[kAutoEnter], orSpace(config.autoEnter));
  w.add("   %s = %c\r\n", key[kInvertedDrawer], orSpace(config.invertedDrawer));
  w.add("   %s = \"%.*s\"\r\n", key[kTabStops],
        boundedLength(config.tabStops, sizeof config.tabStops), config.tabStops);
  w.add("   %s = \"%.*s\"\r\n", key[kMethod], boundedLength(config.method, sizeof config.method),
        config.method);
  w.add("   %s = %d\r\n", key[kQrSize], config.qrModuleSize);
  if (config.logPresent || config.dailyLogPresent) {
    w.add("%s\r\n", key[kSectionSystem]);
    if (config.dailyLogPresent) w.add("%s = %c\r\n", key[kDailyLog], orSpace(config.dailyLog));
    if (config.logPresent) w.add("%s = %c\r\n", key[kLog], orSpace(config.log));
  }
  return w.length();
}

}  // namespace ini
