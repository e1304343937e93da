// LockPlatform.h - the one process-wide lock of the library, on the
// operating system's own primitive.
//
// One file per platform implements these calls (call_lock_posix.cpp,
// call_lock_win32.cpp). The lock is ready before any code of the library
// runs (statically initialised) and is never destroyed, so that it can be
// taken at load time and by a call made while the process exits.
#pragma once

namespace tq587 {
namespace lock_platform {

// Waits until no other thread holds the lock, then holds it. Not
// recursive: the holder must not take it again.
void acquire();
void release();

}  // namespace lock_platform
}  // namespace tq587
