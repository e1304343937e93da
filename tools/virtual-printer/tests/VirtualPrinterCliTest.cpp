// The virtual printer as its users run it: the command line, --render of a
// recording, and a receipt printed by the library over serial and over the
// USB stand-in.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <thread>

namespace {

std::string readAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

struct Scratch {
  std::string path;
  Scratch() {
    char name[] = "/tmp/tq587-preview-XXXXXX";
    path = mkdtemp(name) != nullptr ? name : "/tmp";
  }
  ~Scratch() { std::system(("rm -rf '" + path + "'").c_str()); }
  std::string file(const std::string& name, const std::string& content) const {
    std::ofstream(path + "/" + name, std::ios::binary) << content;
    return path + "/" + name;
  }
};

struct Finished {
  int status;
  std::string out;
  std::string err;
};

// Runs argv in dir with the extra environment, to the end.
Finished run(const std::vector<std::string>& argv, const std::string& dir,
        const std::vector<std::string>& environment = {}) {
  const std::string out = dir + "/.stdout", err = dir + "/.stderr";
  const pid_t child = fork();
  if (child == 0) {
    if (chdir(dir.c_str()) != 0) _exit(126);
    dup2(open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 1);
    dup2(open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 2);
    for (const std::string& e : environment) putenv(const_cast<char*>(e.c_str()));
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    execv(args[0], args.data());
    _exit(127);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readAll(out), readAll(err)};
}

TEST(VirtualPrinterCli, SaysWhatIsWrongAndRendersARecording) {
  Scratch dir;
  const std::string capture = dir.file("capture.bin", std::string("a\n\x1dV\x00", 5));
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
      {"nothing to do", {}, 2, "", "tq587-virtual-printer: nothing to do: give --dir, --usb, --decode or --render\n" + hint},
      {"unreadable recording", {"--render", dir.path + "/none.bin"}, 1, "",
       "tq587-virtual-printer: cannot read " + dir.path + "/none.bin: No such file or directory\n"},
      {"a directory is no recording", {"--decode", dir.path}, 1, "",
       "tq587-virtual-printer: cannot read " + dir.path + ": Is a directory\n"},
      {"render into a new directory", {"--render", capture, "--out", dir.path + "/out"}, 0,
       "receipt " + dir.path + "/out/receipt-0001.png: 512 x 30 dots\n\"a\"\nLF\nGS V 0\n", ""},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    std::vector<std::string> argv = {TQ587_VIRTUAL_PRINTER};
    argv.insert(argv.end(), c.args.begin(), c.args.end());
    const Finished r = run(argv, dir.path);
    EXPECT_EQ(r.status, c.status);
    EXPECT_EQ(r.out.substr(0, c.out.size()), c.out);
    EXPECT_EQ(r.err, c.err);
  }
  EXPECT_EQ(readAll(dir.path + "/out/receipt-0001.png").rfind("\x89PNG", 0), 0u);
}

std::string settings(const char* method) {
  return std::string("\r\n\r\n[TQ587]\r\n   PORTA = COM1\r\n   VELOCIDADE = 9600\r\n   CONTROLE_DE_FLUXO = DTR/DSR\r\n"
                     "   CODEPAGE_AUTOMATICO = 1\r\n   ENTERAUTOMATICO = 1\r\n   GAVETA_INVERTIDA = 0\r\n"
                     "   TABULACAO = \"05,10,15,20,25,35\"\r\n   METODO_DE_COMUNICACAO = \"") +
         method + "\"\r\n   TAMANHO_QRCODE = 4\r\n";
}

// Prints the receipt through the library set to method, to a virtual
// printer of its own that plays only that port; the first receipt's PNG
// file and what the tool said.
std::pair<std::string, std::string> printOver(const char* method) {
  Scratch dir;
  const std::string receipt = dir.file(
      "receipt.txt", "<ce><b>PADARIA</b></ce>\nP\xE3o<tb></tb>0,50\n<da>Total 0,50</da>\n<ean13>789100031550</ean13>\n"
                     "<qrcode>abc</qrcode>\n<gui></gui>");
  dir.file("CONVERSOR.INI", settings(method));
  // Every COM port leads nowhere but the one the printer plays: a library
  // that falls back to the serial search never reaches the machine's ports.
  mkdir((dir.path + "/dosdevices").c_str(), 0755);
  for (int port = 1; port <= 20; ++port) {
    symlink("/nonexistent", (dir.path + "/dosdevices/com" + std::to_string(port)).c_str());
  }
  const std::string socket = dir.path + "/usb.sock";
  const pid_t printer = fork();
  if (printer == 0) {
    dup2(open("/dev/null", O_WRONLY), 1);
    const bool usb = std::string(method) == "USB";
    execl(TQ587_VIRTUAL_PRINTER, TQ587_VIRTUAL_PRINTER, usb ? "--usb" : "--dir", usb ? socket.c_str() : dir.path.c_str(),
          "--out", dir.path.c_str(), "--speed", "9600", "--ready-file", (dir.path + "/ready").c_str(),
          static_cast<char*>(nullptr));
    _exit(127);
  }
  struct stat st;
  for (int k = 0; k < 100 && stat((dir.path + "/ready").c_str(), &st) != 0; ++k) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  const Finished tool = run({TQ587_TOOL, "text", receipt}, dir.path,
                            {std::string("LD_LIBRARY_PATH=") + TQ587_USB_STANDIN_DIR, "TQ587_USB_SOCKET=" + socket});
  kill(printer, SIGTERM);
  waitpid(printer, nullptr, 0);
  return {readAll(dir.path + "/receipt-0001.png"), tool.out};
}

TEST(VirtualPrinterCli, AReceiptOverTheUsbStandInLooksAsOverSerial) {
  const auto serial = printOver("SERIAL");
  const auto usb = printOver("USB");
  EXPECT_EQ(serial.second, "TQ587_iImprimirTexto: 1 (done)\n");
  EXPECT_EQ(usb.second, "TQ587_iImprimirTexto: 1 (done)\n");
  EXPECT_GT(serial.first.size(), 100u);
  EXPECT_TRUE(usb.first == serial.first) << "the receipts differ";
}

}  // namespace
