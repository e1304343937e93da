#include "TestSupport.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "connection/PrinterController.h"
#include "log/Log.h"

namespace fs = std::filesystem;

int RecordingPipe::write(const uint8_t* bytes, int32_t length) {
  writes.emplace_back(bytes, bytes + std::max(0, length));
  return length;
}

RecordingPipe& installRecordingPipe() {
  auto pipe = std::make_unique<RecordingPipe>();
  RecordingPipe& ref = *pipe;
  PrinterController::getInstance().setPipe(std::move(pipe), true);
  return ref;
}

void removePipe() {
  PrinterController& controller = PrinterController::getInstance();
  controller.setPipe(nullptr, false);
  controller.setPipeFactories(nullptr, nullptr);
}

ScratchDir::ScratchDir() {
  std::error_code error;
  old_ = fs::current_path(error).string();
  std::string pattern = (fs::temp_directory_path(error) / "tq587-test-XXXXXX").string();
  if (mkdtemp(&pattern[0])) path_ = pattern;
  if (!path_.empty()) fs::current_path(path_, error);
  if (error) path_.clear();
}

ScratchDir::~ScratchDir() {
  std::error_code error;
  if (!old_.empty()) fs::current_path(old_, error);
  if (!error && !path_.empty()) fs::remove_all(path_, error);
}

void ScratchDir::write(const std::string& name, const std::string& content) const {
  std::ofstream(path_ + "/" + name, std::ios::binary) << content;
}

std::string ScratchDir::read(const std::string& name) const {
  std::ifstream in(path_ + "/" + name, std::ios::binary);
  std::ostringstream all;
  all << in.rdbuf();
  return all.str();
}

namespace {
std::vector<LogCapture::Line> gLines;
void collect(int level, const char* where, const std::string& message) {
  gLines.push_back({level, where ? where : "", message});
}
}  // namespace

LogCapture::LogCapture() {
  gLines.clear();
  setLogListener(collect);
}
LogCapture::~LogCapture() { setLogListener(nullptr); }
const std::vector<LogCapture::Line>& LogCapture::lines() const { return gLines; }
bool LogCapture::has(const std::string& message, int level) const {
  return std::any_of(gLines.begin(), gLines.end(), [&](const Line& l) {
    return l.message == message && (level == 0 || l.level == level);
  });
}
