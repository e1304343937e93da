// log_directory_win32.cpp - the fixed log directory on Windows.
#include "log/Log.h"

std::string logDirectory() { return "c:\\KORVA\\"; }
