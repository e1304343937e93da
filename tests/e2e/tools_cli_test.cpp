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

struct ToolRun {
  int exitCode = -1;
  std::string output;
};

// Runs tq587 with the arguments in dir, giving it input on its standard input.
ToolRun runTool(const Scratch& dir, const std::vector<std::string>& arguments, const std::string& input) {
  ToolRun run;
  int in[2];
  int out[2];
  if (pipe(in) != 0 || pipe(out) != 0) return run;
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(in[0], 0);
    dup2(out[1], 1);
    dup2(out[1], 2);
    close(in[1]);
    close(out[0]);
    if (chdir(dir.path().c_str()) != 0) _exit(126);
    std::vector<const char*> argv = {TQ587_TOOL, "--lib", TQ587_LIBRARY_PATH};
    for (const std::string& a : arguments) argv.push_back(a.c_str());
    argv.push_back(nullptr);
    execv(argv[0], const_cast<char* const*>(argv.data()));
    _exit(127);
  }
  close(in[0]);
  close(out[1]);
  if (!input.empty() && write(in[1], input.data(), input.size()) < 0) ADD_FAILURE() << "stdin";
  close(in[1]);
  char chunk[4096];
  ssize_t got;
  while ((got = read(out[0], chunk, sizeof chunk)) > 0) run.output.append(chunk, static_cast<size_t>(got));
  close(out[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

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
    Scratch dir;
    writeFile(dir.file("CONVERSOR.INI"), kIni);
    writeFile(dir.file("receipt.txt"), "<ce>OK</ce>");
    VirtualPrinter printer(dir, 1, 9600);
    ASSERT_TRUE(printer.ready());

    const ToolRun run = runTool(dir, c.arguments, c.input);
    EXPECT_TRUE(printer.stop());
    EXPECT_EQ(run.exitCode, c.exitCode) << run.output;
    if (c.resultLine != nullptr) {
      EXPECT_NE(run.output.find(std::string(c.resultLine) + "\n"), std::string::npos) << run.output;
    }
    // A tool that got as far as loading the library has connected.
    const Bytes load = c.exitCode == 2 ? Bytes{} : Bytes{0x10, 0x04, 0x01, 0x1B, 0x40};
    EXPECT_EQ(printer.received(), join({load, c.received}));
  }
}

}  // namespace
}  // namespace e2e
