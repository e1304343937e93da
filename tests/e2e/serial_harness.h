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
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/OneBitBmp.h"

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

// A 1-bit BMP of width x height dots whose every row is stored as row.
inline std::string bmpFile(uint32_t width, uint32_t height, const std::string& row) {
  std::string stored;
  for (uint32_t y = 0; y < height; ++y) stored += row;
  return oneBitBmp(width, height, stored);
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

// Starts argv in dir with env added to its environment: standard input from
// <dir>/<name>.in (/dev/null when there is none), output and error to
// <dir>/<name>.out and .err.
inline pid_t start(const std::vector<std::string>& argv, const Scratch& dir, const std::string& name,
                   const std::vector<std::string>& env = {}) {
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  const std::string in = dir.file(name + ".in"), out = dir.file(name + ".out"), err = dir.file(name + ".err");
  std::fflush(nullptr);
  const pid_t pid = fork();
  if (pid == 0) {
    const int input = open(in.c_str(), O_RDONLY);
    dup2(input >= 0 ? input : open("/dev/null", O_RDONLY), 0);
    dup2(open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 1);
    dup2(open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 2);
    for (int fd = 3; fd < 256; ++fd) close(fd);
    for (const std::string& e : env) putenv(const_cast<char*>(e.c_str()));
    if (chdir(dir.path.c_str()) != 0) _exit(126);
    execv(args[0], args.data());
    _exit(127);
  }
  return pid;
}

struct Finished {
  int status;  // -1: killed after 10 s
  std::string out, err;
};

// Runs argv in dir to the end, input on its standard input.
inline Finished run(const std::vector<std::string>& argv, const Scratch& dir, const std::string& input = "",
                    const std::vector<std::string>& env = {}) {
  writeFile(dir.file("run.in"), input);
  const int status = reap(start(argv, dir, "run", env), 10);
  return {status, dir.read("run.out"), dir.read("run.err")};
}

// The status probes a port gets when it is tried at the configured speed
// and then searched at all seven speeds without an answer.
const Bytes kProbedAtEverySpeed = {0x10, 0x04, 0x01, 0x10, 0x04, 0x02, 0x10, 0x04, 0x02, 0x10, 0x04, 0x02,
                                   0x10, 0x04, 0x02, 0x10, 0x04, 0x02, 0x10, 0x04, 0x02, 0x10, 0x04, 0x02};

// tq587-virtual-printer on COM<port> of a scratch directory (port 0: on the
// USB socket <dir>/usb.sock only), recording to <dir>/com<port>.bin. speed
// 0: answers at any speed; options: more of its options (--silent, faults
// to play).
struct VirtualPrinter {
  VirtualPrinter(const Scratch& dir, int port, long speed, const std::vector<std::string>& options = {})
      : name("com" + std::to_string(port)), record(dir.file(name + ".bin")) {
    std::vector<std::string> argv = {TQ587_VIRTUAL_PRINTER, "--speed",      std::to_string(speed), "--record",
                                     record,                "--ready-file", dir.file(name + ".ready")};
    if (port == 0) argv.insert(argv.end(), {"--usb", dir.file("usb.sock")});
    if (port != 0) argv.insert(argv.end(), {"--dir", dir.path, "--port", std::to_string(port)});
    argv.insert(argv.end(), options.begin(), options.end());
    pid = start(argv, dir, name);
    ready = waitFor([&] { return access(dir.file(name + ".ready").c_str(), F_OK) == 0; }, 5);
    EXPECT_TRUE(ready) << "virtual printer " << name << " did not start: " << dir.read(name + ".err");
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

  std::string name, record;
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
  // Each comes in one write, that a pipe does not split.
  bool next(double seconds, int& value) {
    pollfd p = {fromChild_, POLLIN, 0};
    return poll(&p, 1, static_cast<int>(seconds * 1000)) > 0 && read(fromChild_, &value, sizeof value) == sizeof value;
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
};

}  // namespace e2e
