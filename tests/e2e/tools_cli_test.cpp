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
      {"unknown command", {"print"}, "", 2, "tq587: unknown command 'print' (see tq587 --help)", {}},
      {"setting without its value", {"enter"}, "", 2, "tq587: enter needs 0|1", {}},
      {"text file that cannot be read", {"text", "nowhere.txt"}, "", 2,
       "tq587: cannot read nowhere.txt: No such file or directory", {}},
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

// Runs tq587 in dir with the arguments; its exit code, output in output.
int runTool(const Scratch& dir, std::vector<const char*> arguments, std::string& output) {
  std::vector<const char*> argv = {TQ587_TOOL, "--lib", TQ587_LIBRARY_PATH};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  int out[2];
  if (pipe(out) != 0) return -1;
  const pid_t pid = spawn(argv, -1, out[1], true, dir.path.c_str());
  close(out[1]);
  readUntil(out[0], 10, [](const std::string&) { return false; }, output);
  close(out[0]);
  return reap(pid, 5);
}

// Without CONVERSOR.INI the tool neither writes one nor reaches for a port
// unless asked; --help answers on standard output.
TEST(Tq587Tool, StartsWhereTheUserStands) {
  struct Case {
    const char* name;
    std::vector<const char*> arguments;
    int exitCode;
    const char* says;
    bool iniAfter;
  };
  const Case kCases[] = {
      {"help", {"--help"}, 0, "  --log          show the library's log", false},
      {"no configuration", {"drawer"}, 2, "tq587: no CONVERSOR.INI in this directory.", false},
      {"init only", {"--init"}, 0, "wrote CONVERSOR.INI", true},
      {"forced: the library writes its defaults", {"--force", "close"}, 0,
       "TQ587_fecharPorta: 1 (done)", true},
      {"unknown option", {"--colour", "drawer"}, 2, "tq587: unknown option --colour", false},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    Scratch dir;
    std::string output;
    EXPECT_EQ(runTool(dir, c.arguments, output), c.exitCode) << output;
    EXPECT_NE(output.find(c.says), std::string::npos) << output;
    EXPECT_EQ(access(dir.file("CONVERSOR.INI").c_str(), F_OK) == 0, c.iniAfter);
  }
}

TEST(Tq587Tool, LogOptionShowsTheLogAndPutsTheSwitchesBack) {
  Bench b(kIni);
  ASSERT_TRUE(b.printer.ready);
  std::string output;
  EXPECT_EQ(runTool(b.dir, {"--log", "drawer"}, output), 0) << output;
  EXPECT_TRUE(b.printer.stop());
  EXPECT_NE(output.find("[INFO]\t"), std::string::npos) << output;
  EXPECT_NE(output.find("========== Inicializando DLL =========="), std::string::npos);
  EXPECT_EQ(b.dir.read("CONVERSOR.INI").find("LOGDIARIO"), std::string::npos);
}

}  // namespace
}  // namespace e2e
