// serial_harness.h - what the serial end-to-end tests share: a scratch
// directory with CONVERSOR.INI and dosdevices/, virtual printers on
// pseudo-terminals, and the library loaded in a child process.
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
#include <time.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace e2e {

using Bytes = std::vector<uint8_t>;

inline Bytes bytesOf(const std::string& text) { return Bytes(text.begin(), text.end()); }

inline Bytes join(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

inline double now() {
  timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

inline bool readFile(const std::string& path, std::string& content) {
  FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) return false;
  content.clear();
  char chunk[4096];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, f)) > 0) content.append(chunk, got);
  std::fclose(f);
  return true;
}

inline void writeFile(const std::string& path, const std::string& content) {
  FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr) << path;
  ASSERT_EQ(std::fwrite(content.data(), 1, content.size(), f), content.size());
  std::fclose(f);
}

// A 24-bit BMP file, rows stored bottom-up; dark(x, y) with y = 0 the top row.
inline std::string bmpFile(int width, int height, const std::function<bool(int, int)>& dark) {
  const int stride = (width * 3 + 3) / 4 * 4;
  const uint32_t dataSize = static_cast<uint32_t>(stride * height);
  std::string file(54 + dataSize, '\0');
  auto put = [&file](size_t at, uint32_t value, int size) {
    for (int k = 0; k < size; ++k) file[at + k] = static_cast<char>((value >> (8 * k)) & 0xFF);
  };
  file[0] = 'B';
  file[1] = 'M';
  put(2, 54 + dataSize, 4);
  put(10, 54, 4);
  put(14, 40, 4);
  put(18, static_cast<uint32_t>(width), 4);
  put(22, static_cast<uint32_t>(height), 4);
  put(26, 1, 2);
  put(28, 24, 2);
  put(34, dataSize, 4);
  for (int row = 0; row < height; ++row) {
    const int y = height - 1 - row;
    for (int x = 0; x < width; ++x) {
      const char level = dark(x, y) ? '\0' : '\xFF';
      const size_t at = 54 + static_cast<size_t>(row * stride + x * 3);
      file[at] = file[at + 1] = file[at + 2] = level;
    }
  }
  return file;
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

// Writes content into a named pipe once its reader has opened it; false
// when no reader came within seconds.
inline bool writeToFifo(const std::string& path, const std::string& content, double seconds) {
  int fd = -1;
  if (!waitFor([&] { return (fd = open(path.c_str(), O_WRONLY | O_NONBLOCK)) >= 0; }, seconds)) return false;
  fcntl(fd, F_SETFL, 0);
  const bool whole = write(fd, content.data(), content.size()) == static_cast<ssize_t>(content.size());
  close(fd);
  return whole;
}

// A new directory under /tmp holding dosdevices/com1..com20 as links to
// nothing (ports that are not there). Removed at the end unless the test
// failed, when its path is printed so that its logs can be read.
class Scratch {
 public:
  Scratch() {
    char name[] = "/tmp/tq587-e2e-XXXXXX";
    path_ = mkdtemp(name) != nullptr ? name : "";
    EXPECT_FALSE(path_.empty());
    mkdir((path_ + "/dosdevices").c_str(), 0755);
    for (int port = 1; port <= 20; ++port) {
      const std::string link = path_ + "/dosdevices/com" + std::to_string(port);
      EXPECT_EQ(symlink(("/nonexistent/com" + std::to_string(port)).c_str(), link.c_str()), 0);
    }
  }
  ~Scratch() {
    if (::testing::Test::HasFailure()) {
      std::printf("scratch directory kept: %s\n", path_.c_str());
    } else if (!path_.empty()) {
      const std::string command = "rm -rf '" + path_ + "'";
      if (std::system(command.c_str()) != 0) std::printf("could not remove %s\n", path_.c_str());
    }
  }
  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + "/" + name; }
  std::string read(const std::string& name) const {
    std::string content;
    readFile(file(name), content);
    return content;
  }

 private:
  std::string path_;
};

// tq587-virtual-printer on COM<port> of a scratch directory, recording to
// <dir>/com<port>.bin.
class VirtualPrinter {
 public:
  // speed 0: answers at any speed; silent: a port with no printer behind it.
  VirtualPrinter(const Scratch& dir, int port, long speed, bool silent = false)
      : record_(dir.file("com" + std::to_string(port) + ".bin")) {
    int out[2];
    if (pipe(out) != 0) return;
    const std::string portText = std::to_string(port);
    const std::string speedText = std::to_string(speed);
    pid_ = fork();
    if (pid_ == 0) {
      dup2(out[1], 1);
      close(out[0]);
      close(out[1]);
      const char* argv[] = {TQ587_VIRTUAL_PRINTER, "--dir", dir.path().c_str(), "--port", portText.c_str(),
                            "--speed", speedText.c_str(), "--record", record_.c_str(),
                            silent ? "--silent" : nullptr, nullptr};
      execv(argv[0], const_cast<char* const*>(argv));
      _exit(127);
    }
    close(out[1]);
    // Ready once it has printed its ready line.
    std::string line;
    const double deadline = now() + 5;
    while (line.find('\n') == std::string::npos && now() < deadline) {
      pollfd p = {out[0], POLLIN, 0};
      if (poll(&p, 1, 100) <= 0) continue;
      char chunk[256];
      const ssize_t got = ::read(out[0], chunk, sizeof chunk);
      if (got <= 0) break;
      line.append(chunk, static_cast<size_t>(got));
    }
    close(out[0]);
    ready_ = line.rfind("ready ", 0) == 0;
    EXPECT_TRUE(ready_) << "virtual printer on COM" << port << " did not start: " << line;
  }

