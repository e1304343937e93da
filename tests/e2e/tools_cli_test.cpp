// tools_cli_test.cpp - the tq587 command-line tool, run in a directory with
// CONVERSOR.INI and a virtual printer on COM1, as a user runs it.
#include <gtest/gtest.h>

#include <string>

#include "e2e/serial_harness.h"

namespace e2e {
namespace {

const char kIni[] =
    "[TQ587]\r\nPORTA = COM1\r\nVELOCIDADE = 9600\r\nCODEPAGE_AUTOMATICO = 1\r\nENTERAUTOMATICO = 0\r\n"
    "METODO_DE_COMUNICACAO = \"SERIAL\"\r\nTAMANHO_QRCODE = 4\r\n";

struct Case {
  const char* name;
  std::vector<std::string> arguments;
  std::string input;
  int exitCode;
  const char* resultLine;  // nullptr: none expected
  Bytes received;          // by the printer, after the probe and ESC @ of the load
};

TEST(Tq587Tool, CallsOneFunctionAndSaysWhatItsResultMeans) {
  const Case kCases[] = {
      {"text from standard input", {"text"}, "<b>A</b>", 0, "TQ587_iImprimirTexto: 1 (done)",
       {0x1B, 0x74, 0x10, 0x0A, 0x1B, 0x45, 0x01, 0x41, 0x1B, 0x45, 0x00}},
      {"text from a file", {"text", "receipt.txt"}, "", 0, "TQ587_iImprimirTexto: 1 (done)",
       {0x1B, 0x74, 0x10, 0x0A, 0x1B, 0x61, 0x01, 0x4F, 0x4B, 0x0A, 0x1B, 0x61, 0x00}},
      {"drawer", {"drawer"}, "", 0, "TQ587_iAcionarGaveta: 1 (done)", {0x1B, 0x70, 0x00, 0x96, 0xFF}},
      {"missing picture", {"bmp", "missing.bmp"}, "", 1, "TQ587_iImprimirBMP: -8 (not a readable BMP)", {}},
      {"bad tab list", {"tabs", "0,5"}, "", 1, "TQ587_regTabulacao: -99 (invalid parameter)", {}},
      {"connect when already connected", {"connect"}, "", 0, "TQ587_eBuscarPortaVelocidade: 1 (done)", {}},
      {"unknown command", {"print"}, "", 2, nullptr, {}},
      {"setting without its value", {"enter"}, "", 2, nullptr, {}},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    Bench b(kIni);
    writeFile(b.dir.file("receipt.txt"), "<ce>OK</ce>");
    writeFile(b.dir.file("stdin.txt"), c.input);
    ASSERT_TRUE(b.printer.ready);

    // tq587 with the arguments, run in the directory, c.input on its standard input
    std::vector<const char*> argv = {TQ587_TOOL, "--lib", TQ587_LIBRARY_PATH};
    for (const std::string& a : c.arguments) argv.push_back(a.c_str());
    int out[2];
    ASSERT_EQ(pipe(out), 0);
    const int in = open(b.dir.file("stdin.txt").c_str(), O_RDONLY);
    const pid_t pid = spawn(argv, in, out[1], true, b.dir.path.c_str());
    close(in);
    close(out[1]);
    std::string output;
    readUntil(out[0], 10, [](const std::string&) { return false; }, output);
    close(out[0]);
    EXPECT_EQ(reap(pid, 5), c.exitCode) << output;
    EXPECT_TRUE(b.printer.stop());
    EXPECT_TRUE(c.resultLine == nullptr || output.find(std::string(c.resultLine) + "\n") != std::string::npos)
        << output;
    // A tool that got as far as loading the library has connected.
    const Bytes load = c.exitCode == 2 ? Bytes{} : Bytes{0x10, 0x04, 0x01, 0x1B, 0x40};
    EXPECT_EQ(b.printer.received(), join({load, c.received}));
  }
}

}  // namespace
}  // namespace e2e
