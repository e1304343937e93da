// SerialCommunicationPort.h - a COM port as a byte stream: six line settings,
// reads that never wait, writes bounded in time, DTR and RTS by hand.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "sdk/Stream.h"
#include "sdk/serial/SerialPlatform.h"

namespace SDK {

using serial_platform::kFlowNone;
using serial_platform::kFlowRtsCts;
using serial_platform::kFlowXonXoff;
using serial_platform::kParityNone;

// The six settings handed to Open, in this order.
struct SERIAL_PORT_SETTINGS {
  int32_t port;         // COM number, 1..99
  int32_t speed;        // bits per second
  int32_t dataBits;     // 5..8
  int32_t stopBits;     // 1 one stop bit, otherwise the platform code (2 two)
  int32_t parity;       // kParityNone, ...: none, odd, even, mark, space
  int32_t flowControl;  // kFlowNone, kFlowXonXoff or kFlowRtsCts
};

// DSR and CTS as the device reports them, RTS and DTR as last set: 1 or 0.
struct SERIAL_MODEM_STATUS {
  uint8_t dsr;
  uint8_t cts;
  uint8_t rts;
  uint8_t dtr;
};

// A COM port as a readable and writable stream; its handle lives in the
// stream base and is STREAM::kClosed when the port is closed.
class SERIAL_COMMUNICATION_PORT : public IO_STREAM {
 public:
  static constexpr uint32_t kTypeTag = 0x20000005;

  // Closed, with the default settings, and the present ports enumerated.
  SERIAL_COMMUNICATION_PORT();
  ~SERIAL_COMMUNICATION_PORT() override;

  const char* Name() const override { return "SERIAL COMMUNICATION PORT"; }

  virtual SERIAL_MODEM_STATUS getModemStatus();
  // Fills the port name table with the COM1..COM9 that are present.
  virtual void EnumeratePorts();
  // The level asked; on a closed port only the stored level.
  virtual bool SetDTR(bool raise);
  virtual bool SetRTS(bool raise);
  virtual void PurgeInput();
  virtual void PurgeOutput();

  // settings: a SERIAL_PORT_SETTINGS, or null for the stored ones. Closes the
  // port if open and opens it again; false when the device is absent, in use,
  // or refuses the settings.
  bool Open(const void* settings) override;
  void Close() override;
  // What is waiting, up to count bytes; 0 when nothing is. Never waits.
  int Read(void* bytes, int count) override;
  // The count written within 50 ms plus 2 ms per byte; 0 when closed.
  int Write(const void* bytes, int count) override;
  // Discards pending input and output.
  void Rewind() override;

  // "none" above the highest index in the table, the stored name otherwise
  // ("" for a gap, which is then kept in the table).
  std::string PortName(int32_t index);
  const SERIAL_PORT_SETTINGS& Settings() const { return settings_; }

 private:
  // COM1, 9600 bit/s, 8 data bits, one stop bit, no parity, RTS/CTS.
  SERIAL_PORT_SETTINGS settings_{1, 9600, 8, 1, kParityNone, kFlowRtsCts};
  std::map<int32_t, std::string> portNames_;
  serial_platform::SavedState saved_{};
  bool haveSaved_ = false;
  int32_t dtrState_ = 0;
  int32_t rtsState_ = 0;
};

}  // namespace SDK
