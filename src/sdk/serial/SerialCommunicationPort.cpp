// SerialCommunicationPort.cpp - the COM port above the platform calls.
#include "sdk/serial/SerialCommunicationPort.h"

#include <algorithm>

#include "log/Log.h"

namespace SDK {

namespace os = serial_platform;
static_assert(os::kInvalidHandle == STREAM::kClosed, "a closed port has the closed stream handle");

namespace {
constexpr int32_t kFirstPort = 1;
constexpr int32_t kLastPort = 99;
constexpr int32_t kLastEnumeratedPort = 9;
// A write may take 50 ms plus 2 ms per byte.
constexpr int64_t kWriteTimeoutBaseMs = 50;
constexpr int64_t kWriteTimeoutPerByteMs = 2;
constexpr int32_t kOneStopBitCode = 0;
}  // namespace

SERIAL_COMMUNICATION_PORT::SERIAL_COMMUNICATION_PORT() : OBJECT(kTypeTag) { EnumeratePorts(); }

SERIAL_COMMUNICATION_PORT::~SERIAL_COMMUNICATION_PORT() { Close(); }

SERIAL_MODEM_STATUS SERIAL_COMMUNICATION_PORT::getModemStatus() {
  SERIAL_MODEM_STATUS status{0, 0, 0, 0};
  if (IsClosed()) return status;
  bool dsr = false;
  bool cts = false;
  if (os::readModemLines(handle_, dsr, cts)) {
    status.dsr = dsr ? 1 : 0;
    status.cts = cts ? 1 : 0;
  }
  status.rts = rtsState_ != 0 ? 1 : 0;
  status.dtr = dtrState_ != 0 ? 1 : 0;
  return status;
}

void SERIAL_COMMUNICATION_PORT::EnumeratePorts() {
  for (int32_t port = kFirstPort; port <= kLastEnumeratedPort; ++port) {
    if (os::portPresent(port)) portNames_[port - 1] = "COM" + std::to_string(port);
  }
}

bool SERIAL_COMMUNICATION_PORT::SetDTR(bool raise) {
  if (IsClosed()) return dtrState_ != 0;
  os::setDtr(handle_, raise);
  dtrState_ = raise ? 1 : 0;
  return raise;
}

bool SERIAL_COMMUNICATION_PORT::SetRTS(bool raise) {
  if (IsClosed()) return rtsState_ != 0;
  os::setRts(handle_, raise);
  rtsState_ = raise ? 1 : 0;
  return raise;
}

void SERIAL_COMMUNICATION_PORT::PurgeInput() {
  if (!IsClosed()) os::purge(handle_, true, false);
}

void SERIAL_COMMUNICATION_PORT::PurgeOutput() {
  if (!IsClosed()) os::purge(handle_, false, true);
}

void SERIAL_COMMUNICATION_PORT::Rewind() {
  if (!IsClosed()) os::purge(handle_, true, true);
}

bool SERIAL_COMMUNICATION_PORT::Open(const void* settings) {
  static const char* const kWhere = "SDK::SERIAL_COMMUNICATION_PORT::Open";
  Close();
  if (settings) settings_ = *static_cast<const SERIAL_PORT_SETTINGS*>(settings);
  if (settings_.port < kFirstPort || settings_.port > kLastPort) return false;

  handle_ = os::openPort(settings_.port);
  if (IsClosed()) return false;
  haveSaved_ = os::saveState(handle_, saved_);
  const os::LineSettings line{settings_.speed, settings_.dataBits,
                              settings_.stopBits == 1 ? kOneStopBitCode : settings_.stopBits,
                              settings_.parity, settings_.flowControl};
  if (!os::applyLine(handle_, line)) {
    tq587::log("N\xE3o foi poss\xEDvel configurar a porta", LOG_ERROR, kWhere, __LINE__);
    tq587::log("Fechando o handle", LOG_INFO, kWhere, __LINE__);
    os::closePort(handle_);
    IO_STREAM::Close();
    return false;
  }
  os::prepare(handle_);
  // With the RTS/CTS handshake both lines go up; otherwise both stay down.
  const bool raise = settings_.flowControl == kFlowRtsCts;
  SetRTS(raise);
  SetDTR(raise);
  return true;
}

void SERIAL_COMMUNICATION_PORT::Close() {
  if (IsClosed()) return;
  SetRTS(false);
  SetDTR(false);
  if (haveSaved_) os::restoreState(handle_, saved_);
  os::closePort(handle_);
  haveSaved_ = false;
  IO_STREAM::Close();
}

int SERIAL_COMMUNICATION_PORT::Read(void* bytes, int count) {
  if (IsClosed() || !bytes || count <= 0) return 0;
  const int32_t waiting = os::waiting(handle_);
  if (waiting <= 0) return 0;
  return os::readNow(handle_, static_cast<uint8_t*>(bytes), std::min(waiting, count));
}

int SERIAL_COMMUNICATION_PORT::Write(const void* bytes, int count) {
  if (IsClosed() || !bytes || count <= 0) return 0;
  const int64_t timeout = kWriteTimeoutBaseMs + kWriteTimeoutPerByteMs * count;
  return os::writeWithin(handle_, static_cast<const uint8_t*>(bytes), count,
                         static_cast<int32_t>(std::min<int64_t>(timeout, INT32_MAX)));
}

std::string SERIAL_COMMUNICATION_PORT::PortName(int32_t index) {
  if (portNames_.empty() ? index != 0 : index > portNames_.rbegin()->first) return "none";
  return portNames_[index];
}

}  // namespace SDK
