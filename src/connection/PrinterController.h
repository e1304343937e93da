// PrinterController.h - the process-wide owner of the printer connection.
#pragma once

#include <memory>

#include "connection/AbstractCommunicationPipe.h"

class PrinterController {
 public:
  static PrinterController& getInstance();

  // Opens a pipe by METODO_DE_COMUNICACAO, falling back to the other kind.
  // 1 connected (pipe held, connected true), 0 not (no pipe, connected false).
  int connect();
  int connectSerial();
  int connectUsb();
  // No pipe: 1. Otherwise close() it, drop it, connected false, close()'s result.
  int disconnect();

  AbstractCommunicationPipe* pipe() const { return pipe_.get(); }
  bool connected() const { return connected_; }
  // connect() unless the controller is connected already: whether it is
  // connected afterwards.
  bool ensureConnected() { return connected_ || connect() != 0; }

  // The pipe to write to: the current one, or a new connect() when there is
  // none. nullptr when the printer cannot be reached.
  AbstractCommunicationPipe* reachPipe();

  // Test seams: the pipes that connectSerial() and connectUsb() build, and a
  // pipe put in place directly (for example a recording pipe).
  using PipeFactory = std::unique_ptr<AbstractCommunicationPipe> (*)();
  void setPipeFactories(PipeFactory serial, PipeFactory usb);
  void setPipe(std::unique_ptr<AbstractCommunicationPipe> pipe, bool connected);

 private:
  PrinterController() = default;
  int startPipe(std::unique_ptr<AbstractCommunicationPipe> pipe);

  std::unique_ptr<AbstractCommunicationPipe> pipe_;
  bool connected_ = false;
  PipeFactory serialFactory_ = nullptr;
  PipeFactory usbFactory_ = nullptr;
};
