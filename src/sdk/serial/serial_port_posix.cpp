// serial_port_posix.cpp - the serial port on a POSIX terminal device.
//
// COM<n> is the device at dosdevices/com<n> in the current directory when
// that entry exists (as Wine lays it out: a link to /dev/ttyUSB0, a
// pseudo-terminal...), and the system's own device for it otherwise
// (serial_port_<system>.cpp). An entry that points nowhere makes the port
// absent.
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

#include "sdk/serial/SerialPlatform.h"

namespace SDK {
namespace serial_platform {

namespace {

static_assert(sizeof(termios) <= sizeof(SavedState::bytes), "termios does not fit");

int fdOf(Handle handle) { return static_cast<int>(handle); }

struct SpeedCode {
  int32_t speed;
  speed_t code;
};

// Speeds the terminal interface knows; any other speed (0 included) is refused.
const SpeedCode kSpeedCodes[] = {
    {50, B50},         {75, B75},         {110, B110},       {134, B134},
    {150, B150},       {200, B200},       {300, B300},       {600, B600},
    {1200, B1200},     {1800, B1800},     {2400, B2400},     {4800, B4800},
    {9600, B9600},     {19200, B19200},   {38400, B38400},   {57600, B57600},
    {115200, B115200}, {230400, B230400},
#ifdef B460800
    {460800, B460800}, {921600, B921600},
#endif
};

bool speedCode(int32_t speed, speed_t& code) {
  for (const SpeedCode& s : kSpeedCodes) {
    if (s.speed == speed) {
      code = s.code;
      return true;
    }
  }
  return false;
}

bool dataBitsFlag(int32_t dataBits, tcflag_t& flag) {
  switch (dataBits) {
    case 5: flag = CS5; return true;
    case 6: flag = CS6; return true;
    case 7: flag = CS7; return true;
    case 8: flag = CS8; return true;
    default: return false;
  }
}

bool parityFlags(int32_t parity, tcflag_t& flags) {
  switch (parity) {
    case kParityNone: flags = 0; return true;
    case kParityOdd: flags = PARENB | PARODD; return true;
    case kParityEven: flags = PARENB; return true;
#ifdef CMSPAR
    case kParityMark: flags = PARENB | PARODD | CMSPAR; return true;
    case kParitySpace: flags = PARENB | CMSPAR; return true;
#endif
    default: return false;
  }
}

tcflag_t allParityFlags() {
#ifdef CMSPAR
  return PARENB | PARODD | CMSPAR;
#else
  return PARENB | PARODD;
#endif
}

bool modemLine(Handle handle, int line, bool raise) {
  int bits = line;
  return ioctl(fdOf(handle), raise ? TIOCMBIS : TIOCMBIC, &bits) == 0;
}

}  // namespace

std::string devicePath(int32_t port) {
  if (port < 1) return "";
  const std::string dos = "dosdevices/com" + std::to_string(port);
  struct stat st;
  if (lstat(dos.c_str(), &st) == 0) return dos;
  return systemDevicePath(port);
}

bool portPresent(int32_t port) {
  const std::string path = devicePath(port);
  struct stat st;
  return !path.empty() && stat(path.c_str(), &st) == 0 && S_ISCHR(st.st_mode);
}

Handle openPort(int32_t port) {
  const std::string path = devicePath(port);
  if (path.empty()) return kInvalidHandle;
  const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return kInvalidHandle;
  // Only a terminal is a serial port, and one user at a time: another open
  // of the same port, in this process or another, is refused.
  if (!isatty(fd) || flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return kInvalidHandle;
  }
  ioctl(fd, TIOCEXCL);
  return fd;
}

void closePort(Handle handle) {
  if (handle == kInvalidHandle) return;
  ioctl(fdOf(handle), TIOCNXCL);
  ::close(fdOf(handle));
}

bool saveState(Handle handle, SavedState& saved) {
  termios t;
  if (tcgetattr(fdOf(handle), &t) != 0) return false;
  std::memcpy(saved.bytes, &t, sizeof t);
  return true;
}

void restoreState(Handle handle, const SavedState& saved) {
  termios t;
  std::memcpy(&t, saved.bytes, sizeof t);
  tcsetattr(fdOf(handle), TCSANOW, &t);
}

bool applyLine(Handle handle, const LineSettings& line) {
  termios t;
  speed_t speed;
  tcflag_t size;
  tcflag_t parity;
  if (!speedCode(line.speed, speed) || !dataBitsFlag(line.dataBits, size) ||
      !parityFlags(line.parity, parity) || (line.stopBitsCode != 0 && line.stopBitsCode != 2) ||
      tcgetattr(fdOf(handle), &t) != 0) {
    return false;
  }
  // Raw bytes both ways: no translation of CR/LF, no echo, no signals.
  cfmakeraw(&t);
  t.c_cflag &= ~(CSIZE | CSTOPB | allParityFlags() | CRTSCTS);
  t.c_cflag |= size | parity | CLOCAL | CREAD;
  if (line.stopBitsCode == 2) t.c_cflag |= CSTOPB;
  t.c_iflag &= ~(IXON | IXOFF | IXANY);
  if (line.flowControl == kFlowRtsCts) t.c_cflag |= CRTSCTS;
  if (line.flowControl == kFlowXonXoff) t.c_iflag |= IXON | IXOFF;
  t.c_cc[VSTART] = 0x11;
  t.c_cc[VSTOP] = 0x13;
  // A read returns at once with what is waiting.
  t.c_cc[VMIN] = 0;
  t.c_cc[VTIME] = 0;
  if (cfsetispeed(&t, speed) != 0 || cfsetospeed(&t, speed) != 0) return false;
  return tcsetattr(fdOf(handle), TCSANOW, &t) == 0;
}

void prepare(Handle handle) {
  // A port opened afresh starts with empty queues: bytes the printer sent
  // before (the tail of a reply of several bytes) are not taken for the
  // answer to the next status request. The terminal driver sizes its own
  // queues and has no device reset or event mask to set.
  tcflush(fdOf(handle), TCIFLUSH);
}

int32_t waiting(Handle handle) {
  int count = 0;
  if (ioctl(fdOf(handle), FIONREAD, &count) != 0) return -1;
  return count;
}

int32_t readNow(Handle handle, uint8_t* bytes, int32_t count) {
  const ssize_t got = ::read(fdOf(handle), bytes, static_cast<size_t>(count));
  return got > 0 ? static_cast<int32_t>(got) : 0;
}

int32_t writeWithin(Handle handle, const uint8_t* bytes, int32_t count, int32_t timeoutMs) {
  using Clock = std::chrono::steady_clock;
  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  int32_t done = 0;
  while (done < count) {
    const ssize_t put = ::write(fdOf(handle), bytes + done, static_cast<size_t>(count - done));
    if (put > 0) {
      done += static_cast<int32_t>(put);
      continue;
    }
    if (put < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) break;
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0) break;
    pollfd p{fdOf(handle), POLLOUT, 0};
    if (poll(&p, 1, static_cast<int>(left.count())) < 0 && errno != EINTR) break;
  }
  return done;
}

// A pseudo-terminal has no modem lines: the calls fail and the port goes on.
bool setDtr(Handle handle, bool raise) { return modemLine(handle, TIOCM_DTR, raise); }
bool setRts(Handle handle, bool raise) { return modemLine(handle, TIOCM_RTS, raise); }

bool readModemLines(Handle handle, bool& dsr, bool& cts) {
  int bits = 0;
  if (ioctl(fdOf(handle), TIOCMGET, &bits) != 0) return false;
  dsr = (bits & TIOCM_DSR) != 0;
  cts = (bits & TIOCM_CTS) != 0;
  return true;
}

void purge(Handle handle, bool input, bool output) {
  if (input && output) {
    tcflush(fdOf(handle), TCIOFLUSH);
  } else if (input) {
    tcflush(fdOf(handle), TCIFLUSH);
  } else if (output) {
    tcflush(fdOf(handle), TCOFLUSH);
  }
}

}  // namespace serial_platform
}  // namespace SDK
