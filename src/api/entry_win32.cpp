// entry_win32.cpp - the DLL entry point: process attach runs the start-up;
// thread attach, thread detach and process detach do nothing.
#include <windows.h>

#include "api/Library.h"

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID reserved) {
  (void)module;
  (void)reserved;
  if (reason == DLL_PROCESS_ATTACH) initDLL();
  return TRUE;
}
