// PrinterSerial.h - the printer on a serial port.
//
// Opening tries the port and speed of CONVERSOR.INI; when the printer does not
// answer there it searches COM1 to COM20 at the seven speeds and stores the
// port and speed that answered.
#pragma once

#include <cstdint>

#include "connection/AbstractCommunicationPipe.h"
#include "sdk/serial/SerialCommunicationPort.h"

class PrinterSerial : public AbstractCommunicationPipe {
 public:
  PrinterSerial();
  ~PrinterSerial() override;

  int startCommunication() override;
  int read(uint8_t* bytes, int32_t length) override;
  int write(const uint8_t* bytes, int32_t length) override;
  int close() override;

 private:
  int abrirPorta();
  int buscarPorta();
  int buscarVelocidade();
  // Waits for the reply to a status request and judges the one byte read.
  bool awaitReply();

  int32_t searchCounter_ = 0;
  SDK::SERIAL_PORT_SETTINGS settings_{0, 0, 0, 0, 0, 0};
  SDK::SERIAL_COMMUNICATION_PORT port_;
};
