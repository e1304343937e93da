// The virtual printer as its users run it: the command line, --render of a
// recording, and a receipt printed by the library over serial and over the
// USB stand-in.
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
      {"nothing to do", {}, 2, "", "tq587-virtual-printer: nothing to do: give --dir, --usb, --decode or --render\n" + hint},
      {"unreadable recording", {"--render", dir.file("none.bin")}, 1, "",
       "tq587-virtual-printer: cannot read " + dir.path + "/none.bin: No such file or directory\n"},
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

// Prints the receipt through the library set to method, to a virtual
// printer of its own that plays only that port (COM1 or the USB socket);
// the first receipt's PNG file.
std::string printOver(const char* method) {
  SCOPED_TRACE(method);
  Scratch dir;
  writeFile(dir.file("receipt.txt"),
            "<ce><b>PADARIA</b></ce>\nP\xE3o<tb></tb>0,50\n<da>Total 0,50</da>\n<ean13>789100031550</ean13>\n"
            "<qrcode>abc</qrcode>\n<gui></gui>");
  writeFile(dir.file("CONVERSOR.INI"), std::string("[TQ587]\r\nPORTA = COM1\r\nVELOCIDADE = 9600\r\n"
                                                   "METODO_DE_COMUNICACAO = \"") + method + "\"\r\n");
  VirtualPrinter printer(dir, std::string(method) == "USB" ? 0 : 1, 9600, {"--out", dir.path});
  const Finished tool = run({TQ587_TOOL, "text", "receipt.txt"}, dir, "",
                            {std::string("LD_LIBRARY_PATH=") + TQ587_USB_STANDIN_DIR,
                             "TQ587_USB_SOCKET=" + dir.file("usb.sock")});
  EXPECT_EQ(tool.out, "TQ587_iImprimirTexto: 1 (done)\n");
  EXPECT_TRUE(printer.stop());
  return dir.read("receipt-0001.png");
}

TEST(VirtualPrinterCli, AReceiptOverTheUsbStandInLooksAsOverSerial) {
  const std::string serial = printOver("SERIAL");
  EXPECT_GT(serial.size(), 100u);
  EXPECT_TRUE(printOver("USB") == serial) << "the receipts differ";
}

}  // namespace
}  // namespace e2e
