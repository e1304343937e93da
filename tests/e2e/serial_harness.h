// serial_harness.h - what the end-to-end tests share: a scratch directory
// with dosdevices/, virtual printers on pseudo-terminals, and the library
// loaded in a child process.
//
// The library connects when it is loaded and reads CONVERSOR.INI from the
// current directory, so every scenario runs in a child that changes to its
// scratch directory first and only then loads the library.
#pragma once

#include <dlfcn.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace e2e {

using Bytes = std::vector<uint8_t>;

inline Bytes join(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

inline double now() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

inline std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void writeFile(const std::string& path, const std::string& content) {
  EXPECT_TRUE((std::ofstream(path, std::ios::binary) << content).good()) << path;
}

// Waits up to seconds for check() to hold.
inline bool waitFor(const std::function<bool()>& check, double seconds) {
  const double deadline = now() + seconds;
  while (!check()) {
    if (now() > deadline) return false;
    usleep(10000);
  }
  return true;
}

// Waits for pid to end, killing it after seconds; its exit code, -1 when it
// was killed or did not exit.
inline int reap(pid_t pid, double seconds) {
  int status = 0;
  if (!waitFor([&] { return waitpid(pid, &status, WNOHANG) != 0; }, seconds)) {
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
    return -1;
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Appends what fd gives to got until want() holds, it closes or seconds pass.
inline void readUntil(int fd, double seconds, const std::function<bool(const std::string&)>& want,
                      std::string& got) {
  const double deadline = now() + seconds;
  while (!want(got) && now() < deadline) {
    pollfd p = {fd, POLLIN, 0};
    if (poll(&p, 1, 100) <= 0) continue;
    char chunk[256];
    const ssize_t n = ::read(fd, chunk, sizeof chunk);
    if (n <= 0) break;
    got.append(chunk, static_cast<size_t>(n));
  }
}

// A scratch directory under /tmp holding dosdevices/com1..com20 as links to
// nothing (ports that are not there). Removed at the end unless the test
// failed, when its path is printed so that its logs can be read.
struct Scratch {
  std::string path;
  Scratch() {
    char name[] = "/tmp/tq587-e2e-XXXXXX";
    path = mkdtemp(name) != nullptr ? name : "";
    EXPECT_FALSE(path.empty());
    mkdir(file("dosdevices").c_str(), 0755);
    for (int port = 1; port <= 20; ++port)
      EXPECT_EQ(symlink(("/nonexistent/com" + std::to_string(port)).c_str(),
                        file("dosdevices/com" + std::to_string(port)).c_str()), 0);
  }
  ~Scratch() {
    if (::testing::Test::HasFailure()) {
      std::printf("scratch directory kept: %s\n", path.c_str());
    } else if (!path.empty() && std::system(("rm -rf '" + path + "'").c_str()) != 0) {
      std::printf("could not remove %s\n", path.c_str());
    }
  }
  std::string file(const std::string& name) const { return path + "/" + name; }
  std::string read(const std::string& name) const { return readFile(file(name)); }
};

// Runs argv[0] with its standard output (and error, when withErrors) on out
// and its standard input on in (unless -1), in cwd (unless null).
inline pid_t spawn(std::vector<const char*> argv, int in, int out, bool withErrors, const char* cwd = nullptr) {
  argv.push_back(nullptr);
  const pid_t pid = fork();
  if (pid == 0) {
    if (in >= 0) dup2(in, 0);
    dup2(out, 1);
    if (withErrors) dup2(out, 2);
    for (int fd = 3; fd < 256; ++fd) close(fd);
    if (cwd != nullptr && chdir(cwd) != 0) _exit(126);
    execv(argv[0], const_cast<char* const*>(argv.data()));
    _exit(127);
  }
  return pid;
}

// tq587-virtual-printer on COM<port> of a scratch directory, recording to
// <dir>/com<port>.bin. speed 0: answers at any speed; silent: a port with
// no printer behind it; options: more of its options (faults to play).
struct VirtualPrinter {
  VirtualPrinter(const Scratch& dir, int port, long speed, bool silent = false,
                 const std::vector<std::string>& options = {})
      : record(dir.file("com" + std::to_string(port) + ".bin")) {
    int out[2];
    if (pipe(out) != 0) return;
    const std::string portText = std::to_string(port);
    const std::string speedText = std::to_string(speed);
    std::vector<const char*> argv = {TQ587_VIRTUAL_PRINTER, "--dir", dir.path.c_str(), "--port", portText.c_str(),
                                     "--speed", speedText.c_str(), "--record", record.c_str()};
    if (silent) argv.push_back("--silent");
    for (const std::string& option : options) argv.push_back(option.c_str());
    pid = spawn(argv, -1, out[1], false);
    close(out[1]);
    std::string line;
    readUntil(out[0], 5, [](const std::string& s) { return s.find('\n') != std::string::npos; }, line);
    close(out[0]);
    ready = line.rfind("ready ", 0) == 0;
    EXPECT_TRUE(ready) << "virtual printer on COM" << port << " did not start: " << line;
  }
  ~VirtualPrinter() { stop(); }

  // Stops the printer (as when it is switched off); true when it stopped
  // cleanly within two seconds.
  bool stop() {
    if (pid > 0) {
      kill(pid, SIGTERM);
      stopped = reap(pid, 2) == 0;
      pid = 0;
    }
    return stopped;
  }

  // Every byte the printer received (stop it first).
  Bytes received() const {
    const std::string content = readFile(record);
    return Bytes(content.begin(), content.end());
  }

  std::string record;
  pid_t pid = 0;
  bool ready = false;
  bool stopped = false;
};

// A scratch directory with CONVERSOR.INI and a virtual printer on COM<port>.
struct Bench {
  explicit Bench(const std::string& ini, int port = 1, long speed = 9600) : printer(dir, port, speed) {
    writeFile(dir.file("CONVERSOR.INI"), ini);
  }
  Scratch dir;
  VirtualPrinter printer;
};

constexpr int kMissingFunction = -1000;

// The library as the child process sees it.
struct Library {
  void* handle;
  int toParent;
  template <typename... Args>
  int call(const char* name, Args... args) {
    auto f = reinterpret_cast<int (*)(Args...)>(dlsym(handle, name));
    return f != nullptr ? f(args...) : kMissingFunction;
  }
  int print(const char* text) { return call("TQ587_iImprimirTexto", text, 0); }

  // Hands a value to the test.
  void report(int value) {
    if (write(toParent, &value, sizeof value) != sizeof value) _exit(5);
  }
};

// A child process that changes to dir, loads the library and runs body.
// Its console output (the library's log) goes to <dir>/library.log. prepare
// runs in the child before it loads the library.
class LibraryProcess {
 public:
  LibraryProcess(const Scratch& dir, const std::function<void(Library&)>& body,
                 const std::function<void()>& prepare = nullptr) {
    int up[2];
    if (pipe(up) != 0) return;
    std::fflush(nullptr);
    pid_ = fork();
    if (pid_ == 0) {
      close(up[0]);
      const int log = open(dir.file("library.log").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      dup2(log, 1);
      dup2(log, 2);
      if (prepare) prepare();
      if (chdir(dir.path.c_str()) != 0) _exit(3);
      void* handle = dlopen(TQ587_LIBRARY_PATH, RTLD_NOW);
      if (handle == nullptr) {
        std::fprintf(stderr, "dlopen: %s\n", dlerror());
        std::fflush(nullptr);
        _exit(4);
      }
      Library library{handle, up[1]};
      body(library);
      std::fflush(nullptr);
      _exit(0);
    }
    close(up[1]);
    fromChild_ = up[0];
  }
  ~LibraryProcess() {
    finish(0);
    if (fromChild_ >= 0) close(fromChild_);
  }

  // The values reported until the child ends, each within seconds of the
  // one before (the first within seconds of the start, load included).
  std::vector<int> results(double seconds) {
    std::vector<int> values;
    for (int value; next(seconds, value);) values.push_back(value);
    return values;
  }

  // The next value reported, within seconds; false when none came.
  bool next(double seconds, int& value) {
    readUntil(fromChild_, seconds, [](const std::string& s) { return s.size() >= sizeof(int); }, got_);
    if (got_.size() < sizeof(int)) return false;
    std::memcpy(&value, got_.data(), sizeof value);
    got_.erase(0, sizeof value);
    return true;
  }

  // Waits for the child to end; false when it ran past seconds (it is then
  // killed) or did not exit with 0.
  bool finish(double seconds) {
    if (pid_ <= 0) return false;
    const bool ok = reap(pid_, seconds) == 0;
    pid_ = 0;
    return ok;
  }

 private:
  pid_t pid_ = 0;
  int fromChild_ = -1;
  std::string got_;  // read from the child, not yet taken
};

}  // namespace e2e
