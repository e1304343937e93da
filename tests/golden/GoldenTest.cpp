// GoldenTest.cpp - runs the scripts in tests/golden/*.golden through the
// exports and compares what the printer receives, what each call answers,
// what the library logs and how CONVERSOR.INI changes with the lines written
// under each command.
//
// A script: lines before the first "== name" are run before every case and
// not compared; "> command" lines are calls; every other line (but "#"
// comments) is expected output, in order. TQ587_GOLDEN_UPDATE=1 rewrites the
// expected lines from what the library does now.
//
// Commands: ini "TEXT" | ini none | ini dir, load, text "TEXT" [N], bmp [PATH],
// image [PATH] (no PATH: a null name), drawer, connect, close,
// codepage|enter|gaveta|tab "TEXT", printer on|off|fail-from N|short-by N|answer N,
// log on|off, logfile "NAME" (the log file's content), clock EPOCH, tz ZONE,
// fifo NAME, and
// file NAME W H [BLACK [HELD]]: a 1-bit W x H BMP whose top BLACK rows are
// black (all of them by default) and that holds only its bottom HELD rows.
// Every call must end within 10 seconds. A TEXT is one or more
// quoted pieces with \xHH, \r, \n, \", \\ escapes; "x"*N repeats a piece.
// Output: "write HEX", "log LEVEL where: message", "= RESULT", "ini ...";
// a run of N equal lines is one line ending in " *N".
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "api/Library.h"
#include "connection/PrinterController.h"
#include "log/Log.h"
#include "support/OneBitBmp.h"
#include "support/TestSupport.h"
#include "text/ProtocolGeneric.h"
#include "tq587.h"

