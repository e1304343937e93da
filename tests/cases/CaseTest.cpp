// CaseTest.cpp - runs the case tables tests/cases/*.cases through the exports:
// one row per case, the call, its result and every byte the printer receives.
//
//   [STEP then]... CALL -> RESULT [: BYTES] [| ini: LINE, ...] [| ini file: TEXT]
//                      [| logs: NAME LINES, ...] [| file NAME: TEXT] [| pipe: KIND]
//
// BYTES are the call's writes one after the other, in hex; "XX*N" is N bytes
// XX, and "raster WxH DATA..." the picture command of a W x H mask: GS 8 L
// with its counts and sizes, the DATA, ESC @, GS ( L print, LF. A row
// without BYTES says that nothing was sent. "ini:" lists the lines of
// CONVERSOR.INI that the call wrote anew ("-": none), "ini file:" the whole
// file, "logs:" the files in C:\KORVA\ and their line counts, "file:" one
// log file's content, "pipe:" the pipe kept (serial, usb or -). Indented lines under a row ("  LEVEL where: message")
// are the call's whole log. Anything a row does not name is not checked.
//
// Every row starts afresh (a step that blocks for 10 s ends the test): a scratch directory, the clock at Saturday
// 2026-12-05 12:34:56 UTC, the printer on, then the "set:" steps before the
// first "== section" and those of the row's section, then its own steps.
// "define NAME TEXT" makes $NAME stand for TEXT in the lines after it.
//
// Steps and calls: ini "TEXT" | ini none | ini dir, load, text "TEXT" [N],
// bmp [PATH], image [PATH] (no PATH: a null name), drawer, connect, close,
// codepage|enter|gaveta|tab "TEXT", printer on|off|usb-only|serial-only|
// close-fails|fail-from N|short-by N|answer N, clock EPOCH, tz ZONE, fifo|
// device|folder NAME (device: the zero device, made here as root, else a
// link to /dev/zero), link NAME TARGET, and picture NAME ENCODING WxH
// PIXEL... [keep N]: a BMP of RRGGBB pixels (top row first, "RRGGBB*N"
// repeats) in encoding 1, 4 or 8 (palette), 16 (5-5-5), 16m (5-6-5 bit
// fields), 24, 32 or 24v5 (a 124-byte header), its first N bytes only with
// "keep". A TEXT is one
// or more quoted pieces with \xHH, \r, \n, \", \\ escapes; "x"*N repeats one.
//
// TQ587_CASES_PRINT=1 prints each row as the library answers it now, for a
// person to hold against the printer's language; the tables are never
// rewritten. TQ587_CASES=NAME runs the table NAME.cases alone; "markup" runs
// the rows of the ```cases blocks of docs/markup.md.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>

#include "api/Library.h"
#include "connection/PrinterController.h"
#include "log/Log.h"
#include "support/TestSupport.h"
#include "text/ProtocolGeneric.h"
#include "text/Tags.h"
#include "tq587.h"

