// The tools as their users run them: the virtual printer's command line,
// --render of a recording, a receipt the library prints to it over the USB
// stand-in (over serial: tests/e2e/serial_link_test.cpp), thirty over serial
// on a busy machine, and the tq587 tool's answers in a folder with no
// printer.
#include "e2e/serial_harness.h"

namespace e2e {
namespace {

TEST(VirtualPrinterCli, SaysWhatIsWrongAndRendersARecording) {
  Scratch dir;
  writeFile(dir.file("capture.bin"), std::string("a\n\x1dV\x00", 5));
  struct Case {
    const char* name;
    std::vector<std::string> args;
    int status;
    std::string out;  // how standard output begins
    std::string err;  // standard error, whole
  };
  const std::string hint = "(tq587-virtual-printer --help lists the options)\n";
  const Case kCases[] = {
      {"--help", {"--help"}, 0, "usage: tq587-virtual-printer [--dir DIR]", ""},
      {"unknown option", {"--colour"}, 2, "", "tq587-virtual-printer: unknown option '--colour'\n" + hint},
      {"missing value", {"--dir"}, 2, "", "tq587-virtual-printer: --dir needs a directory\n" + hint},
      {"bad number", {"--dir", ".", "--port", "0"}, 2, "",
       "tq587-virtual-printer: --port needs a number from 1 to 99, not '0'\n" + hint},
      {"nothing to do", {}, 2, "",
       "tq587-virtual-printer: nothing to do: give --dir, --usb, --decode or --render\n" + hint},
      {"unreadable recording", {"--render", dir.file("none.bin")}, 1, "",
       "tq587-virtual-printer: cannot read " + dir.path + "/none.bin: No such file or directory\n"},
      {"--decode lists a recording", {"--decode", dir.file("capture.bin")}, 0, "\"a\"\nLF\nGS V 0\n", ""},
      {"a directory is no recording", {"--decode", dir.path}, 1, "",
       "tq587-virtual-printer: cannot read " + dir.path + ": Is a directory\n"},
      {"render into a new directory", {"--render", dir.file("capture.bin"), "--out", dir.file("out")}, 0,
       "receipt " + dir.path + "/out/receipt-0001.png: 512 x 30 dots\n\"a\"\nLF\nGS V 0\n", ""},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    std::vector<std::string> argv = {TQ587_VIRTUAL_PRINTER};
    argv.insert(argv.end(), c.args.begin(), c.args.end());
    const Finished r = run(argv, dir);
    EXPECT_EQ(r.status, c.status);
    EXPECT_EQ(r.out.substr(0, c.out.size()), c.out);
    EXPECT_EQ(r.err, c.err);
  }
  EXPECT_EQ(dir.read("out/receipt-0001.png").rfind("\x89PNG", 0), 0u);
}

// The library prints through the libusb stand-in to the printer playing
// USB, which draws the receipt when it stops: ESC t 16 LF, "a", LF. Each is
// a transfer that ends with a 100 ms frame: the three take two frames or more.
TEST(VirtualPrinterCli, DrawsWhatTheLibraryPrintsOverTheUsbStandIn) {
  Scratch dir;
  writeFile(dir.file("CONVERSOR.INI"), "[TQ587]\r\nCODEPAGE_AUTOMATICO = 1\r\nENTERAUTOMATICO = 1\r\n"
                                       "METODO_DE_COMUNICACAO = \"USB\"\r\n");
  VirtualPrinter printer(dir, 0, 0, {"--usb-frame-us", "100000"});
  const auto start = std::chrono::steady_clock::now();
  const Finished tool = run({TQ587_TOOL, "text"}, dir, "a", {std::string("LD_LIBRARY_PATH=") + TQ587_USB_STANDIN_DIR,
                                                           "TQ587_USB_SOCKET=" + dir.file("usb.sock")});
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(200));
  EXPECT_EQ(tool.out, "TQ587_iImprimirTexto: 1 (done)\n");
  EXPECT_TRUE(printer.stop());
  const std::string said = dir.read("com0.out");
  EXPECT_EQ(said.substr(said.find('\n') + 1), "receipt ./receipt-0001.png: 512 x 60 dots\n");
  EXPECT_EQ(dir.read("receipt-0001.png").rfind("\x89PNG", 0), 0u);
}

// Block mode (TQ587_USB_BLOCO=1) meets the USB line's faults as characters
// do: the same results and log lines, and the next call opens the printer
// again. 5,000 characters are two blocks after the code page's transfer:
// the fault hits the transfer that starts the second block, or unplugs the
// printer for 1.5 s after the first one. Both texts are 5,017 bytes.
TEST(VirtualPrinterCli, UsbFaultsInBlockModeAnswerAsCharactersDo) {
  const std::string reset = "INFO PrinterUsb::write: Reiniciando comunica\xE7\xE3o usb.";
  const struct {
    const char* fault;
    long hits[2];              // the transfer it hits, per character and in block mode
    size_t lost[2];            // the bytes that do not arrive
    std::vector<int> results;  // the text's, then those of the next text
    std::string logged;
  } kCases[] = {
      {"--usb-write-error", {4098, 3}, {1, 905}, {1, 1}, reset},
      {"--usb-write-timeout", {4098, 3}, {1, 905}, {1, 1}, reset},
      {"--usb-gone-after", {4097, 2}, {905, 905}, {0, 1},
       "ERROR ImprimeTexto::tratarTexto: N\xE3o foi poss\xEDvel enviar o caractere para a impress\xE3o. Var Res = 0x00"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.fault);
    std::vector<std::string> logs[2];
    Bytes received[2];
    for (const bool block : {false, true}) {
      Scratch dir;
      writeFile(dir.file("CONVERSOR.INI"), "[TQ587]\r\nCODEPAGE_AUTOMATICO = 1\r\nENTERAUTOMATICO = 1\r\n"
                                           "METODO_DE_COMUNICACAO = \"USB\"\r\n[SISTEMA]\r\nLOGDIARIO = S\r\n");
      VirtualPrinter printer(dir, 0, 0, {c.fault, std::to_string(c.hits[block]), "--usb-back-after", "1500"});
      const auto texts = [](Library& lib) {
        lib.report(lib.call("TQ587_iImprimirTexto", std::string(5000, 'A').c_str(), 1));
        usleep(600000);  // the printer is back
        lib.report(lib.call("TQ587_iImprimirTexto", "<b>B</b>", 0));
      };
      const auto overUsb = [&] {
        setenv("TQ587_USB_SOCKET", dir.file("usb.sock").c_str(), 1);
        setenv("TQ587_USB_BLOCO", block ? "1" : "0", 1);
        dlopen(TQ587_USB_STANDIN_DIR "/libusb-0.1.so.4", RTLD_NOW | RTLD_GLOBAL);
      };
      EXPECT_EQ(inLibrary(dir, 20, texts, overUsb), c.results);
      EXPECT_TRUE(printer.stop());
      logs[block] = consoleLines(dir.read("library.log"));
      received[block] = printer.received();
      EXPECT_EQ(received[block].size(), 5017 - c.lost[block]);
    }
    EXPECT_EQ(logs[0], logs[1]);
    EXPECT_NE(std::count(logs[1].begin(), logs[1].end(), c.logged), 0);
    EXPECT_TRUE(c.lost[0] != c.lost[1] || received[0] == received[1]);
  }
}

// Two busy loops take both cores, and the printer still takes its line
// while it draws: the driver waits only about 50 ms for each byte it
// writes, and a receipt not taken whole answers 0.
TEST(VirtualPrinterCli, KeepsTakingTheLineWhileItDrawsOnABusyMachine) {
  Scratch dir;
  writeFile(dir.file("CONVERSOR.INI"), "[TQ587]\r\nPORTA = COM1\r\nVELOCIDADE = 115200\r\nCODEPAGE_AUTOMATICO = 1\r\n"
                                       "ENTERAUTOMATICO = 1\r\nMETODO_DE_COMUNICACAO = \"SERIAL\"\r\n");
  writeFile(dir.file("logo.bmp"), readFile(TQ587_SAMPLES_DIR "/logo.bmp"));
  const std::string receipt = readFile(TQ587_SAMPLES_DIR "/receipt.txt");  // ends in a cut
  const pid_t hogs[] = {start({"/bin/sh", "-c", "while :; do :; done"}, dir, "hog"),
                        start({"/bin/sh", "-c", "while :; do :; done"}, dir, "hog")};
  VirtualPrinter printer(dir, 1, 115200);
  const std::vector<int> answers = inLibrary(dir, 60, [&](Library& lib) {
    for (int i = 0; i < 30; ++i) lib.report(lib.call("TQ587_iImprimirTexto", receipt.c_str(), 0));
  });
  for (const pid_t hog : hogs) {
    kill(hog, SIGKILL);
    reap(hog, 1);
  }
  EXPECT_EQ(answers, std::vector<int>(30, 1));
  const auto drawn = [&] {
    const std::string said = dir.read("com1.out");
    size_t count = 0;
    for (size_t at = 0; (at = said.find("\nreceipt ", at)) != std::string::npos; ++at) ++count;
    return count;
  };
  EXPECT_TRUE(waitFor([&] { return drawn() == 30; }, 10)) << drawn();
  EXPECT_TRUE(printer.stop());
  EXPECT_EQ(dir.read("receipt-0030.png").rfind("\x89PNG", 0), 0u);
}

// Each call's result and its meaning on standard output, what the user got
// wrong and what the tool explains on standard error, and no CONVERSOR.INI
// written unless asked.
TEST(Tq587Tool, SaysWhatEachCallAnswered) {
  struct Case {
    std::vector<std::string> args;
    bool withIni;
    int status;
    const char* says;  // on standard error when status is 2, else on either
    std::string input = "";
  } const kCases[] = {
      {{"--help"}, false, 0, "  --log          show the library's log"},
      {{"drawer"}, false, 2, "tq587: no CONVERSOR.INI in this directory."},
      {{"--init"}, false, 0, "wrote CONVERSOR.INI"},
      {{"--force", "close"}, false, 0, "TQ587_fecharPorta: 1 (done)"},
      {{"drawer"}, true, 1, "TQ587_iAcionarGaveta: 0 (printer not reachable, or a send failed)\n"},
      {{"tabs", "0,5"}, true, 1, "TQ587_regTabulacao: -99 (invalid parameter)"},
      {{"--log", "close"}, true, 0, "========== Inicializando DLL =========="},
      {{"--log", "close"}, true, 0, "tq587: no log file was written: the log folder dosdevices/c:/KORVA/ (c:\\KORVA\\) "
                                    "does not exist; create it with: mkdir -p 'dosdevices/c:/KORVA/'\n"},
      {{"text"}, true, 1, "tq587: the library refuses texts longer than 2000 characters, and this one has 2001: split "
                          "the text into several calls\n", std::string(2001, 'a')},
      {{"print"}, true, 2, "tq587: unknown command 'print' (see tq587 --help)"},
      {{"enter"}, true, 2, "tq587: enter needs 0|1"},
      {{"text", "nowhere.txt"}, true, 2, "tq587: cannot read nowhere.txt: No such file or directory"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.args.back());
    Scratch dir;
    if (c.withIni) writeFile(dir.file("CONVERSOR.INI"), "[TQ587]\r\nMETODO_DE_COMUNICACAO = \"SERIAL\"\r\n");
    std::vector<std::string> argv = {TQ587_TOOL, "--lib", TQ587_LIBRARY_PATH};
    argv.insert(argv.end(), c.args.begin(), c.args.end());
    const Finished r = run(argv, dir, c.input);
    EXPECT_EQ(r.status, c.status);
    EXPECT_NE((c.status == 2 ? r.err : r.out + r.err).find(c.says), std::string::npos) << r.out << r.err;
    EXPECT_EQ(r.err.find("Erro ao escrever no arquivo"), std::string::npos);
    const bool asked = c.withIni || c.args[0] == "--init" || c.args[0] == "--force";
    EXPECT_EQ(access(dir.file("CONVERSOR.INI").c_str(), F_OK) == 0, asked);
  }
}

}  // namespace
}  // namespace e2e