namespace {

std::vector<std::string> gEvents;
bool gLogs = true;
TestClock* gClock = nullptr;

// The printer at the other end of the pipe, as the "printer" commands set it.
struct Printer {
  bool on = true;
  int writes = 0;    // writes since the last "printer" command
  int failFrom = -1; // from this write on, writes answer 0
  int shortBy = 0;   // writes answer this many bytes fewer
  bool answers = false;  // writes answer `answer` (a USB pipe after a reset answers -1)
  int answer = 0;
} gPrinter;

std::string escaped(const std::string& text) {
  std::string out = "\"";
  for (unsigned char c : text) {
    char hex[8] = {static_cast<char>(c)};
    if (c == '"' || c == '\\') std::snprintf(hex, sizeof hex, "\\%c", c);
    if (c == '\r' || c == '\n') std::snprintf(hex, sizeof hex, "\\%c", c == '\r' ? 'r' : 'n');
    else if (c < 0x20 || c > 0x7E) std::snprintf(hex, sizeof hex, "\\x%02X", c);
    out += hex;
  }
  return out + "\"";
}

// Up to 48 bytes in hex on the line; longer writes by count and FNV-1a 64.
std::string describeWrite(const Bytes& bytes) {
  std::string out = "write";
  char hex[32];
  if (bytes.size() > 48) {
    uint64_t h = 14695981039346656037ull;
    for (uint8_t b : bytes) h = (h ^ b) * 1099511628211ull;
    std::snprintf(hex, sizeof hex, "[%zu] %016llx", bytes.size(), static_cast<unsigned long long>(h));
    return out + hex;
  }
  for (uint8_t b : bytes) {
    std::snprintf(hex, sizeof hex, " %02X", b);
    out += hex;
  }
  return out;
}

struct GoldenPipe : AbstractCommunicationPipe {
  int startCommunication() override { return gPrinter.on ? 1 : 0; }
  int read(uint8_t*, int32_t) override { return 0; }
  int write(const uint8_t* bytes, int32_t length) override {
    gEvents.push_back(describeWrite(Bytes(bytes, bytes + std::max(0, length))));
    if (gPrinter.answers) return gPrinter.answer;
    if (gPrinter.failFrom >= 0 && gPrinter.writes++ >= gPrinter.failFrom) return 0;
    return std::max(0, length - gPrinter.shortBy);
  }
  int close() override { return 1; }
};
std::unique_ptr<AbstractCommunicationPipe> makePipe() { return std::make_unique<GoldenPipe>(); }

void onLog(int level, const char* where, const std::string& message) {
  static const char* const kLevels[] = {"?", "DEBUG", "INFO", "WARN", "ERROR"};
  if (!gLogs) return;
  const char* name = level >= 1 && level <= 4 ? kLevels[level] : kLevels[0];
  gEvents.push_back(std::string("log ") + name + " " + (where ? where : "") + ": " +
                    escaped(message));
}

// Reads the quoted pieces of a TEXT; false when the syntax is off.
bool parseText(std::istream& in, std::string& text) {
  text.clear();
  bool any = false;
  in >> std::ws;
  while (in.peek() == '"') {
    in.get();
    std::string piece;
    for (int c = in.get(); c != '"'; c = in.get()) {
      if (c == EOF) return false;
      if (c == '\\') {
        const int e = in.get();
        if (e == 'x') {
          char h[3] = {static_cast<char>(in.get()), static_cast<char>(in.get()), 0};
          piece += static_cast<char>(std::strtol(h, nullptr, 16));
        } else {
          piece += e == 'r' ? '\r' : e == 'n' ? '\n' : static_cast<char>(e);
        }
      } else {
        piece += static_cast<char>(c);
      }
    }
    int times = 1;
    if (in.peek() == '*') {
      in.get();
      in >> times;
    }
    for (int i = 0; i < times; ++i) text += piece;
    any = true;
    in >> std::ws;
  }
  return any;
}

// A file's bytes, or `missing` when it cannot be opened.
std::string readFile(const std::string& path, const std::string& missing = "") {
  std::ifstream in(path, std::ios::binary);
  if (!in) return missing;
  std::ostringstream all;
  all << in.rdbuf();
  return all.str();
}
std::string readIni() { return readFile("CONVERSOR.INI", "\x01none"); }

// Runs one command line; its output goes to gEvents. false on a bad line.
bool run(const std::string& line) {
  std::istringstream in(line);
  std::string verb, text;
  in >> verb;
  const std::string iniBefore = readIni();
  int result = 0;
  bool hasResult = true;
  if (verb == "ini") {
    hasResult = false;
    std::remove("CONVERSOR.INI");
    if (parseText(in, text)) {
      std::ofstream(std::string("CONVERSOR.INI"), std::ios::binary) << text;
    } else if (line.find(" dir") != std::string::npos) {
      mkdir("CONVERSOR.INI", 0755);  // a directory in the way: neither read nor written
    }
    return true;
  } else if (verb == "load") {
    precisaQuebraLinha = true;
    removePipe();
    PrinterController::getInstance().setPipeFactories(makePipe, makePipe);
    initDLL();
    hasResult = false;
  } else if (verb == "log") {
    in >> text;
    gLogs = text == "on";
    return true;
  } else if (verb == "printer") {
    in >> text;
    gPrinter.writes = 0;
    if (text == "on" || text == "off") gPrinter.on = text == "on";
    if (text == "fail-from") in >> gPrinter.failFrom;
    if (text == "short-by") in >> gPrinter.shortBy;
    if (text == "answer") gPrinter.answers = static_cast<bool>(in >> gPrinter.answer);
    return true;
  } else if (verb == "text") {
    if (!parseText(in, text)) return false;
    int n = 0;
    in >> n;
    alarm(10);
    result = TQ587_iImprimirTexto(text.c_str(), n);
    alarm(0);
  } else if (verb == "bmp" || verb == "image") {
    const char* path = in >> text ? text.c_str() : nullptr;
    alarm(10);  // a call that blocks fails the test instead of hanging it
    result = verb == "bmp" ? TQ587_iImprimirBMP(path) : TQ587_iImprimirImagem(path);
    alarm(0);
  } else if (verb == "file") {
    uint32_t w = 0, h = 0;
    in >> text >> w >> h;
    uint32_t black = h, held = h;
    if (in >> black) in >> held;
    std::string stored;  // bottom row first
    for (uint32_t row = h; row-- > h - held;) stored.append(oneBitStride(w), row < black ? '\0' : '\xFF');
    std::ofstream(text, std::ios::binary) << oneBitBmp(w, h, stored);
    return true;
  } else if (verb == "fifo") {
    in >> text;
    return mkfifo(text.c_str(), 0600) == 0;
  } else if (verb == "clock") {
    std::time_t at = 0;
    in >> at;
    gClock->set(at);
    return true;
  } else if (verb == "tz") {
    in >> text;
    setenv("TZ", text.c_str(), 1);
    tzset();
    return true;
  } else if (verb == "logfile") {
    if (!parseText(in, text)) return false;
    gEvents.push_back("file " + escaped(readFile("dosdevices/c:/KORVA/" + text)));
    return true;
  } else if (verb == "drawer") {
    result = TQ587_iAcionarGaveta();
  } else if (verb == "connect") {
    result = TQ587_eBuscarPortaVelocidade();
  } else if (verb == "close") {
    result = TQ587_fecharPorta();
  } else {
    if (!parseText(in, text)) return false;
    if (verb == "codepage") result = TQ587_regCodePageAutomatico(text.c_str());
    else if (verb == "enter") result = TQ587_regEnterFinal(text.c_str());
    else if (verb == "gaveta") result = TQ587_regModoGaveta(text.c_str());
    else if (verb == "tab") result = TQ587_regTabulacao(text.c_str());
    else return false;
  }
  if (hasResult) gEvents.push_back("= " + std::to_string(result));
  const std::string iniAfter = readIni();
  if (iniAfter != iniBefore) gEvents.push_back("ini " + (iniAfter == "\x01none" ? "none" : escaped(iniAfter)));
  return true;
}

struct Case {
  std::string name;
  std::vector<std::string> lines;  // commands, comments and expected output, in order
};

// The lines before the first case, and the cases.
std::vector<Case> readScript(const std::string& path, std::vector<std::string>& prelude) {
  std::ifstream in(path);
  std::vector<Case> cases;
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("== ", 0) == 0) cases.push_back({line, {}});
    else (cases.empty() ? prelude : cases.back().lines).push_back(line);
  }
  return cases;
}

