// SerialPortTest.cpp - the COM port on pseudo-terminals. Each COM number a
// test plays is the link dosdevices/comN to a pseudo-terminal; every other
// COM number up to 20 links to nowhere, so no test touches the machine's
// serial ports.
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "sdk/serial/SerialCommunicationPort.h"
#include "support/TestSupport.h"

namespace {

using Clock = std::chrono::steady_clock;

// The printer's end of a pseudo-terminal. The port's end is held open too,
// so that the line lives between the port's opens.
struct Line {
  Line() {
    grantpt(master);
    unlockpt(master);
    held = open(ptsname(master), O_RDWR | O_NOCTTY | O_NONBLOCK);
  }
  ~Line() {
    close(held);
    close(master);
  }
  // Every byte that arrives until the line is quiet for 50 ms.
  Bytes received() const {
    Bytes got;
    uint8_t buffer[256];
    pollfd p{master, POLLIN, 0};
    for (ssize_t n = 1; n > 0 && poll(&p, 1, 50) == 1;) {
      n = read(master, buffer, sizeof buffer);
      if (n > 0) got.insert(got.end(), buffer, buffer + n);
    }
    return got;
  }
  const int master = posix_openpt(O_RDWR | O_NOCTTY);
  int held = -1;
};

// dosdevices/com1..com20: the lines played, links to nowhere for the rest.
void layOutPorts(const std::vector<std::pair<int, const Line*>>& played) {
  mkdir("dosdevices", 0755);
  for (int n = 1; n <= 20; ++n) {
    std::string target = "/nonexistent/no-port";
    for (const auto& p : played)
      if (p.first == n) target = ptsname(p.second->master);
    ASSERT_EQ(symlink(target.c_str(), ("dosdevices/com" + std::to_string(n)).c_str()), 0);
  }
}

// The printer's line: 8 data bits, one stop bit, no parity, RTS/CTS.
SDK::SERIAL_PORT_SETTINGS printerLine(int port, int speed) { return {port, speed, 8, 1, 0, 2}; }

// One port object opened again and again, as the search of speeds does.
TEST(SerialPort, OpensRawAtTheSpeedOrRefusesIt) {
  struct Case {
    const char* name;
    int speed;
    speed_t line;  // B0: refused
  };
  const Case kCases[] = {
      {"9600", 9600, B9600},
      {"reopened at 115200", 115200, B115200},
      {"speed 0 (DETECTAR) refused", 0, B0},
  };
  ScratchDir dir;
  Line printer;
  layOutPorts({{1, &printer}});
  SDK::SERIAL_COMMUNICATION_PORT port;
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    const SDK::SERIAL_PORT_SETTINGS settings = printerLine(1, c.speed);
    const bool opens = c.line != B0;
    EXPECT_EQ(port.Open(&settings), opens);
    EXPECT_EQ(port.IsClosed(), !opens);
    const uint8_t out[] = {0x41, 0x0A, 0x0D, 0x0A};  // no CR added, none dropped
    EXPECT_EQ(port.Write(out, 4), opens ? 4 : 0);
    EXPECT_EQ(printer.received(), (opens ? Bytes{0x41, 0x0A, 0x0D, 0x0A} : Bytes{}));
    if (!opens) continue;
    termios t{};
    tcgetattr(printer.master, &t);
    EXPECT_EQ(cfgetospeed(&t), c.line);
    EXPECT_NE(t.c_cflag & CRTSCTS, 0u);
    EXPECT_EQ(t.c_lflag & (ICANON | ECHO | ISIG), 0u);
  }
}

TEST(SerialPort, FindsPortsThroughDosdevicesReadsWithoutWaitingAndWritesWithinItsTimeOut) {
  ScratchDir dir;
  Line com1, com3, com10;
  layOutPorts({{1, &com1}, {3, &com3}, {10, &com10}});
  SDK::SERIAL_COMMUNICATION_PORT port;
  // COM1..COM9 are listed; COM2 links nowhere: a gap; nothing after COM3
  const std::vector<std::string> names = {port.PortName(0), port.PortName(1), port.PortName(2),
                                          port.PortName(3)};
  EXPECT_EQ(names, (std::vector<std::string>{"COM1", "", "COM3", "none"}));
  const SDK::SERIAL_PORT_SETTINGS two = printerLine(2, 9600), hundred = printerLine(100, 9600),
                                  ten = printerLine(10, 9600);
  EXPECT_FALSE(port.Open(&two));
  EXPECT_FALSE(port.Open(&hundred));
  ASSERT_TRUE(port.Open(&ten));
  const uint8_t init[] = {0x1B, 0x40};
  EXPECT_EQ(port.Write(init, 2), 2);
  EXPECT_EQ(com10.received(), (Bytes{0x1B, 0x40}));

  uint8_t in[10] = {};
  Clock::time_point start = Clock::now();
  EXPECT_EQ(port.Read(in, 4), 0);
  EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(50));
  const uint8_t status = 0x16;  // the printer answers a status request
  ASSERT_EQ(write(com10.master, &status, 1), 1);
  pollfd p{com10.held, POLLIN, 0};
  poll(&p, 1, 1000);
  EXPECT_EQ(port.Read(in, 4), 1);
  EXPECT_EQ(in[0], 0x16);

  // A printer that takes nothing more: the line's buffers stay full (until
  // a round 20 ms later finds no room), and ten bytes give up after 50 + 2 * 10 ms.
  for (int room = 1; room > 0; usleep(20000))
    for (room = 0; write(com10.held, in, sizeof in) > 0;) ++room;
  start = Clock::now();
  EXPECT_EQ(port.Write(in, 10), 0);
  EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(69));
  EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(1000));

  port.Close();
  port.Close();
  EXPECT_TRUE(port.IsClosed());
  EXPECT_EQ(port.Write(in, 1), 0);
  EXPECT_EQ(port.Read(in, 1), 0);
}

}  // namespace
