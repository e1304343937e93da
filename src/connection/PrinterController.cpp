// PrinterController.cpp - chooses the kind of pipe, keeps it, falls back.
#include "connection/PrinterController.h"

#include <cstring>

#include "config/MasterController.h"
#include "connection/PrinterSerial.h"
#include "connection/PrinterUsb.h"
#include "log/Log.h"

PrinterController& PrinterController::getInstance() {
  // Lives until the process ends; never destroyed.
  static PrinterController* instance = new PrinterController();
  return *instance;
}

int PrinterController::connect() {
  static const char* const kWhere = "PrinterController::connect";
  const Configuration& config = MasterController::getInstance().config();
  // METODO_DE_COMUNICACAO holds at most 9 characters: compare within the field.
  char method[sizeof config.method + 1] = {};
  std::memcpy(method, config.method, sizeof config.method);

  int result = 0;
  bool known = true;
  if (std::strcmp(method, "SERIAL") == 0) {
    result = connectSerial();
    if (result != 1) result = connectUsb();
  } else if (std::strcmp(method, "USB") == 0) {
    result = connectUsb();
    if (result != 1) result = connectSerial();
  } else {
    known = false;
    tq587::log("Metodo de comunica\xE7\xE3o desconhecido.", LOG_INFO, kWhere, __LINE__);
  }

  if (known && result != 0) {
    connected_ = true;
    return result;
  }
  tq587::log("Falha em estabelecer conex\xE3o.", LOG_INFO, kWhere, __LINE__);
  pipe_.reset();
  connected_ = false;
  return 0;
}

int PrinterController::connectSerial() {
  tq587::log("Iniciando comunica\xE7\xE3o serial.", LOG_INFO, "PrinterController::connectSerial",
             __LINE__);
  usbPipe_ = false;
  return startPipe(serialFactory_ ? serialFactory_() : std::make_unique<PrinterSerial>());
}

int PrinterController::connectUsb() {
  tq587::log("Iniciando comunica\xE7\xE3o usb.", LOG_INFO, "PrinterController::connectUsb",
             __LINE__);
  usbPipe_ = true;
  return startPipe(usbFactory_ ? usbFactory_() : std::make_unique<PrinterUsb>());
}

int PrinterController::startPipe(std::unique_ptr<AbstractCommunicationPipe> pipe) {
  pipe_ = std::move(pipe);  // the previous pipe, if any, is destroyed here
  return pipe_ ? pipe_->startCommunication() : 0;
}

int PrinterController::disconnect() {
  if (!pipe_) return 1;
  const int result = pipe_->close();
  pipe_.reset();
  connected_ = false;
  return result;
}

AbstractCommunicationPipe* PrinterController::reachPipe() {
  if (blocks_.active()) return &blocks_;
  if (pipe_ || connect() == 1) return pipe_.get();
  return nullptr;
}

void PrinterController::beginBlocks() {
  if (usbBlocks_ && usbPipe_ && pipe_) blocks_.begin(*pipe_);
}

bool PrinterController::endBlocks() { return !blocks_.active() || blocks_.end(); }

void PrinterController::setPipeFactories(PipeFactory serial, PipeFactory usb) {
  serialFactory_ = serial;
  usbFactory_ = usb;
}

void PrinterController::setPipe(std::unique_ptr<AbstractCommunicationPipe> pipe, bool connected) {
  pipe_ = std::move(pipe);
  connected_ = connected;
  usbPipe_ = false;
}
