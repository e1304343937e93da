#include "TestSupport.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>

#include "connection/PrinterController.h"
#include "log/Log.h"

int RecordingPipe::write(const uint8_t* bytes, int32_t length) {
  const int index = static_cast<int>(writes.size());
  writes.emplace_back(bytes, bytes + (length > 0 ? length : 0));
  if (script.failFromWrite >= 0 && index >= script.failFromWrite) return 0;
  return std::max(0, length - script.shortBy);
}

Bytes RecordingPipe::joined() const {
  Bytes all;
  for (const Bytes& w : writes) all.insert(all.end(), w.begin(), w.end());
  return all;
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

Bytes bytesOf(const std::string& text) { return Bytes(text.begin(), text.end()); }

namespace {

void removeTree(const std::string& path) {
  if (DIR* dir = opendir(path.c_str())) {
    while (dirent* entry = readdir(dir)) {
      const std::string name = entry->d_name;
      if (name == "." || name == "..") continue;
      const std::string child = path + "/" + name;
      struct stat st;
      if (lstat(child.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
        removeTree(child);
      } else {
        unlink(child.c_str());
      }
    }
    closedir(dir);
  }
  rmdir(path.c_str());
}

}  // namespace

ScratchDir::ScratchDir() {
  char cwd[PATH_MAX];
  if (getcwd(cwd, sizeof cwd)) old_ = cwd;
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/tq587-test-XXXXXX";
  std::vector<char> buf(pattern.begin(), pattern.end());
  buf.push_back('\0');
  if (mkdtemp(buf.data())) path_ = buf.data();
  if (!path_.empty() && chdir(path_.c_str()) != 0) path_.clear();
}

ScratchDir::~ScratchDir() {
  if (!old_.empty() && chdir(old_.c_str()) != 0) return;
  if (!path_.empty()) removeTree(path_);
}

void ScratchDir::write(const std::string& name, const std::string& content) const {
  std::ofstream out(path_ + "/" + name, std::ios::binary);
  out << content;
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
std::vector<std::string> LogCapture::messages() const {
  std::vector<std::string> out;
  for (const Line& l : gLines) out.push_back(l.message);
  return out;
}
void LogCapture::clear() { gLines.clear(); }
