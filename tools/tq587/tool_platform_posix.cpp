// tool_platform_posix.cpp - the tq587 tool on POSIX systems (glibc's
// fopencookie holds log lines back).
#include <dlfcn.h>
#include <limits.h>
#include <stdio.h>
#include <unistd.h>

#include <string>

#include "ToolPlatform.h"

namespace tool_platform {

namespace {

// Standard error as it was, and the line not yet ended.
struct HeldBack {
  FILE* original = nullptr;
  std::string prefix;
  std::string line;
} held;

ssize_t takeLine(void*, const char* bytes, size_t size) {
  held.line.append(bytes, size);
  for (size_t end; (end = held.line.find('\n')) != std::string::npos; held.line.erase(0, end + 1)) {
    if (held.line.compare(0, held.prefix.size(), held.prefix) != 0) fwrite(held.line.data(), 1, end + 1, held.original);
  }
  return static_cast<ssize_t>(size);
}

}  // namespace

std::string defaultLibrary() {
  char self[PATH_MAX] = {};
  const ssize_t got = readlink("/proc/self/exe", self, sizeof self - 1);
  if (got > 0) {
    std::string dir(self, static_cast<size_t>(got));
    dir.erase(dir.rfind('/'));
    for (const std::string& candidate : {dir + "/libTQ587.so", dir + "/../libTQ587.so"}) {
      if (access(candidate.c_str(), R_OK) == 0) return candidate;
    }
  }
  return "libTQ587.so";
}

void* loadLibrary(const std::string& path, std::string& error) {
  void* library = dlopen(path.c_str(), RTLD_NOW);
  if (library == nullptr) error = dlerror();
  return library;
}

void* findFunction(void* library, const char* name, std::string& error) {
  void* function = dlsym(library, name);
  if (function == nullptr) error = dlerror();
  return function;
}

bool stdinIsTerminal() { return isatty(STDIN_FILENO) != 0; }

std::string makeFolderCommand(const std::string& folder) { return "mkdir -p '" + folder + "'"; }

bool holdBackStderrLines(const std::string& prefix) {
  cookie_io_functions_t io = {};
  io.write = &takeLine;
  FILE* filtered = fopencookie(nullptr, "w", io);
  if (filtered == nullptr) return false;
  setvbuf(filtered, nullptr, _IOLBF, BUFSIZ);
  held.original = stderr;
  held.prefix = prefix;
  stderr = filtered;
  return true;
}

void stopHoldingBack() {
  if (held.original == nullptr) return;
  fclose(stderr);
  stderr = held.original;
  held.original = nullptr;
  fputs(held.line.c_str(), stderr);  // an unfinished last line
  held.line.clear();
}

}  // namespace tool_platform