bool isCommand(const std::string& line) { return line.rfind("> ", 0) == 0; }

// Runs a case's commands after the prelude; the lines with the actual output.
std::vector<std::string> play(const std::vector<std::string>& prelude, const Case& c) {
  ScratchDir dir;
  mkdir("dosdevices", 0755);
  mkdir("dosdevices/c:", 0755);
  mkdir("dosdevices/c:/KORVA", 0755);
  symlink(TQ587_TEST_DATA_DIR, "data");
  TestClock clock(1796474096);  // 2026-12-05 12:34:56 UTC
  gClock = &clock;
  setenv("TZ", "UTC", 1);
  tzset();
  gPrinter = Printer{};
  gLogs = true;
  LogCapture capture;
  setLogListener(onLog);
  for (const std::string& line : prelude) {
    if (isCommand(line)) run(line.substr(2));
  }
  gEvents.clear();
  std::vector<std::string> out;
  for (const std::string& line : c.lines) {
    if (line.rfind("#", 0) == 0) out.push_back(line);
    if (!isCommand(line)) continue;
    out.push_back(line);
    gEvents.clear();
    if (!run(line.substr(2))) ADD_FAILURE() << "bad command: " << line;
    // A run of equal lines is written once, with " *N" behind it.
    for (size_t i = 0; i < gEvents.size();) {
      size_t j = i;
      while (j < gEvents.size() && gEvents[j] == gEvents[i]) ++j;
      out.push_back(j - i > 1 ? gEvents[i] + " *" + std::to_string(j - i) : gEvents[i]);
      i = j;
    }
  }
  removePipe();
  return out;
}

TEST(Golden, ScriptsReplayByteForByte) {
  const bool update = std::getenv("TQ587_GOLDEN_UPDATE") != nullptr;
  for (const char* file : {"texts", "tags", "barcodes", "setters", "ini", "pictures", "log"}) {
    const std::string path = std::string(TQ587_GOLDEN_DIR) + "/" + file + ".golden";
    std::vector<std::string> prelude;
    const std::vector<Case> cases = readScript(path, prelude);
    ASSERT_FALSE(cases.empty()) << path;
    std::vector<std::string> rewritten = prelude;
    for (const Case& c : cases) {
      SCOPED_TRACE(path + ": " + c.name);
      const std::vector<std::string> actual = play(prelude, c);
      std::vector<std::string> expected;
      std::copy_if(c.lines.begin(), c.lines.end(), std::back_inserter(expected),
                   [](const std::string& line) { return !line.empty(); });
      if (!update) {
        EXPECT_EQ(actual, expected);
      }
      rewritten.push_back(c.name);
      rewritten.insert(rewritten.end(), actual.begin(), actual.end());
      rewritten.push_back("");
    }
    if (update) {
      std::ofstream out(path);
      for (const std::string& line : rewritten) out << line << "\n";
    }
  }
}

}  // namespace
