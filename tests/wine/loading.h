/* loading.h - how the test programs load the library: by its path, as a
 * point-of-sale application does, on Linux and on Windows. */
#pragma once

#ifdef _WIN32
#include <windows.h>
static void* openLibrary(const char* path) { return (void*)LoadLibraryA(path); }
static void* findFunction(void* library, const char* name) {
  return (void*)GetProcAddress((HMODULE)library, name);
}
#else
#include <dlfcn.h>
static void* openLibrary(const char* path) { return dlopen(path, RTLD_NOW); }
static void* findFunction(void* library, const char* name) { return dlsym(library, name); }
#endif
