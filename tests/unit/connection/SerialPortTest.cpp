// SerialPortTest.cpp - what the virtual printer of the end-to-end tests
// cannot see of the COM port: the line's flags and a write to a printer that
// takes nothing more. Opening by port and speed, the search and the bytes on
// the line are tests/e2e/serial_link_test.cpp's. COM1 is the link
// dosdevices/com1 to a pseudo-terminal; the test reaches no other port.
#include <fcntl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>

#include <gtest/gtest.h>

#include "sdk/serial/SerialCommunicationPort.h"
#include "support/TestSupport.h"

namespace {

TEST(SerialPort, OpensARawRtsCtsLineAndGivesUpAWriteTheLineDoesNotTake) {
  ScratchDir dir;
  // The printer's end of a pseudo-terminal; the port's end is held open too
  // (as a second writer that fills the line).
  const int master = posix_openpt(O_RDWR | O_NOCTTY);
  ASSERT_GE(master, 0);
  grantpt(master);
  unlockpt(master);
  const int held = open(ptsname(master), O_RDWR | O_NOCTTY | O_NONBLOCK);
  mkdir("dosdevices", 0755);
  ASSERT_EQ(symlink(ptsname(master), "dosdevices/com1"), 0);

  SDK::SERIAL_COMMUNICATION_PORT port;
  const SDK::SERIAL_PORT_SETTINGS line = {1, 9600, 8, 1, 0, 2};  // 8N1, RTS/CTS: the printer's
  ASSERT_TRUE(port.Open(&line));
  termios t{};
  tcgetattr(master, &t);
  EXPECT_NE(t.c_cflag & CRTSCTS, 0u);
  EXPECT_EQ(t.c_lflag & (ICANON | ECHO | ISIG), 0u);

  // A printer that takes nothing more: the line's buffers stay full (until
  // a round 20 ms later finds no room), and ten bytes give up after 50 + 2 * 10 ms.
  uint8_t bytes[10] = {};
  for (int room = 1; room > 0; usleep(20000))
    for (room = 0; write(held, bytes, sizeof bytes) > 0;) ++room;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(port.Write(bytes, 10), 0);
  const auto took = std::chrono::steady_clock::now() - start;
  EXPECT_TRUE(took >= std::chrono::milliseconds(69) && took < std::chrono::seconds(1));
  port.Close();
  close(held);
  close(master);
}

}  // namespace
