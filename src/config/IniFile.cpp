// IniFile.cpp - a configuration record to and from a file, through the SDK
// file classes.
#include "config/IniFile.h"

#include <cstdio>
#include <cstring>

#include "config/IniFormat.h"
#include "sdk/File.h"

namespace {

// Open an existing file for reading and writing; others may read it
// meanwhile.
constexpr int kOpenReadWrite = 0x22;

// Whether the file holds these bytes already and takes writes.
bool holdsAlready(const char* path, const char* text, int length) {
  SDK::FILE file;
  file.Close();
  SDK::defaultFileSystem().Open(path, kOpenReadWrite, &file);
  if (file.IsClosed()) return false;
  char current[ini::kMaxText + 2];
  int got = 0;
  for (int n; got < static_cast<int>(sizeof current) &&
              (n = file.Read(current + got, static_cast<int>(sizeof current) - got)) > 0;) {
    got += n;
  }
  return got == length && std::memcmp(current, text, static_cast<size_t>(length)) == 0;
}

// The file's bytes one at a time, read from the file a block at a time.
class BlockReader {
 public:
  explicit BlockReader(SDK::FILE& file) : file_(file) {}
  bool next(char& byte) {
    if (position_ == length_) {
      length_ = file_.Read(block_, sizeof block_);
      position_ = 0;
      if (length_ <= 0) {
        length_ = 0;  // the end, or a read that failed: nothing more
        return false;
      }
    }
    byte = block_[position_++];
    return true;
  }

 private:
  SDK::FILE& file_;
  char block_[4096];
  int position_ = 0;
  int length_ = 0;
};

// The next raw line of the file (without its line feed) into line, at most
// kMaxLine bytes; the tail of a longer line comes as the next one. false
// when the file ended before any byte.
bool readRawLine(BlockReader& reader, char* line, int& length) {
  length = 0;
  bool any = false;
  char byte;
  while (length < ini::kMaxLine && reader.next(byte)) {
    any = true;
    if (byte == '\n') break;
    line[length++] = byte;
  }
  return any;
}

}  // namespace

namespace ini {

bool readFile(const char* path, Configuration& config) {
  config = Configuration{};
  SDK::FILE file;
  file.Close();
  SDK::defaultFileSystem().Open(path, SDK::FILE::kDefaultOpenMode, &file);
  if (file.IsClosed()) return false;

  char line[kMaxLine + 1];
  int length = 0;
  Section section = Section::None;
  BlockReader reader(file);
  while (readRawLine(reader, line, length)) {
    length = normaliseLine(line, length);
    if (length > 0 && line[0] != ';') applyLine(line, section, config);
  }
  return true;
}

bool writeFile(const char* path, Configuration& config) {
  // A log key that was not in the file read is written nowhere and holds a
  // space, which leaves logging off.
  if (!config.logPresent) config.log = ' ';
  if (!config.dailyLogPresent) config.dailyLog = ' ';
  char text[kMaxText + 1];
  const int length = formatConfig(config, text);
  // Nothing to write when the file holds these bytes already (the terminal's
  // flash is spared a write); otherwise the file gets the new content whole
  // or keeps the old.
  return holdsAlready(path, text, length) || SDK::defaultFileSystem().Save(path, text, length);
}

void setDefaults(Configuration& config) {
  config.port = 1;
  config.speedIndex = kLastSpeed;  // 115200
  config.flowControl = FlowControl::DtrDsr;
  config.qrModuleSize = kDefaultQrModuleSize;
  std::snprintf(config.directory, sizeof config.directory, "%s", "C:");
  config.autoEnter = '1';
  config.autoCodePage = '1';
  config.invertedDrawer = '1';
  std::snprintf(config.tabStops, sizeof config.tabStops, "%s", "05,10,15,20,25,35");
  std::snprintf(config.method, sizeof config.method, "%s", "SERIAL");
  config.dailyLog = '0';
  config.log = '0';
}

}  // namespace ini
