// serial_harness.h - what the end-to-end tests share: a scratch directory
// with dosdevices/, programs run in it (virtual printers on pseudo-terminals
// among them), and the library loaded in a child process.
//
// The library connects when it is loaded and reads CONVERSOR.INI from the
// current directory, so every scenario runs in a child that changes to its
// scratch directory first and only then loads the library.
#pragma once

#include <dlfcn.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace e2e {

using Bytes = std::vector<uint8_t>;

inline std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void writeFile(const std::string& path, const std::string& content) {
  EXPECT_TRUE((std::ofstream(path, std::ios::binary) << content).good()) << path;
}

// The lines of the library's console log as "LEVEL where: message",
// without their time and source line.
inline std::vector<std::string> consoleLines(const std::string& log) {
  std::vector<std::string> lines;
  std::istringstream in(log);
  for (std::string l; std::getline(in, l);) {
    char level[8] = "", where[80] = "";
    int at = 0;  // where the message starts
    std::sscanf(l.c_str(), "[%7[A-Z]]\t%*s %*s %79s %*d\t**%n", level, where, &at);
    lines.push_back(at > 0 ? std::string(level) + " " + where + " " + l.substr(at) : l);
  }
  return lines;
}

// Waits up to seconds for check() to hold.
inline bool waitFor(const std::function<bool()>& check, double seconds) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  for (; !check(); usleep(10000))
    if (std::chrono::steady_clock::now() > deadline) return false;
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

// A scratch directory under /tmp holding dosdevices/com1..com20 as links to
// nothing (ports that are not there) and dosdevices/c:/ (without KORVA).
// Removed at the end unless the test failed, when its path is printed so
// that its logs can be read.
struct Scratch {
  std::string path;
  Scratch() {
    char name[] = "/tmp/tq587-e2e-XXXXXX";
    path = mkdtemp(name) != nullptr ? name : "";
    EXPECT_FALSE(path.empty());
    mkdir(file("dosdevices").c_str(), 0755);
    mkdir(file("dosdevices/c:").c_str(), 0755);
    for (int port = 1; port <= 20; ++port) {
      const std::string com = "com" + std::to_string(port);
      EXPECT_EQ(symlink(("/nonexistent/" + com).c_str(), file("dosdevices/" + com).c_str()), 0);
    }
  }
  ~Scratch() {
    if (::testing::Test::HasFailure()) std::printf("scratch directory kept: %s\n", path.c_str());
    else if (std::system(("rm -rf '" + path + "'").c_str()) != 0) std::printf("not removed: %s\n", path.c_str());
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
    if (chdir(dir.path.c_str()) == 0) execv(args[0], args.data());
    _exit(127);
  }
  return pid;
}

// status -1: killed after 10 s
struct Finished { int status; std::string out, err; };

// Runs argv in dir to the end, input on its standard input.
inline Finished run(const std::vector<std::string>& argv, const Scratch& dir, const std::string& input = "",
                    const std::vector<std::string>& env = {}) {
  writeFile(dir.file("run.in"), input);
  const int status = reap(start(argv, dir, "run", env), 10);
  return {status, dir.read("run.out"), dir.read("run.err")};
}

// tq587-virtual-printer on COM<port> of a scratch directory (port 0: on the
// USB socket <dir>/usb.sock only), recording to <dir>/com<port>.bin. speed
// 0: answers at any speed; options: more of its options (--silent, faults
// to play).
struct VirtualPrinter {
  VirtualPrinter(const Scratch& dir, int port, long speed, const std::vector<std::string>& options = {})
      : record(dir.file("com" + std::to_string(port) + ".bin")) {
    const std::string name = "com" + std::to_string(port), ready = dir.file(name + ".ready");
    std::vector<std::string> argv = {TQ587_VIRTUAL_PRINTER, "--speed", std::to_string(speed), "--record", record,
                                     "--ready-file", ready};
    if (port == 0) argv.insert(argv.end(), {"--usb", dir.file("usb.sock")});
    if (port != 0) argv.insert(argv.end(), {"--dir", dir.path, "--port", std::to_string(port)});
    argv.insert(argv.end(), options.begin(), options.end());
    pid = start(argv, dir, name);
    EXPECT_TRUE(waitFor([&] { return access(ready.c_str(), F_OK) == 0; }, 5)) << dir.read(name + ".err");
  }
  ~VirtualPrinter() { stop(); }

  // Stops the printer (as when it is switched off); true when it stopped
  // cleanly within the seconds given (drawing the last receipt included).
  bool stop(double seconds = 2) {
    if (pid > 0) stopped = (kill(pid, SIGTERM), reap(pid, seconds) == 0);
    pid = 0;
    return stopped;
  }

  // Every byte the printer received (stop it first).
  Bytes received() const {
    const std::string bytes = readFile(record);
    return Bytes(bytes.begin(), bytes.end());
  }

  std::string record;
  pid_t pid = 0;
  bool stopped = false;
};

// The library as the child process sees it.
struct Library {
  void* handle;
  FILE* results;
  template <typename... Args>
  int call(const char* name, Args... args) {
    auto f = reinterpret_cast<int (*)(Args...)>(dlsym(handle, name));
    return f != nullptr ? f(args...) : -1000;  // -1000: no such export
  }
  // Hands a value to the test.
  void report(int value) { std::fprintf(results, "%d\n", value); }
};

// Runs body in a child process that changes to dir and loads the library
// (from path), after prepare(). Its console output (the library's log, a
// line at a time as on a terminal) goes to <dir>/library.log. The values
// body reported, then -2000 if the child did not exit with 0 within seconds.
inline std::vector<int> inLibrary(const Scratch& dir, double seconds, const std::function<void(Library&)>& body,
                                  const std::function<void()>& prepare = nullptr,
                                  const std::string& path = TQ587_LIBRARY_PATH) {
  std::fflush(nullptr);
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(open(dir.file("library.log").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 1);
    dup2(1, 2);
    setvbuf(stdout, nullptr, _IOLBF, 0);
    FILE* results = std::fopen(dir.file("results").c_str(), "w");
    if (prepare) prepare();
    void* handle = chdir(dir.path.c_str()) == 0 ? dlopen(path.c_str(), RTLD_NOW) : nullptr;
    if (handle == nullptr) _exit((std::fprintf(stderr, "dlopen: %s\n", dlerror()), 4));
    Library library{handle, results};
    body(library);
    std::fflush(nullptr);
    _exit(0);
  }
  const int status = reap(pid, seconds);
  std::vector<int> values;
  std::istringstream in(dir.read("results"));
  for (int value; in >> value;) values.push_back(value);
  if (status != 0) values.push_back(-2000);
  return values;
}

}  // namespace e2e
