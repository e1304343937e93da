// serial_port_win32.cpp - the serial port on the Win32 communications API.
//
// COM<n> is the device \\.\COM<n>; a port is present when the system has a
// default configuration for the name COM<n>.
#include <windows.h>

#include <cstring>

#include "sdk/serial/SerialPlatform.h"

namespace SDK {
namespace serial_platform {

namespace {

static_assert(sizeof(COMMTIMEOUTS) <= sizeof(SavedState::bytes), "COMMTIMEOUTS does not fit");

// Both driver queues, in bytes.
constexpr DWORD kQueueSize = 16384;
// XON and XOFF: DC1 and DC3, sent when the input queue holds 128 bytes or
// has 128 bytes left.
constexpr char kXon = 0x11;
constexpr char kXoff = 0x13;
constexpr WORD kXonXoffLimit = 128;
// Writes may take 2 ms per byte plus 50 ms.
constexpr DWORD kWritePerByteMs = 2;
constexpr DWORD kWriteConstantMs = 50;
constexpr int32_t kRtsCtsFlowControl = 2;
constexpr int32_t kXonXoffFlowControl = 1;

HANDLE toHandle(Handle handle) { return reinterpret_cast<HANDLE>(handle); }

}  // namespace

std::string devicePath(int32_t port) {
  if (port < 1) return "";
  return "\\\\.\\COM" + std::to_string(port);
}

bool portPresent(int32_t port) {
  if (port < 1) return false;
  const std::string name = "COM" + std::to_string(port);
  COMMCONFIG config;
  DWORD size = sizeof config;
  std::memset(&config, 0, sizeof config);
  return GetDefaultCommConfigA(name.c_str(), &config, &size) != 0;
}

Handle openPort(int32_t port) {
  const std::string path = devicePath(port);
  if (path.empty()) return kInvalidHandle;
  // read and write, not shared, an existing device, no system buffering
  const HANDLE device = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_NO_BUFFERING, nullptr);
  return device == INVALID_HANDLE_VALUE ? kInvalidHandle : reinterpret_cast<Handle>(device);
}

void closePort(Handle handle) {
  if (handle != kInvalidHandle) CloseHandle(toHandle(handle));
}

bool saveState(Handle handle, SavedState& saved) {
  COMMTIMEOUTS timeouts;
  if (!GetCommTimeouts(toHandle(handle), &timeouts)) return false;
  std::memcpy(saved.bytes, &timeouts, sizeof timeouts);
  return true;
}

void restoreState(Handle handle, const SavedState& saved) {
  COMMTIMEOUTS timeouts;
  std::memcpy(&timeouts, saved.bytes, sizeof timeouts);
  SetCommTimeouts(toHandle(handle), &timeouts);
}

bool applyLine(Handle handle, const LineSettings& line) {
  // No line runs at 0 bit/s ("DETECTAR"), though some drivers take it.
  if (line.speed <= 0) return false;
  DCB dcb;
  std::memset(&dcb, 0, sizeof dcb);
  dcb.DCBlength = sizeof dcb;
  if (!GetCommState(toHandle(handle), &dcb)) return false;
  dcb.BaudRate = static_cast<DWORD>(line.speed);
  dcb.ByteSize = static_cast<BYTE>(line.dataBits);
  dcb.Parity = static_cast<BYTE>(line.parity);
  dcb.StopBits = static_cast<BYTE>(line.stopBitsCode);
  dcb.fBinary = TRUE;
  dcb.fTXContinueOnXoff = TRUE;
  // DTR is driven by hand after the settings; DSR plays no part.
  dcb.fOutxDsrFlow = FALSE;
  dcb.fDtrControl = DTR_CONTROL_DISABLE;
  dcb.fDsrSensitivity = FALSE;
  dcb.fNull = FALSE;
  dcb.fAbortOnError = FALSE;
  dcb.XonChar = kXon;
  dcb.XoffChar = kXoff;
  dcb.XonLim = kXonXoffLimit;
  dcb.XoffLim = kXonXoffLimit;
  const bool rtsCts = line.flowControl == kRtsCtsFlowControl;
  dcb.fOutxCtsFlow = rtsCts ? TRUE : FALSE;
  dcb.fRtsControl = rtsCts ? RTS_CONTROL_HANDSHAKE : RTS_CONTROL_DISABLE;
  const bool xonXoff = line.flowControl == kXonXoffFlowControl;
  dcb.fOutX = xonXoff ? TRUE : FALSE;
  dcb.fInX = xonXoff ? TRUE : FALSE;
  return SetCommState(toHandle(handle), &dcb) != 0;
}

void prepare(Handle handle) {
  const HANDLE device = toHandle(handle);
  SetupComm(device, kQueueSize, kQueueSize);
  // a reset request to the device; a port that does not know it goes on
  EscapeCommFunction(device, RESETDEV);
  DWORD errors = 0;
  ClearCommError(device, &errors, nullptr);
  SetCommMask(device, EV_RXCHAR | EV_BREAK);
  // A read returns at once with what is waiting; a write gives up after
  // 50 ms plus 2 ms per byte.
  COMMTIMEOUTS timeouts;
  timeouts.ReadIntervalTimeout = MAXDWORD;
  timeouts.ReadTotalTimeoutMultiplier = 0;
  timeouts.ReadTotalTimeoutConstant = 0;
  timeouts.WriteTotalTimeoutMultiplier = kWritePerByteMs;
  timeouts.WriteTotalTimeoutConstant = kWriteConstantMs;
  SetCommTimeouts(device, &timeouts);
}

int32_t waiting(Handle handle) {
  DWORD errors = 0;
  COMSTAT status;
  std::memset(&status, 0, sizeof status);
  if (!ClearCommError(toHandle(handle), &errors, &status)) return -1;
  return static_cast<int32_t>(status.cbInQue);
}

int32_t readNow(Handle handle, uint8_t* bytes, int32_t count) {
  DWORD read = 0;
  if (!ReadFile(toHandle(handle), bytes, static_cast<DWORD>(count), &read, nullptr)) return 0;
  return static_cast<int32_t>(read);
}

int32_t writeWithin(Handle handle, const uint8_t* bytes, int32_t count, int32_t) {
  // The device's write time-outs (prepare) bound the write.
  DWORD errors = 0;
  ClearCommError(toHandle(handle), &errors, nullptr);
  DWORD written = 0;
  WriteFile(toHandle(handle), bytes, static_cast<DWORD>(count), &written, nullptr);
  return static_cast<int32_t>(written);
}

bool setDtr(Handle handle, bool raise) {
  return EscapeCommFunction(toHandle(handle), raise ? SETDTR : CLRDTR) != 0;
}

bool setRts(Handle handle, bool raise) {
  return EscapeCommFunction(toHandle(handle), raise ? SETRTS : CLRRTS) != 0;
}

bool readModemLines(Handle handle, bool& dsr, bool& cts) {
  DWORD status = 0;
  if (!GetCommModemStatus(toHandle(handle), &status)) return false;
  dsr = (status & MS_DSR_ON) != 0;
  cts = (status & MS_CTS_ON) != 0;
  return true;
}

void purge(Handle handle, bool input, bool output) {
  DWORD flags = 0;
  if (input) flags |= PURGE_RXABORT | PURGE_RXCLEAR;
  if (output) flags |= PURGE_TXABORT | PURGE_TXCLEAR;
  if (flags != 0) PurgeComm(toHandle(handle), flags);
}

}  // namespace serial_platform
}  // namespace SDK
