// entry_posix.cpp - the shared library's load-time entry: start-up runs once
// when a process loads the library. Nothing is done at unload.
#include "api/Library.h"

namespace {

__attribute__((constructor)) void onLibraryLoad() { initDLL(); }

}  // namespace
