// The serial link on pseudo-terminals. Each COM number a test plays is the
// link dosdevices/comN to a small printer on a pseudo-terminal; every other
// COM number links to nowhere, so no test touches the machine's serial ports.
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "config/MasterController.h"
#include "connection/PrinterSerial.h"
#include "sdk/serial/SerialCommunicationPort.h"
#include "support/TestSupport.h"

namespace {

using Clock = std::chrono::steady_clock;
using SDK::SERIAL_PORT_SETTINGS;
void sleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
std::atomic<int> gRequests{0};  // status requests handled by all printers

// A printer on the master side of a pseudo-terminal: it keeps every byte it
// receives and answers DLE EOT n with `reply` when the line runs at `speed`
// (any speed when 0; never when reply is -1).
class FakePrinter {
 public:
  explicit FakePrinter(speed_t speed = 0, int reply = -1) : speed_(speed), reply_(reply) {
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) return;
    slavePath = ptsname(master_);
    // Held open, raw, so that the line lives between the port's opens.
    slave_ = open(slavePath.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    termios t = line();
    cfmakeraw(&t);
    tcsetattr(slave_, TCSANOW, &t);
    thread_ = std::thread([this] { run(); });
  }
  ~FakePrinter() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    close(slave_);
    close(master_);
  }
  termios line() const {  // as the port set it
    termios t{};
    tcgetattr(master_, &t);
    return t;
  }
  // Sends a byte and waits until the port can read it (unless the line keeps
  // it for itself, as XOFF).
  void send(uint8_t byte, bool readable = true) const {
    EXPECT_EQ(write(master_, &byte, 1), 1);
    pollfd p{slave_, POLLIN, 0};
    if (readable) poll(&p, 1, 1000);
  }
  // Every byte received, once the line has been quiet for 30 ms.
  Bytes received() {
    size_t count = size_t(-1);
    for (int quiet = 0; quiet < 30; ++quiet, sleepMs(1)) {
      std::lock_guard<std::mutex> lock(mutex_);
      if (received_.size() != count) quiet = 0;
      count = received_.size();
    }
    std::lock_guard<std::mutex> lock(mutex_);
    return received_;
  }
  std::string slavePath;

 private:
  void run() {
    for (size_t scanned = 0; !stop_;) {
      pollfd p{master_, POLLIN, 0};
      uint8_t buf[256];
      const ssize_t n = poll(&p, 1, 5) == 1 ? read(master_, buf, sizeof buf) : 0;
      std::lock_guard<std::mutex> lock(mutex_);
      if (n > 0) received_.insert(received_.end(), buf, buf + n);
      for (; scanned + 3 <= received_.size(); ++scanned) {
        if (received_[scanned] != 0x10 || received_[scanned + 1] != 0x04) continue;
        const termios t = line();
        if (reply_ >= 0 && (speed_ == 0 || cfgetospeed(&t) == speed_)) send(uint8_t(reply_));
        ++gRequests;
      }
    }
  }
  speed_t speed_;
  int reply_, master_ = -1, slave_ = -1;
  std::thread thread_;
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  Bytes received_;
};

// The pipe's wait for a reply, instead of 500 ms: until the printers have
// handled every request so far (each wait follows one request).
int gWaits = 0;
void waitForPrinters(int) {
  ++gWaits;
  for (int tries = 0; tries < 2000 && gRequests < gWaits; ++tries) sleepMs(1);
}

void layOutPorts(const std::vector<std::pair<int, const FakePrinter*>>& played) {
  mkdir("dosdevices", 0755);
  for (int n = 1; n <= 20; ++n) {
    std::string target = "/nonexistent/no-port";
    for (const auto& p : played) target = p.first == n ? p.second->slavePath : target;
    ASSERT_EQ(symlink(target.c_str(), ("dosdevices/com" + std::to_string(n)).c_str()), 0);
  }
}

SERIAL_PORT_SETTINGS line(int port, int speed, int dataBits = 8, int stopBits = 1,
                          int parity = 0, int flowControl = 2) {
  return SERIAL_PORT_SETTINGS{port, speed, dataBits, stopBits, parity, flowControl};
}

