// tools_cli_test.cpp - the tq587 command-line tool, run in a directory with
// CONVERSOR.INI and a virtual printer on COM1, as a user runs it.
#include <string>

#include "e2e/serial_harness.h"

namespace e2e {
namespace {

const char kIni[] =
    "[TQ587]\r\nPORTA = COM1\r\nVELOCIDADE = 9600\r\nCODEPAGE_AUTOMATICO = 1\r\nENTERAUTOMATICO = 0\r\n"
    "METODO_DE_COMUNICACAO = \"SERIAL\"\r\nTAMANHO_QRCODE = 4\r\n";

// Runs tq587 in dir with the arguments, input on its standard input.
Finished runTool(const Scratch& dir, const std::vector<std::string>& arguments, const std::string& input = "") {
  std::vector<std::string> argv = {TQ587_TOOL, "--lib", TQ587_LIBRARY_PATH};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  return run(argv, dir, input);
}

// Results go to standard output; what the user got wrong (exit code 2) to
// standard error.
const std::string& said(const Finished& r) { return r.status == 2 ? r.err : r.out; }

struct Case {
  const char* name;
  std::vector<std::string> arguments;
  std::string input;
  int exitCode;
  const char* line;  // a line it says
  Bytes received;    // by the printer, after the probe and ESC @ of the load
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
      {"unknown command", {"print"}, "", 2, "tq587: unknown command 'print' (see tq587 --help)", {}},
      {"setting without its value", {"enter"}, "", 2, "tq587: enter needs 0|1", {}},
      {"text file that cannot be read", {"text", "nowhere.txt"}, "", 2,
       "tq587: cannot read nowhere.txt: No such file or directory", {}},
      {"--log shows the library's log", {"--log", "drawer"}, "", 0, "========== Inicializando DLL ==========",
       {0x1B, 0x70, 0x00, 0x96, 0xFF}},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    Bench b(kIni);
    writeFile(b.dir.file("receipt.txt"), "<ce>OK</ce>");
    ASSERT_TRUE(b.printer.ready);
    const Finished r = runTool(b.dir, c.arguments, c.input);
    EXPECT_EQ(r.status, c.exitCode) << r.out << r.err;
    EXPECT_TRUE(b.printer.stop());
    EXPECT_NE(said(r).find(std::string(c.line) + "\n"), std::string::npos) << r.out << r.err;
    // A tool that got as far as loading the library has connected.
    const Bytes load = c.exitCode == 2 ? Bytes{} : Bytes{0x10, 0x04, 0x01, 0x1B, 0x40};
    EXPECT_EQ(b.printer.received(), join({load, c.received}));
    // --log turns the library's log on for its run only
    EXPECT_EQ(b.dir.read("CONVERSOR.INI").find("LOGDIARIO"), std::string::npos);
  }
}

// Without CONVERSOR.INI the tool neither writes one nor reaches for a port
// unless asked; --help answers on standard output.
TEST(Tq587Tool, StartsWhereTheUserStands) {
  const Case kCases[] = {
      {"help", {"--help"}, "", 0, "  --log          show the library's log", {}},
      {"no configuration", {"drawer"}, "", 2, "tq587: no CONVERSOR.INI in this directory.", {}},
      {"init only", {"--init"}, "", 0, "wrote CONVERSOR.INI", {}},
      {"forced: the library writes its defaults", {"--force", "close"}, "", 0, "TQ587_fecharPorta: 1 (done)", {}},
      {"unknown option", {"--colour", "drawer"}, "", 2, "tq587: unknown option --colour", {}},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    Scratch dir;
    const Finished r = runTool(dir, c.arguments);
    EXPECT_EQ(r.status, c.exitCode) << r.out << r.err;
    EXPECT_NE(said(r).find(c.line), std::string::npos) << r.out << r.err;
    const bool asked = c.arguments[0] == "--init" || c.arguments[0] == "--force";
    EXPECT_EQ(access(dir.file("CONVERSOR.INI").c_str(), F_OK) == 0, asked);
  }
}

}  // namespace
}  // namespace e2e
