// Library.cpp - what the library does when a process loads it.
#include "api/Library.h"

#include "config/MasterController.h"
#include "connection/PrinterController.h"
#include "log/Log.h"

void initDLL() {
  MasterController::getInstance().load();
  tq587::log("========== Inicializando DLL ==========", LOG_INFO, "initDLL", __LINE__);
  // A printer that is off now is connected by the first printing call.
  PrinterController::getInstance().connect();
}