// A pseudo-terminal always runs 8 bits without parity: other data bits and
// parities are only seen to be accepted.
TEST(SerialPort, OpensRawWithTheSettingsOrRefusesThem) {
  struct Case {
    const char* name;
    SERIAL_PORT_SETTINGS settings;
    speed_t speed;  // B0: refused
    bool twoStopBits, rtsCts, xonXoff;
  };
  const Case kCases[] = {
      {"printer line", line(1, 9600), B9600, false, true, false},
      {"7 bits, 2 stop, even, XON/XOFF", line(1, 2400, 7, 2, 2, 1), B2400, true, false, true},
      {"5 bits, mark, no flow control", line(1, 115200, 5, 1, 3, 0), B115200, false, false, false},
      {"speed 0 (DETECTAR)", line(1, 0), B0, false, false, false},
      {"speed unknown to the terminal", line(1, 12345), B0, false, false, false},
      {"9 data bits", line(1, 9600, 9), B0, false, false, false},
  };
  ScratchDir dir;
  FakePrinter printer;
  layOutPorts({{1, &printer}});
  SDK::SERIAL_COMMUNICATION_PORT port;
  EXPECT_STREQ(port.Name(), "SERIAL COMMUNICATION PORT");
  EXPECT_EQ(port.TypeTag(), 0x20000005u);
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    LogCapture logs;
    const bool opens = c.speed != B0;
    EXPECT_EQ(port.Open(&c.settings), opens);
    EXPECT_EQ(port.IsClosed(), !opens);
    if (!opens) {
      EXPECT_EQ(logs.messages(), (std::vector<std::string>{
                                     "N\xE3o foi poss\xEDvel configurar a porta", "Fechando o handle"}));
      continue;
    }
    const termios t = printer.line();
    EXPECT_EQ(cfgetospeed(&t), c.speed);
    EXPECT_EQ((t.c_cflag & CSTOPB) != 0, c.twoStopBits);
    EXPECT_EQ((t.c_cflag & CRTSCTS) != 0, c.rtsCts);
    EXPECT_EQ((t.c_iflag & (IXON | IXOFF)) != 0, c.xonXoff);
    EXPECT_EQ(t.c_oflag & OPOST, 0u);
    EXPECT_EQ(t.c_lflag & (ICANON | ECHO | ISIG), 0u);
    const uint8_t out[] = {0x41, 0x0A, 0x0D, 0x0A};
    EXPECT_EQ(port.Write(out, 4), 4);
  }
  EXPECT_EQ(printer.received(), (Bytes{0x41, 0x0A, 0x0D, 0x0A, 0x41, 0x0A, 0x0D, 0x0A,
                                       0x41, 0x0A, 0x0D, 0x0A}));
}

TEST(SerialPort, NamesReopensReadsAtOnceWritesWithinItsTimeOutClosesTwice) {
  ScratchDir dir;
  FakePrinter printer, com3, com10;
  layOutPorts({{1, &printer}, {3, &com3}, {10, &com10}});
  SDK::SERIAL_COMMUNICATION_PORT port;
  const std::vector<std::string> names = {port.PortName(0), port.PortName(1), port.PortName(2),
                                          port.PortName(3), port.PortName(9)};
  EXPECT_EQ(names, (std::vector<std::string>{"COM1", "", "COM3", "none", "none"}));
  const SERIAL_PORT_SETTINGS ten = line(10, 9600);
  ASSERT_TRUE(port.Open(&ten));
  const uint8_t init[] = {0x1B, 0x40};
  EXPECT_EQ(port.Write(init, 2), 2);
  EXPECT_EQ(com10.received(), (Bytes{0x1B, 0x40}));
  const SERIAL_PORT_SETTINGS absent = line(2, 9600), outOfRange = line(100, 9600);
  EXPECT_FALSE(port.Open(&absent));
  EXPECT_FALSE(port.Open(&outOfRange));
  const SERIAL_PORT_SETTINGS fast = line(1, 57600), xonXoff = line(1, 9600, 8, 1, 0, 1);
  ASSERT_TRUE(port.Open(&fast));
  ASSERT_TRUE(port.Open(&xonXoff));
  termios t = printer.line();
  EXPECT_EQ(cfgetospeed(&t), static_cast<speed_t>(B9600));

  uint8_t in[10] = {};
  Clock::time_point start = Clock::now();
  EXPECT_EQ(port.Read(in, 4), 0);
  EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(50));
  printer.send(0x16);
  EXPECT_EQ(port.Read(in, 4), 1);
  EXPECT_EQ(in[0], 0x16);
  EXPECT_EQ(port.Write(in, 0), 0);
  EXPECT_EQ(port.Write(nullptr, 4), 0);

  printer.send(0x13, false);  // XOFF: ten bytes give up after 50 + 2 * 10 ms
  sleepMs(20);
  start = Clock::now();
  EXPECT_EQ(port.Write(in, 10), 0);
  EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(69));
  EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(1000));

  port.Close();
  port.Close();
  EXPECT_TRUE(port.IsClosed());
  EXPECT_EQ(port.Write(in, 1), 0);
  EXPECT_TRUE(printer.received().empty());
}

