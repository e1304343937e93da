// call_lock_win32.cpp - the library's lock on Windows: a slim reader/writer
// lock, taken exclusively. It needs no initialisation call (SRWLOCK_INIT is
// a constant) and nothing to free, so it is usable from DllMain on.
#include <windows.h>

#include "api/LockPlatform.h"

namespace tq587 {
namespace lock_platform {

namespace {
SRWLOCK theLock = SRWLOCK_INIT;
}  // namespace

void acquire() { AcquireSRWLockExclusive(&theLock); }
void release() { ReleaseSRWLockExclusive(&theLock); }

}  // namespace lock_platform
}  // namespace tq587