  ~VirtualPrinter() { stop(); }

  bool ready() const { return ready_; }

  // Stops the printer (as when it is switched off) and waits for it.
  // True when it stopped cleanly within two seconds.
  bool stop() {
    if (pid_ <= 0) return stopped_;
    kill(pid_, SIGTERM);
    const double deadline = now() + 2;
    int status = 0;
    while (waitpid(pid_, &status, WNOHANG) == 0) {
      if (now() > deadline) {
        kill(pid_, SIGKILL);
        waitpid(pid_, &status, 0);
        break;
      }
      usleep(10000);
    }
    pid_ = 0;
    stopped_ = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return stopped_;
  }

  // Every byte the printer received (stop it first).
  Bytes received() const {
    std::string content;
    readFile(record_, content);
    return bytesOf(content);
  }

 private:
  std::string record_;
  pid_t pid_ = 0;
  bool ready_ = false;
  bool stopped_ = false;
};

constexpr int kMissingFunction = -1000;
constexpr int kPaused = -2000;

// The library as the child process sees it.
class Library {
 public:
  Library(void* handle, int toParent, int fromParent)
      : handle_(handle), toParent_(toParent), fromParent_(fromParent) {}

  int call(const char* name) {
    auto f = reinterpret_cast<int (*)()>(dlsym(handle_, name));
    return f != nullptr ? f() : kMissingFunction;
  }
  int call(const char* name, const char* argument) {
    auto f = reinterpret_cast<int (*)(const char*)>(dlsym(handle_, name));
    return f != nullptr ? f(argument) : kMissingFunction;
  }
  int print(const char* text) {
    auto f = reinterpret_cast<int (*)(const char*, int)>(dlsym(handle_, "TQ587_iImprimirTexto"));
    return f != nullptr ? f(text, 0) : kMissingFunction;
  }

  // Hands a value to the test.
  void report(int value) {
    if (write(toParent_, &value, sizeof value) != sizeof value) _exit(5);
  }
  // Reports kPaused and waits until the test lets the child go on.
  void pause() {
    report(kPaused);
    char go;
    if (::read(fromParent_, &go, 1) != 1) _exit(6);
  }

 private:
  void* handle_;
  int toParent_;
  int fromParent_;
};

// A child process that changes to dir, loads the library and runs body.
// Its console output (the library's log) goes to <dir>/library.log.
class LibraryProcess {
 public:
  LibraryProcess(const Scratch& dir, const std::function<void(Library&)>& body) {
    int up[2];
    int down[2];
    if (pipe(up) != 0 || pipe(down) != 0) return;
    std::fflush(nullptr);
    pid_ = fork();
    if (pid_ == 0) {
      close(up[0]);
      close(down[1]);
      const int log = open(dir.file("library.log").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      dup2(log, 1);
      dup2(log, 2);
      if (chdir(dir.path().c_str()) != 0) _exit(3);
      void* handle = dlopen(TQ587_LIBRARY_PATH, RTLD_NOW);
      if (handle == nullptr) {
        std::fprintf(stderr, "dlopen: %s\n", dlerror());
        std::fflush(nullptr);
        _exit(4);
      }
      Library library(handle, up[1], down[0]);
      body(library);
      std::fflush(nullptr);
      _exit(0);
    }
    close(up[1]);
    close(down[0]);
    fromChild_ = up[0];
    toChild_ = down[1];
  }

  ~LibraryProcess() {
    if (pid_ > 0) finish(0);
    if (fromChild_ >= 0) close(fromChild_);
    if (toChild_ >= 0) close(toChild_);
  }

  // The next value the child reported; false when none came in time.
  bool next(int& value, double seconds) {
    size_t have = 0;
    char* bytes = reinterpret_cast<char*>(&value);
    const double deadline = now() + seconds;
    while (have < sizeof value) {
      const double left = deadline - now();
      if (left <= 0) return false;
      pollfd p = {fromChild_, POLLIN, 0};
      if (poll(&p, 1, static_cast<int>(left * 1000) + 1) <= 0) continue;
      const ssize_t got = ::read(fromChild_, bytes + have, sizeof value - have);
      if (got <= 0) return false;
      have += static_cast<size_t>(got);
    }
    return true;
  }

  // The values reported until the child pauses or ends, each within seconds.
  std::vector<int> results(double seconds) {
    std::vector<int> values;
    int value;
    while (next(value, seconds) && value != kPaused) values.push_back(value);
    return values;
  }

  void resume() {
    const char go = 1;
    EXPECT_EQ(write(toChild_, &go, 1), 1);
  }

  // Waits for the child to end; false when it ran past seconds (it is then
  // killed) or did not exit with 0.
  bool finish(double seconds) {
    if (pid_ <= 0) return false;
    const double deadline = now() + seconds;
    int status = 0;
    bool inTime = true;
    while (waitpid(pid_, &status, WNOHANG) == 0) {
      if (now() > deadline) {
        kill(pid_, SIGKILL);
        waitpid(pid_, &status, 0);
        inTime = false;
        break;
      }
      usleep(10000);
    }
    pid_ = 0;
    return inTime && WIFEXITED(status) && WEXITSTATUS(status) == 0;
  }

 private:
  pid_t pid_ = 0;
  int fromChild_ = -1;
  int toChild_ = -1;
};

}  // namespace e2e
