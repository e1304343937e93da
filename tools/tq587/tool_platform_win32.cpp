// tool_platform_win32.cpp - the tq587 tool on Windows.
#include <io.h>
#include <stdio.h>
#include <windows.h>

#include <string>

#include "ToolPlatform.h"

namespace tool_platform {

std::string defaultLibrary() {
  char self[MAX_PATH] = {};
  const DWORD got = GetModuleFileNameA(nullptr, self, MAX_PATH);
  if (got > 0 && got < MAX_PATH) {
    std::string dir(self, got);
    dir.erase(dir.find_last_of("\\/"));
    for (const std::string& candidate : {dir + "\\TQ587.dll", dir + "\\..\\TQ587.dll"}) {
      if (GetFileAttributesA(candidate.c_str()) != INVALID_FILE_ATTRIBUTES) return candidate;
    }
  }
  return "TQ587.dll";
}

void* loadLibrary(const std::string& path, std::string& error) {
  HMODULE library = LoadLibraryA(path.c_str());
  if (library == nullptr) error = "cannot load " + path + " (error " + std::to_string(GetLastError()) + ")";
  return reinterpret_cast<void*>(library);
}

void* findFunction(void* library, const char* name, std::string& error) {
  FARPROC function = GetProcAddress(static_cast<HMODULE>(library), name);
  if (function == nullptr) error = std::string(name) + " not found (error " + std::to_string(GetLastError()) + ")";
  return reinterpret_cast<void*>(function);
}

bool stdinIsTerminal() { return _isatty(_fileno(stdin)) != 0; }

std::string makeFolderCommand(const std::string& folder) { return "mkdir \"" + folder + "\""; }

// The library writes its log to the C runtime's own standard error, which
// this program cannot put a filter in front of: the lines pass.
bool holdBackStderrLines(const std::string&) { return false; }

void stopHoldingBack() {}

}  // namespace tool_platform
