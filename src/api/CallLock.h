// CallLock.h - one call into the library at a time.
//
// The library keeps one printer connection, one configuration record and
// one log setting per process, and none of them may be used by two threads
// at once: a text sent while another is sent would mix with it character
// by character, and a pipe closed by one call would be freed under a write
// of another. So every export that reaches any of them holds this lock from
// its first step to its result, and so does the start-up at load: calls
// from several threads run one after the other, each whole.
//
// It cannot deadlock. The lock is taken only at the outer edge of the
// library, by an export or by the start-up, and nothing done under it calls
// an export or starts the library again: the exports call the library's
// inner functions, never each other (the code-page setter that a text runs
// first is the inner one). So a thread that holds it never waits for it.
// The only other locks taken under it are the system's, inside the calls
// the library makes (the loader's, when libusb is loaded); the loader runs
// the start-up under its own lock only while the library is being loaded,
// before any export can be called, so the two are never taken in opposite
// orders by two threads at once.
#pragma once

#include "api/LockPlatform.h"

namespace tq587 {

// Holds the library's lock for the life of the object.
class CallLock {
 public:
  CallLock() { lock_platform::acquire(); }
  ~CallLock() { lock_platform::release(); }
  CallLock(const CallLock&) = delete;
  CallLock& operator=(const CallLock&) = delete;
};

}  // namespace tq587
