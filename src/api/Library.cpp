// Library.cpp - what the library does when a process loads it.
#include "api/Library.h"

#include <cstdlib>
#include <cstring>

#include "api/CallLock.h"
#include "config/MasterController.h"
#include "connection/PrinterController.h"
#include "log/Log.h"

namespace {

// Block mode on USB (TQ587_USB_BLOCO=1) is the one switch that is not in
// CONVERSOR.INI, for two reasons: every application on the machine shares
// that file, which the setters write back with their fixed set of keys (any
// other key is lost); and block mode changes what an application learns
// when a transfer fails (known per block, no longer per character), which
// is that application's choice for its own process.
bool usbBlocksAsked() {
  const char* value = std::getenv("TQ587_USB_BLOCO");
  return value && std::strcmp(value, "1") == 0;
}

}  // namespace

void initDLL() {
  // the same state as the exports use: under the same lock
  const tq587::CallLock lock;
  MasterController::getInstance().load();
  tq587::log("========== Inicializando DLL ==========", LOG_INFO, "initDLL", __LINE__);
  PrinterController::getInstance().setUsbBlocks(usbBlocksAsked());
  // A printer that is off now is connected by the first printing call.
  PrinterController::getInstance().connect();
}
