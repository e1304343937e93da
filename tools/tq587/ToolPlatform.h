// ToolPlatform.h - what the tq587 tool needs of the operating system:
// finding and loading the driver library, the console, and where the log
// folder's creation is told. One file per platform implements it
// (tool_platform_posix.cpp, tool_platform_win32.cpp).
#pragma once

#include <string>

namespace tool_platform {

// The library beside this program, or one folder up (a build's layout);
// else its bare name, for the system's own search.
std::string defaultLibrary();
// The loaded library, or nullptr with the system's reason in error.
void* loadLibrary(const std::string& path, std::string& error);
// The function of that name, or nullptr with the reason in error.
void* findFunction(void* library, const char* name, std::string& error);
// Whether standard input is a terminal a person types into.
bool stdinIsTerminal();
// How a user creates the folder, as a command to type.
std::string makeFolderCommand(const std::string& folder);
// Until stopHoldingBack(), standard error drops every whole line that
// begins with prefix. false where the platform cannot (the lines pass).
bool holdBackStderrLines(const std::string& prefix);
void stopHoldingBack();

}  // namespace tool_platform