TEST(SerialPrinter, FindsThePrinterAndStoresWhereItAnswered) {
  struct Case {
    const char* name;
    const char* porta;
    const char* velocidade;
    int printerPort;  // 0: no printer; the ports below it never answer
    speed_t printerSpeed;
    int reply;
    int result;
    Bytes received;
    int storedPort, storedSpeedIndex;  // 0, 0: CONVERSOR.INI left as it was
    const char* logLine;
  };
  const Case kCases[] = {
      {"configured port and speed answer", "COM2", "9600", 2, B9600, 0x12, 1,
       {0x10, 0x04, 0x01, 0x1B, 0x40}, 0, 0, "Porta e velocidade ja com os valores corretos."},
      {"DETECTAR: search from COM1", "COM1", "DETECTAR", 1, B19200, 0x16, 1,
       {0x10, 0x04, 0x02, 0x10, 0x04, 0x02, 0x10, 0x04, 0x02, 0x10, 0x04, 0x02, 0x1B, 0x40},
       1, 4, "Velocidade: 19200"},
      {"COM3 at 9600 behind two silent ports", "COM1", "9600", 3, B9600, 0x12, 1,
       {0x10, 0x04, 0x02, 0x10, 0x04, 0x02, 0x10, 0x04, 0x02, 0x1B, 0x40}, 3, 3,
       "Ini atualizado com sucesso."},
      {"port 25", "COM25", "4800", 1, B4800, 0x12, 1,
       {0x10, 0x04, 0x02, 0x10, 0x04, 0x02, 0x1B, 0x40}, 1, 2, "Porta Desconhecida"},
      {"reply without bit 1", "COM1", "9600", 1, 0, 0xFD, 0,
       {0x10, 0x04, 0x01, 0x10, 0x04, 0x02, 0x10, 0x04, 0x02, 0x10, 0x04, 0x02, 0x10, 0x04, 0x02,
        0x10, 0x04, 0x02, 0x10, 0x04, 0x02, 0x10, 0x04, 0x02},  // ESC @ to the closed port
       0, 0, "Velocidade incorreta."},
      {"no printer anywhere", "COM1", "9600", 0, 0, -1, 0, {}, 0, 0,
       "Falha ao buscar porta, n\xE3o foi poss\xEDvel enviar o m\xE9todo."},
  };
  TestClock fastWait;
  fastWait.onSleep = waitForPrinters;
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    ScratchDir dir;
    std::vector<std::unique_ptr<FakePrinter>> printers;
    std::vector<std::pair<int, const FakePrinter*>> played;
    for (int n = 1; n <= c.printerPort; ++n) {
      const bool mine = n == c.printerPort;
      printers.push_back(std::make_unique<FakePrinter>(mine ? c.printerSpeed : 0, mine ? c.reply : -1));
      played.emplace_back(n, printers.back().get());
    }
    layOutPorts(played);
    const std::string ini = std::string("[TQ587]\r\nPORTA = ") + c.porta + "\r\nVELOCIDADE = " +
                            c.velocidade + "\r\n[SISTEMA]\r\nLOG = N\r\nLOGDIARIO = N\r\n";
    dir.write("CONVERSOR.INI", ini);
    gWaits = gRequests = 0;
    LogCapture logs;
    PrinterSerial pipe;
    EXPECT_EQ(pipe.startCommunication(), c.result);
    if (c.printerPort > 0) {
      EXPECT_EQ(printers.back()->received(), c.received);
    }
    EXPECT_TRUE(logs.has(c.logLine)) << c.logLine;
    MasterController& master = MasterController::getInstance();
    ASSERT_TRUE(master.lerArquivoINI());
    if (c.storedPort == 0) {
      EXPECT_EQ(dir.read("CONVERSOR.INI"), ini);
    } else {
      EXPECT_EQ(master.config().port, c.storedPort);
      EXPECT_EQ(master.config().velocidadeIndex, c.storedSpeedIndex);
    }
    EXPECT_EQ(pipe.close(), 1);
    EXPECT_EQ(pipe.write(c.received.data(), 1), 0);
  }
}

}  // namespace
