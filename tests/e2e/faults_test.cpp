// faults_test.cpp - what the application sees when things go wrong: the
// printer hangs up the line, answers the status request wrongly or late, its
// USB writes fail, CONVERSOR.INI or the log folder cannot be written. Each
// row checks the results, the log lines and that no call waits longer than
// the waits it is stated to cost (a status probe 500 ms, a USB reset 1 s,
// a USB transfer 5 s).
#include <grp.h>

#include <memory>
#include <string>

#include "e2e/serial_harness.h"

namespace e2e {
namespace {

// A call through the exports: an export taking one text (or none), or
// "text" (measure mode), "long text" (300,000 characters declared as 1:
// more than a serial line buffers), "printer on" and "printer gone" (wait
// for COM1 to come or go).
struct Step {
  const char* call;
  const char* arg;
  int result;
  double seconds;  // the waits it costs; negative: not timed
};

struct Row {
  const char* name;
  const char* method;  // METODO_DE_COMUNICACAO
  std::vector<std::string> faults;  // of the virtual printer
  std::vector<Step> steps;
  std::vector<std::string> logs;  // lines the library logs
  Bytes received;                 // by the printer, serial and USB
  void (*arrange)(const Scratch&) = nullptr;  // set: the library runs unprivileged
  const char* file = "CONVERSOR.INI";
  const char* fileHas = "";
};

constexpr uid_t kNobody = 65534;

int perform(Library& lib, const Step& s) {
  const std::string call = s.call;
  if (call == "text") return lib.print(s.arg);
  if (call == "long text") return lib.call("TQ587_iImprimirTexto", std::string(300000, 'A').c_str(), 1);
  struct stat st;
  if (call == "printer on") return waitFor([&] { return stat("dosdevices/com1", &st) == 0; }, 5) ? 1 : 0;
  if (call == "printer gone") return waitFor([&] { return lstat("dosdevices/com1", &st) != 0; }, 5) ? 1 : 0;
  return s.arg != nullptr ? lib.call(s.call, s.arg) : lib.call(s.call);
}

void runOne(const Row& r) {
  SCOPED_TRACE(r.name);
  Scratch dir;
  const std::string ini = std::string("[TQ587]\r\nPORTA = COM1\r\nVELOCIDADE = 9600\r\nCODEPAGE_AUTOMATICO = 1\r\n") +
                          "ENTERAUTOMATICO = 0\r\nMETODO_DE_COMUNICACAO = \"" + r.method +
                          "\"\r\n[SISTEMA]\r\nLOGDIARIO = S\r\n";
  writeFile(dir.file("CONVERSOR.INI"), ini);
  writeFile(dir.file("big.bmp"), bmpFile(512, 4096, std::string(64, '\0')));  // 256 KiB, all black
  mkdir(dir.file("dosdevices/c:").c_str(), 0777);
  mkdir(dir.file("dosdevices/c:/KORVA").c_str(), 0777);
  const std::string socket = dir.file("usb.sock");
  // Serial rows have no USB printer to fall back on.
  std::vector<std::string> faults = r.faults;
  if (std::string(r.method) == "USB") faults.insert(faults.end(), {"--usb", socket});
  std::unique_ptr<VirtualPrinter> printer;
  const auto switchOn = [&] { printer.reset(new VirtualPrinter(dir, 1, 9600, faults)); };
  const bool later = r.steps.size() > 1 && std::string(r.steps[1].call) == "printer on";
  if (!later) switchOn();
  if (r.arrange != nullptr) {
    chmod(dir.path.c_str(), 0777);
    chmod(socket.c_str(), 0666);
    chmod(dir.file("CONVERSOR.INI").c_str(), 0666);
    chmod(dir.file("dosdevices/c:/KORVA").c_str(), 0777);
    r.arrange(dir);
  }
  LibraryProcess child(
      dir,
      [&](Library& lib) {
        for (const Step& s : r.steps) {
          const double start = now();
          lib.report(perform(lib, s));
          lib.report(static_cast<int>((now() - start) * 1000));
        }
      },
      [&] {
        setenv("TQ587_USB_SOCKET", socket.c_str(), 1);
        dlopen(TQ587_BINARY_DIR "/tools/usb/libusb-0.1.so.4", RTLD_NOW | RTLD_GLOBAL);
        if (r.arrange != nullptr && (setgroups(0, nullptr) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0))
          _exit(6);
      });
  for (const Step& s : r.steps) {
    SCOPED_TRACE(std::string(s.call) + (s.arg != nullptr ? std::string(" ") + s.arg : ""));
    int result = kMissingFunction;
    int ms = -1;
    EXPECT_TRUE(child.next(20, result) && child.next(1, ms));
    EXPECT_EQ(result, s.result);
    if (s.seconds >= 0) {
      EXPECT_GE(ms, s.seconds * 1000 - 50);
      EXPECT_LE(ms, s.seconds * 1000 + 900);
    }
    if (later && printer == nullptr) switchOn();
  }
  EXPECT_TRUE(child.finish(5));
  ASSERT_TRUE(printer && printer->stop());
  EXPECT_EQ(printer->received(), r.received);
  const std::string log = dir.read("library.log");
  for (const std::string& line : r.logs) EXPECT_NE(log.find(line), std::string::npos) << line << "\n" << log;
  if (*r.fileHas != '\0') {
    EXPECT_NE(dir.read(r.file).find(r.fileHas), std::string::npos) << dir.read(r.file);
  }
}

void runAll(const std::vector<Row>& rows) {
  for (const Row& r : rows) runOne(r);
}

const Bytes kConnected = {0x10, 0x04, 0x01, 0x1B, 0x40};  // probe at load, ESC @
const Bytes kCodePage = {0x1B, 0x74, 0x10, 0x0A};
const Bytes kDrawer = {0x1B, 0x70, 0x00, 0x96, 0xFF};
const Bytes kTabs = {0x1B, 0x44, 0x05, 0x0A, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
                     0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
const char kCharacterLost[] = "N\xE3o foi poss\xEDvel enviar o caractere para a impress\xE3o. Var Res = 0x00";

TEST(Faults, PrinterHangsUpTheLine) {
  runAll({
      {"in the middle of a text", "SERIAL", {"--hang-up-after", "105"},
       {{"long text", nullptr, 0, 0}, {"TQ587_iAcionarGaveta", nullptr, 0, 0}},
       {kCharacterLost}, join({kConnected, kCodePage, Bytes(96, 0x41)})},
      // The picture goes in one write; what went before it stays printed.
      {"in the middle of a picture", "SERIAL", {"--hang-up-after", "30"},
       {{"TQ587_iImprimirBMP", "big.bmp", 1, 0}, {"TQ587_iAcionarGaveta", nullptr, 0, 0}},
       {},
       join({kConnected,
             {0x1D, 0x38, 0x4C, 0x0A, 0x00, 0x04, 0x00, 0x30, 0x70, 0x30, 0x01, 0x01, 0x31, 0x00, 0x02, 0x00, 0x10},
             Bytes(8, 0xFF)})},
      // A setter's command is one short write that a line takes whole, so
      // the line is down by the time it runs; the setting is kept all the same.
      {"before a setter", "SERIAL", {"--hang-up-after", "12"},
       {{"text", "ABC", 1, 0}, {"printer gone", nullptr, 1, -1}, {"TQ587_regTabulacao", "5,10", 0, 0},
        {"TQ587_regCodePageAutomatico", "0", 0, 0}},
       {"Sucesso em gravar arquivo."}, join({kConnected, kCodePage, {0x41, 0x42, 0x43}}), nullptr,
       "CONVERSOR.INI", "TABULACAO = \"5,10\""},
  });
}

// The printer is switched on after the application has loaded the library,
// so that only the search of the call costs probes: the configured one and
// seven speeds on COM1, 500 ms each; COM2 to COM20 are not there.
const Bytes kSearched = kProbedAtEverySpeed;
const std::vector<Step> kSearch = {{"TQ587_fecharPorta", nullptr, 1, 0},
                                   {"printer on", nullptr, 1, -1},
                                   {"TQ587_eBuscarPortaVelocidade", nullptr, 0, 4}};
const std::vector<std::string> kNoPrinter = {"Velocidade incorreta.", "Falha em estabelecer conex\xE3o."};

TEST(Faults, StatusReplyWithoutBitOneGarbageOrLateMeansNoPrinter) {
  runAll({
      {"a byte without bit 1", "SERIAL", {"--status-reply", "14"}, kSearch, kNoPrinter, kSearched},
      {"garbage", "SERIAL", {"--status-reply", "41,FD,80,00"}, kSearch, kNoPrinter, kSearched},
      // The tail of a reply is not taken for the answer to the next request.
      {"a reply with bit 1 behind its first byte", "SERIAL", {"--status-reply", "41,42"}, kSearch, kNoPrinter,
       kSearched, nullptr, "CONVERSOR.INI", "VELOCIDADE = 9600"},
      {"after the wait", "SERIAL", {"--status-delay", "700"}, kSearch, kNoPrinter, kSearched},
  });
}

const char kReset[] = "Reiniciando comunica\xE7\xE3o usb.";

TEST(Faults, UsbWriteFailsTimesOutOrTheDeviceGoes) {
  runAll({
      {"write error: reset, 1 s, reopened", "USB", {"--usb-write-error", "1"},
       {{"TQ587_iAcionarGaveta", nullptr, 0, 1}, {"TQ587_iAcionarGaveta", nullptr, 1, 0}}, {kReset}, kDrawer},
      {"write times out after 5 s: reset, 1 s, reopened", "USB", {"--usb-write-timeout", "1"},
       {{"TQ587_iAcionarGaveta", nullptr, 0, 6}, {"TQ587_iAcionarGaveta", nullptr, 1, 0}}, {kReset}, kDrawer},
      {"unplugged and back within the reset wait", "USB", {"--usb-gone-after", "1", "--usb-back-after", "500"},
       {{"TQ587_iAcionarGaveta", nullptr, 1, 0},
        {"TQ587_iAcionarGaveta", nullptr, 0, 1},
        {"TQ587_iAcionarGaveta", nullptr, 1, 0}},
       {kReset}, join({kDrawer, kDrawer})},
      {"unplugged for good: later calls fail at once", "USB", {"--usb-gone-after", "1"},
       {{"TQ587_iAcionarGaveta", nullptr, 1, 0},
        {"TQ587_iAcionarGaveta", nullptr, 0, 1},
        {"text", "A", 0, 0},
        {"TQ587_iImprimirBMP", "big.bmp", 1, 0}},  // a picture does not look at its write
       {kReset, "N\xE3o foi poss\xEDvel abrir o dispositivo.", kCharacterLost}, kDrawer},
  });
}

// As root, file modes stop no write: these rows run the library as nobody.
bool canDropPrivileges() {
  if (geteuid() != 0) return true;
  const pid_t pid = fork();
  if (pid == 0) _exit(setgid(kNobody) == 0 && setuid(kNobody) == 0 ? 0 : 1);
  return reap(pid, 5) == 0;
}

const char kErrorLogging[] = "Erro ao escrever no arquivo: dosdevices/c:/KORVA/LogTQ587-Espiao,";

TEST(Faults, ConfigurationOrLogCannotBeWritten) {
  if (!canDropPrivileges()) GTEST_SKIP() << "cannot run as an unprivileged user";
  runAll({
      // The code page is stored before it is sent: nothing goes.
      {"CONVERSOR.INI read-only", "USB", {},
       {{"TQ587_regEnterFinal", "1", -1, 0}, {"TQ587_regTabulacao", "5,10", -1, 0}, {"text", "A", 1, 0}},
       {"Falha em gravar arquivo Conversor.ini"}, join({kTabs, {0x41}}),
       [](const Scratch& d) { chmod(d.file("CONVERSOR.INI").c_str(), 0444); }, "CONVERSOR.INI",
       "ENTERAUTOMATICO = 0"},
      // Neither read nor created: the defaults (serial, then USB; logging
      // off; a final line feed) hold in memory. (What the setters answer
      // then is in setters.golden.)
      {"CONVERSOR.INI a directory", "USB", {}, {{"text", "A", 1, 0}}, {}, {0x41, 0x0A},
       [](const Scratch& d) {
         unlink(d.file("CONVERSOR.INI").c_str());
         mkdir(d.file("CONVERSOR.INI").c_str(), 0777);
       }},
      // The defaults are written where the link points; the link stays.
      {"CONVERSOR.INI a dangling link", "USB", {}, {{"TQ587_regEnterFinal", "0", 1, 0}}, {}, {},
       [](const Scratch& d) {
         unlink(d.file("CONVERSOR.INI").c_str());
         EXPECT_EQ(symlink("elsewhere.ini", d.file("CONVERSOR.INI").c_str()), 0);
       },
       "elsewhere.ini", "   ENTERAUTOMATICO = 0\r\n"},
      {"CONVERSOR.INI in a read-only folder", "USB", {}, {{"TQ587_regEnterFinal", "1", 1, 0}},
       {"Sucesso em gravar arquivo."}, {}, [](const Scratch& d) { chmod(d.path.c_str(), 0555); }, "CONVERSOR.INI",
       "   ENTERAUTOMATICO = 1\r\n"},
      {"log folder missing", "USB", {}, {{"text", "A", 1, 0}},
       {kErrorLogging, "**Iniciando a impress\xE3o do texto..."}, join({kCodePage, {0x41}}),
       [](const Scratch& d) { rmdir(d.file("dosdevices/c:/KORVA").c_str()); }},
      {"log folder read-only", "USB", {}, {{"text", "A", 1, 0}},
       {kErrorLogging, "**Iniciando a impress\xE3o do texto..."}, join({kCodePage, {0x41}}),
       [](const Scratch& d) { chmod(d.file("dosdevices/c:/KORVA").c_str(), 0555); }},
  });
}

// Faults the library does not yet survive with its data whole.
}  // namespace
}  // namespace e2e
