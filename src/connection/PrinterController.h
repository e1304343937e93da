// PrinterController.h - the process-wide owner of the printer connection.
#pragma once

#include <memory>

#include "connection/AbstractCommunicationPipe.h"
#include "connection/UsbBlock.h"

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
  // none (while a text gathers its blocks: the block). nullptr when the
  // printer cannot be reached.
  AbstractCommunicationPipe* reachPipe();

  // Block mode, told at load: a text's writes to the USB pipe go out in
  // blocks (UsbBlock) instead of one transfer each.
  void setUsbBlocks(bool on) { usbBlocks_ = on; }
  // A text begins: in block mode on the USB pipe, its writes are gathered
  // from now on.
  void beginBlocks();
  // The text ends: what is gathered goes out. False when a block was not
  // taken whole (never outside block mode).
  bool endBlocks();
  // False once a block of this text was not taken whole.
  bool blocksTaken() const { return blocks_.taken(); }

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
  bool usbPipe_ = false;  // pipe_ was built by connectUsb()
  bool usbBlocks_ = false;
  UsbBlock blocks_;
  PipeFactory serialFactory_ = nullptr;
  PipeFactory usbFactory_ = nullptr;
};
