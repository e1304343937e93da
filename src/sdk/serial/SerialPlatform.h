// SerialPlatform.h - what the serial port needs of the operating system.
//
// One file per platform implements these calls (serial_port_posix.cpp,
// serial_port_win32.cpp), and on a POSIX system serial_port_<system>.cpp
// names the system's devices (serial_port_linux.cpp);
// SDK::SERIAL_COMMUNICATION_PORT above them holds no platform code. A handle
// is an open device, kInvalidHandle when there is none.
#pragma once

#include <cstdint>
#include <string>

namespace SDK {
namespace serial_platform {

using Handle = intptr_t;
constexpr Handle kInvalidHandle = -1;

// Flow control and parity codes of the line settings.
enum : int32_t { kFlowNone = 0, kFlowXonXoff = 1, kFlowRtsCts = 2 };
enum : int32_t { kParityNone = 0, kParityOdd = 1, kParityEven = 2, kParityMark = 3, kParitySpace = 4 };

// Line settings as the platform takes them. stopBitsCode and parity are the
// platform codes: stop bits 0 one, 1 one and a half, 2 two; parity 0 none,
// 1 odd, 2 even, 3 mark, 4 space. flowControl: 0 none, 1 XON/XOFF, 2 RTS/CTS.
struct LineSettings {
  int32_t speed;
  int32_t dataBits;
  int32_t stopBitsCode;
  int32_t parity;
  int32_t flowControl;
};

// The device state kept at open and given back at close.
struct SavedState {
  alignas(8) unsigned char bytes[256];
};

// The device that stands for COM<port>.
std::string devicePath(int32_t port);
// On a POSIX system: the system's own device for COM<port> (port 1 or
// more), used when the current directory maps no device to it.
std::string systemDevicePath(int32_t port);
// True when COM<port> is there (no device is opened to find out).
bool portPresent(int32_t port);

// Opens COM<port> for reading and writing, exclusively and without waits.
Handle openPort(int32_t port);
void closePort(Handle handle);

// Keeps the device's current state, to be restored at close.
bool saveState(Handle handle, SavedState& saved);
void restoreState(Handle handle, const SavedState& saved);

// Applies the line settings in raw mode with reads that never wait. false
// when the device refuses them (a speed of 0 or one it cannot do).
bool applyLine(Handle handle, const LineSettings& line);
// Queue sizes, device reset, error state and event mask after the settings.
void prepare(Handle handle);

// Bytes waiting to be read; -1 when the device cannot tell.
int32_t waiting(Handle handle);
// Reads up to count bytes that are already there.
int32_t readNow(Handle handle, uint8_t* bytes, int32_t count);
// Clears the error state and writes count bytes, giving up after timeoutMs.
// The number of bytes written.
int32_t writeWithin(Handle handle, const uint8_t* bytes, int32_t count, int32_t timeoutMs);

// Raises or lowers DTR or RTS; false when the device has no such line.
bool setDtr(Handle handle, bool raise);
bool setRts(Handle handle, bool raise);
// DSR and CTS levels; false when the device cannot tell.
bool readModemLines(Handle handle, bool& dsr, bool& cts);

// Discards pending input, output or both.
void purge(Handle handle, bool input, bool output);

}  // namespace serial_platform
}  // namespace SDK