namespace {

using Strings = std::vector<std::string>;

// What the last call did, and the printer it met.
Bytes gWrites;
Strings gLog;
TestClock* gClock = nullptr;
struct Printer {
  bool serial = true, usb = true;  // a printer answers on that pipe
  int writes = 0;        // writes since the last "printer" step
  int failFrom = -1;     // from this write on, writes answer 0
  int shortBy = 0;       // writes answer this many bytes fewer
  bool answers = false;  // writes answer `answer` (a USB pipe after a reset answers -1)
  int answer = 0;
  int closes = 1;        // what a close answers
} gPrinter;

struct CasePipe : AbstractCommunicationPipe {
  explicit CasePipe(const char* kind) : kind(kind) {}
  int startCommunication() override { return (kind[0] == 's' ? gPrinter.serial : gPrinter.usb) ? 1 : 0; }
  int read(uint8_t*, int32_t) override { return 0; }
  int write(const uint8_t* bytes, int32_t length) override {
    gWrites.insert(gWrites.end(), bytes, bytes + std::max(0, length));
    if (gPrinter.answers) return gPrinter.answer;
    if (gPrinter.failFrom >= 0 && gPrinter.writes++ >= gPrinter.failFrom) return 0;
    return std::max(0, length - gPrinter.shortBy);
  }
  int close() override { return gPrinter.closes; }
  const char* kind;
};
std::unique_ptr<AbstractCommunicationPipe> makeSerial() { return std::make_unique<CasePipe>("serial"); }
std::unique_ptr<AbstractCommunicationPipe> makeUsb() { return std::make_unique<CasePipe>("usb"); }

std::string escaped(const std::string& text, bool quoted = true) {
  std::string out = quoted ? "\"" : "";
  for (unsigned char c : text) {
    char piece[8] = {static_cast<char>(c), 0};
    if (quoted && (c == '"' || c == '\\')) std::snprintf(piece, sizeof piece, "\\%c", c);
    else if (c == '\r' || c == '\n') std::snprintf(piece, sizeof piece, "\\%c", c == '\r' ? 'r' : 'n');
    else if (c < 0x20 || c > 0x7E) std::snprintf(piece, sizeof piece, "\\x%02X", c);
    out += piece;
  }
  return quoted ? out + "\"" : out;
}

// Reads the quoted pieces of a TEXT; false when there is none.
bool parseText(std::istream& in, std::string& text) {
  text.clear();
  bool any = false;
  while ((in >> std::ws).peek() == '"') {
    std::string piece;
    in.get();
    for (int c = in.get(); c != '"'; c = in.get()) {
      if (c == EOF) return false;
      if (c == '\\') {
        c = in.get();
        if (c == 'x') {
          const char h[3] = {static_cast<char>(in.get()), static_cast<char>(in.get()), 0};
          c = static_cast<int>(std::strtol(h, nullptr, 16));
        } else if (c == 'r' || c == 'n') {
          c = c == 'r' ? '\r' : '\n';
        }
      }
      piece += static_cast<char>(c);
    }
    int times = 1;
    if (in.peek() == '*') in.get(), in >> times;
    for (int i = 0; i < times; ++i) text += piece;
    any = true;
  }
  return any;
}

// A regular file's bytes; missing for anything else (never waits on a FIFO).
std::string readFile(const std::string& path, const std::string& missing = "") {
  if (!std::filesystem::is_regular_file(path)) return missing;
  std::ifstream in(path, std::ios::binary);
  std::ostringstream all;
  all << in.rdbuf();
  return in ? all.str() : missing;
}
const char kNoFile[] = "\x01none";
std::string readIni() { return readFile("CONVERSOR.INI", kNoFile); }

// A FIFO, a folder or a character device named name.
bool makeNode(const std::string& kind, const char* path) {
  if (kind == "fifo") return mkfifo(path, 0600) == 0;
  if (kind == "folder") return mkdir(path, 0755) == 0;
  return mknod(path, S_IFCHR | 0666, makedev(1, 5)) == 0 || symlink("/dev/zero", path) == 0;
}

// Little-endian number into a file at an offset.
void put(std::string& file, size_t at, uint32_t value, int bytes) {
  if (file.size() < at + bytes) file.resize(at + bytes, '\0');
  for (int k = 0; k < bytes; ++k) file[at + k] = static_cast<char>(value >> (8 * k));
}

// A BMP file of w x h RRGGBB pixels, top row first, in the encoding named.
std::string bmpFile(const std::string& encoding, int32_t w, int32_t h, const std::vector<uint32_t>& rgb) {
  const int bits = std::atoi(encoding.c_str());
  const uint32_t compression = encoding == "16m" ? 3 : 0, masks = compression == 3 ? 12 : 0;
  const uint32_t infoSize = encoding == "24v5" ? 124 : 40;
  std::vector<uint32_t> palette;
  for (size_t i = 0; bits <= 8 && i < rgb.size(); ++i)
    if (std::find(palette.begin(), palette.end(), rgb[i]) == palette.end()) palette.push_back(rgb[i]);
  if (bits <= 8) palette.resize(size_t{1} << bits, 0xFFFFFF);
  const uint32_t offset = 14 + infoSize + masks + 4 * static_cast<uint32_t>(palette.size());
  const uint32_t stride = (static_cast<uint32_t>(w) * bits + 31) / 32 * 4;
  std::string file;
  const uint32_t header[][3] = {{0, 0x4D42, 2}, {2, offset + stride * h, 4}, {10, offset, 4}, {14, infoSize, 4},
                                {18, static_cast<uint32_t>(w), 4}, {22, static_cast<uint32_t>(h), 4},
                                {26, 1, 2}, {28, static_cast<uint32_t>(bits), 2}, {30, compression, 4}};
  for (const auto& f : header) put(file, f[0], f[1], static_cast<int>(f[2]));
  file.resize(14 + infoSize, '\0');
  if (masks) file += std::string("\x00\xF8\0\0\xE0\x07\0\0\x1F\0\0\0", 12);  // 5-6-5
  for (uint32_t c : palette) put(file, file.size(), c, 4);
  for (int32_t y = h - 1; y >= 0; --y) {
    std::string row(stride, '\0');
    for (int32_t x = 0; x < w; ++x) {
      const uint32_t c = rgb[static_cast<size_t>(y) * w + x], r = c >> 16, g = (c >> 8) & 0xFF, b = c & 0xFF;
      if (bits <= 8) {
        const auto index = static_cast<uint32_t>(std::find(palette.begin(), palette.end(), c) - palette.begin());
        row[x * bits / 8] = static_cast<char>(row[x * bits / 8] | index << (8 - bits - x * bits % 8));
      } else if (bits == 16) {
        put(row, 2 * x, masks ? (r >> 3) << 11 | (g >> 2) << 5 | b >> 3 : (r >> 3) << 10 | (g >> 3) << 5 | b >> 3, 2);
      } else {
        put(row, static_cast<size_t>(x) * bits / 8, bits == 32 ? c | 0x80000000u : c, bits / 8);
      }
    }
    file += row;
  }
  return file;
}

// picture NAME ENCODING WxH PIXEL... [keep N]
bool writePicture(std::istream& in) {
  std::string name, encoding, token;
  int32_t w = 0, h = 0;
  char x = 0;
  if (!(in >> name >> encoding >> w >> x >> h)) return false;
  std::vector<uint32_t> rgb;
  size_t keep = std::string::npos;
  while (in >> token && !(token == "keep" && in >> keep)) {
    const size_t star = token.find('*');
    rgb.insert(rgb.end(), star == std::string::npos ? 1 : std::stoul(token.substr(star + 1)),
               static_cast<uint32_t>(std::stoul(token.substr(0, star), nullptr, 16)));
  }
  if (rgb.size() != static_cast<size_t>(w) * static_cast<size_t>(h)) return false;
  std::ofstream(name, std::ios::binary) << bmpFile(encoding, w, h, rgb).substr(0, keep);
  return true;
}

// Runs one step or call; a call sets result. false on a line it cannot read.
bool run(const std::string& line, int& result, bool& isCall) {
  std::istringstream in(line);
  std::string verb, text;
  in >> verb;
  using Call = std::function<int(const char*, int)>;
  static const std::map<std::string, Call> kCalls = {
      {"text", [](const char* t, int n) { return TQ587_iImprimirTexto(t, n); }},
      {"bmp", [](const char* t, int) { return TQ587_iImprimirBMP(t); }},
      {"image", [](const char* t, int) { return TQ587_iImprimirImagem(t); }},
      {"drawer", [](const char*, int) { return TQ587_iAcionarGaveta(); }},
      {"connect", [](const char*, int) { return TQ587_eBuscarPortaVelocidade(); }},
      {"close", [](const char*, int) { return TQ587_fecharPorta(); }},
      {"codepage", [](const char* t, int) { return TQ587_regCodePageAutomatico(t); }},
      {"enter", [](const char* t, int) { return TQ587_regEnterFinal(t); }},
      {"gaveta", [](const char* t, int) { return TQ587_regModoGaveta(t); }},
      {"tab", [](const char* t, int) { return TQ587_regTabulacao(t); }}};
  const auto call = kCalls.find(verb);
  isCall = call != kCalls.end();
  if (isCall) {
    const bool named = verb == "bmp" || verb == "image";
    if (!named && (in >> std::ws).peek() == '"' && !parseText(in, text)) return false;
    if (named) in >> text;
    int n = 0;
    in >> n;
    result = call->second(named && text.empty() ? nullptr : text.c_str(), n);
    return true;
  }
  if (verb == "ini") {
    std::remove("CONVERSOR.INI");
    if (parseText(in, text)) std::ofstream(std::string("CONVERSOR.INI"), std::ios::binary) << text;
    else if (line.find(" dir") != std::string::npos) mkdir("CONVERSOR.INI", 0755);  // neither read nor written
  } else if (verb == "load") {
    precisaQuebraLinha = true;
    removePipe();
    PrinterController::getInstance().setPipeFactories(makeSerial, makeUsb);
    initDLL();
  } else if (verb == "printer" && in >> text) {
    gPrinter.writes = 0;
    if (text == "on" || text == "off") gPrinter.serial = gPrinter.usb = text == "on";
    if (text == "usb-only" || text == "serial-only") gPrinter.serial = !(gPrinter.usb = text == "usb-only");
    if (text == "close-fails") gPrinter.closes = 0;
    if (text == "fail-from") in >> gPrinter.failFrom;
    if (text == "short-by") in >> gPrinter.shortBy;
    if (text == "answer") gPrinter.answers = static_cast<bool>(in >> gPrinter.answer);
  } else if (verb == "clock" || verb == "tz") {
    in >> text;
    if (verb == "clock") gClock->set(std::stoll(text));
    else setenv("TZ", text.c_str(), 1), tzset();
  } else if (verb == "fifo" || verb == "device" || verb == "folder") {
    return in >> text && makeNode(verb, text.c_str());
  } else if (verb == "link") {
    std::string target;
    return in >> text >> target && symlink(target.c_str(), text.c_str()) == 0;
  } else {
    return verb == "picture" && writePicture(in);
  }
  return true;
}

// text split at each separator that stands outside double quotes.
Strings split(const std::string& text, const std::string& separator) {
  Strings parts(1);
  bool quoted = false;
  for (size_t i = 0; i < text.size(); ++i) {
    if (!quoted && text.compare(i, separator.size(), separator) == 0) {
      parts.emplace_back();
      i += separator.size() - 1;
      continue;
    }
    if (text[i] == '\\' && quoted && i + 1 < text.size()) parts.back() += text[i++];
    else if (text[i] == '"') quoted = !quoted;
    parts.back() += text[i];
  }
  return parts;
}

std::string trimmed(const std::string& s) {
  const size_t a = s.find_first_not_of(' '), b = s.find_last_not_of(' ');
  return a == std::string::npos ? "" : s.substr(a, b - a + 1);
}

// Bytes in the row's notation: runs of four or more as XX*N.
std::string bytesText(const Bytes& b) {
  std::string out;
  char piece[24];
  for (size_t i = 0, j = 0; i < b.size(); i = j) {
    while (j < b.size() && b[j] == b[i]) ++j;
    for (size_t k = 0; k < (j - i >= 4 ? 1 : j - i); ++k) out += (std::snprintf(piece, sizeof piece, " %02X", b[i]), piece);
    if (j - i >= 4) out += "*" + std::to_string(j - i);
  }
  return out.empty() ? out : out.substr(1);
}

// Appends one "XX" or "XX*N"; false when it is neither.
bool addBytes(const std::string& token, Bytes& out) {
  char* end = nullptr;
  const unsigned long byte = std::strtoul(token.c_str(), &end, 16);
  unsigned long times = 1;
  if (*end == '*') times = std::strtoul(end + 1, &end, 10);
  if (end != token.c_str() + token.size() || end == token.c_str() || byte > 0xFF) return false;
  out.insert(out.end(), times, static_cast<uint8_t>(byte));
  return true;
}

// The row's BYTES; "raster WxH DATA" is the whole picture command around
// the (W + 7) / 8 x H bytes of DATA that follow.
bool parseBytes(const std::string& text, Bytes& out) {
  std::istringstream in(text);
  for (std::string token; in >> token;) {
    uint32_t w = 0, h = 0;
    char x = 0;
    if (token != "raster") {
      if (!addBytes(token, out)) return false;
      continue;
    }
    if (!(in >> w >> x >> h)) return false;
    const uint32_t w8 = (w + 7) / 8 * 8, k = w8 / 8 * h, p = k + 10;
    out.insert(out.end(), {0x1D, 0x38, 0x4C, static_cast<uint8_t>(p), static_cast<uint8_t>(p >> 8),
                           static_cast<uint8_t>(p >> 16), static_cast<uint8_t>(p >> 24), 0x30, 0x70, 0x30, 0x01, 0x01,
                           0x31, static_cast<uint8_t>(w8), static_cast<uint8_t>(w8 >> 8), static_cast<uint8_t>(h),
                           static_cast<uint8_t>(h >> 8)});
    const size_t end = out.size() + k;
    while (out.size() < end && in >> token && addBytes(token, out)) continue;
    if (out.size() != end) return false;
    out.insert(out.end(), {0x1B, 0x40, 0x1D, 0x28, 0x4C, 0x02, 0x00, 0x30, 0x02, 0x0A});
  }
  return true;
}

// The lines the INI has after and did not have before.
std::string iniChanges(const std::string& before, const std::string& after) {
  std::string out;
  std::istringstream in(after);
  for (std::string line; std::getline(in, line);) {
    line = trimmed(line.substr(0, line.find('\r')));
    if (!line.empty() && before.find(line) == std::string::npos) out += (out.empty() ? "" : ", ") + line;
  }
  return out.empty() ? "-" : out;
}

// The log files, by name, and their line counts.
std::string logFiles() {
  std::map<std::string, long> files;
  for (const auto& entry : std::filesystem::directory_iterator("dosdevices/c:/KORVA")) {
    const std::string content = readFile(entry.path().string());
    files[entry.path().filename().string()] = std::count(content.begin(), content.end(), '\n');
  }
  std::string out;
  for (const auto& f : files) out += (out.empty() ? "" : ", ") + escaped(f.first, false) + " " + std::to_string(f.second);
  return out.empty() ? "-" : out;
}

// A row: its steps (the set-up's first), what it expects, and its line.
struct Outcome {
  std::string result;  // empty when the last step is no call
  Bytes writes;
  Strings parts;       // "ini: ...", "logs: ..." as the row asks
  Strings log;         // the whole log, when the row gives it
};
struct Row {
  int line;
  std::string call;  // as written, for the printed rows
  Strings steps;
  Outcome want;
};

// Runs a row's steps; the outcome of the last, with the parts the row names.
Outcome play(const Row& row) {
  ScratchDir dir;
  std::filesystem::create_directories("dosdevices/c:/KORVA");
  symlink(TQ587_TEST_DATA_DIR, "data");
  TestClock clock(1796474096);  // Saturday 2026-12-05 12:34:56 UTC
  gClock = &clock;
  setenv("TZ", "UTC", 1);
  tzset();
  gPrinter = Printer{};
  tq587::setLogListener([](int level, const char* where, const std::string& message) {
    static const char* const kLevels[] = {"?", "DEBUG", "INFO", "WARN", "ERROR"};
    gLog.push_back(std::string(kLevels[level >= 1 && level <= 4 ? level : 0]) + " " + (where ? where : "") + ": " +
                   escaped(message, false));
  });
  std::string iniBefore;
  int result = 0;
  bool isCall = false;
  for (size_t i = 0; i < row.steps.size(); ++i) {
    if (i + 1 == row.steps.size()) iniBefore = readIni(), gWrites.clear(), gLog.clear();
    alarm(10);  // a step that blocks fails the test instead of hanging it
    if (!run(row.steps[i], result, isCall)) ADD_FAILURE() << "cannot read: " << row.steps[i];
    alarm(0);
  }
  Outcome out{isCall ? std::to_string(result) : "", gWrites, {}, gLog};
  const std::string ini = readIni();
  for (const std::string& part : row.want.parts) {
    std::istringstream in(part.substr(part.find(' ') + 1));
    std::string name;
    if (part.rfind("ini:", 0) == 0) out.parts.push_back("ini: " + iniChanges(iniBefore, ini));
    if (part.rfind("ini file:", 0) == 0) out.parts.push_back("ini file: " + (ini == kNoFile ? "none" : escaped(ini)));
    if (part.rfind("logs:", 0) == 0) out.parts.push_back("logs: " + logFiles());
    if (part.rfind("pipe:", 0) == 0) {
      const auto* held = dynamic_cast<const CasePipe*>(PrinterController::getInstance().pipe());
      out.parts.push_back(std::string("pipe: ") + (held ? held->kind : "-"));
    }
    if (part.rfind("file ", 0) == 0 && parseText(in, name))
      out.parts.push_back("file " + escaped(name) + ": " + escaped(readFile("dosdevices/c:/KORVA/" + name)));
  }
  removePipe();
  tq587::setLogListener(nullptr);
  return out;
}

std::vector<Row> readTable(const std::string& path) {
  std::ifstream in(path);
  std::vector<Row> rows;
  Strings fileSetUp, sectionSetUp;
  std::map<std::string, std::string> defines;
  bool inSection = false;
  const bool markdown = path.size() > 3 && path.compare(path.size() - 3, 3, ".md") == 0;
  bool inBlock = !markdown;  // a document's rows stand in its ```cases blocks
  int number = 0;
  for (std::string line; std::getline(in, line);) {
    ++number;
    if (markdown && line.rfind("```", 0) == 0) {
      inBlock = line == "```cases";
      continue;
    }
    if (!inBlock) continue;
    for (const auto& d : defines)
      for (size_t at; (at = line.find("$" + d.first)) != std::string::npos;) line.replace(at, d.first.size() + 1, d.second);
    const Strings arrow = split(line, " -> ");
    if (line.empty() || line[0] == '#') continue;
    if (line.rfind("  ", 0) == 0 && !rows.empty()) {
      rows.back().want.log.push_back(trimmed(line));
    } else if (line.rfind("== ", 0) == 0) {
      inSection = true;
      sectionSetUp.clear();
    } else if (line.rfind("define ", 0) == 0) {
      const size_t space = line.find(' ', 7);
      defines[line.substr(7, space - 7)] = line.substr(space + 1);
    } else if (line.rfind("set: ", 0) == 0) {
      for (const std::string& s : split(line.substr(5), " then ")) (inSection ? sectionSetUp : fileSetUp).push_back(trimmed(s));
    } else {
      Row row{number, trimmed(arrow[0]), fileSetUp, {}};
      row.steps.insert(row.steps.end(), sectionSetUp.begin(), sectionSetUp.end());
      for (const std::string& s : split(arrow[0], " then ")) row.steps.push_back(trimmed(s));
      const Strings parts = split(arrow.back(), " | "), head = split(parts[0], " : ");
      row.want.result = trimmed(head[0]);
      for (size_t i = 1; i < parts.size(); ++i) row.want.parts.push_back(trimmed(parts[i]));
      if (arrow.size() != 2 || (head.size() > 1 && !parseBytes(head[1], row.want.writes)))
        ADD_FAILURE() << path << ":" << number << ": cannot read the outcome";
      rows.push_back(row);
    }
  }
  return rows;
}

TEST(Cases, EveryRowAsWritten) {
  const bool print = std::getenv("TQ587_CASES_PRINT") != nullptr;
  const char* only = std::getenv("TQ587_CASES");  // one table, by name
  for (const char* table : {"texts", "tags", "barcodes", "pictures", "setters", "ini", "log", "markup"}) {
    if (only && std::string(only) != table) continue;
    const std::string path = std::string(table) == "markup" ? std::string(TQ587_MARKUP_DOC)
                                                           : std::string(TQ587_CASES_DIR) + "/" + table + ".cases";
    const std::vector<Row> rows = readTable(path);
    EXPECT_FALSE(rows.empty()) << path;
    for (const Row& row : rows) {
      SCOPED_TRACE(path + ":" + std::to_string(row.line));
      const Outcome got = play(row);
      if (print) {
        std::string line = row.call + " -> " + got.result + (got.writes.empty() ? "" : " : " + bytesText(got.writes));
        for (const std::string& part : got.parts) line += " | " + part;
        std::printf("%s\n", line.c_str());
        for (size_t i = 0; !row.want.log.empty() && i < got.log.size(); ++i) std::printf("  %s\n", got.log[i].c_str());
        continue;
      }
      EXPECT_EQ(got.result, row.want.result);
      EXPECT_EQ(bytesText(got.writes), bytesText(row.want.writes));
      EXPECT_EQ(got.parts, row.want.parts);
      if (!row.want.log.empty()) {
        EXPECT_EQ(got.log, row.want.log);
      }
    }
  }
}

// Every open text of the tag table is named in the mark-up reference, as `<b>`.
TEST(Cases, MarkupNamesEveryTag) {
  const std::string doc = readFile(TQ587_MARKUP_DOC);
  for (const TagRow& tag : tags::kTable)
    EXPECT_NE(doc.find(std::string("`") + tag.openText + "`"), std::string::npos) << tag.openText << " is not named";
}

}  // namespace
