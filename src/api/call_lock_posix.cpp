// call_lock_posix.cpp - the library's lock on POSIX: a statically
// initialised pthread mutex.
#include <pthread.h>

#include "api/LockPlatform.h"

namespace tq587 {
namespace lock_platform {

namespace {
pthread_mutex_t theLock = PTHREAD_MUTEX_INITIALIZER;
}  // namespace

void acquire() { pthread_mutex_lock(&theLock); }
void release() { pthread_mutex_unlock(&theLock); }

}  // namespace lock_platform
}  // namespace tq587
