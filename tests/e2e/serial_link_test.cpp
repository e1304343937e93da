// serial_link_test.cpp - the library on a serial line, against a virtual
// printer on a pseudo-terminal: the configured port, the search of ports
// and speeds, a receipt byte for byte, and a printer switched off mid-job.
//
// Every status probe costs the library a real 500 ms wait, so the searches
// here are kept short; only one test walks a port through all seven speeds.
#include <gtest/gtest.h>

#include <string>

#include "e2e/serial_harness.h"

namespace e2e {
namespace {

// CONVERSOR.INI as an installer might leave it: a comment on top (a file
// the library rewrites loses it) and the keys the library reads.
std::string installedIni(const char* port, const char* speed, const char* enter) {
  return std::string("; TQ587 printer\r\n[TQ587]\r\nPORTA = ") + port + "\r\nVELOCIDADE = " + speed +
         "\r\nCONTROLE_DE_FLUXO = DTR/DSR\r\nCODEPAGE_AUTOMATICO = 1\r\nENTERAUTOMATICO = " + enter +
         "\r\nGAVETA_INVERTIDA = 0\r\nTABULACAO = \"05,10,15,20,25,35\"\r\n"
         "METODO_DE_COMUNICACAO = \"SERIAL\"\r\nTAMANHO_QRCODE = 4\r\n";
}

// The whole file as the library writes it after a search found the printer.
const char kFoundCom1At2400[] =
    "\r\n\r\n[TQ587]\r\n   PORTA = COM1\r\n   VELOCIDADE = 2400\r\n   CONTROLE_DE_FLUXO = DTR/DSR\r\n"
    "   CODEPAGE_AUTOMATICO = 1\r\n   ENTERAUTOMATICO = 0\r\n   GAVETA_INVERTIDA = 0\r\n"
    "   TABULACAO = \"05,10,15,20,25,35\"\r\n   METODO_DE_COMUNICACAO = \"SERIAL\"\r\n"
    "   TAMANHO_QRCODE = 4\r\n";
const char kFoundCom1At4800[] =
    "\r\n\r\n[TQ587]\r\n   PORTA = COM1\r\n   VELOCIDADE = 4800\r\n   CONTROLE_DE_FLUXO = DTR/DSR\r\n"
    "   CODEPAGE_AUTOMATICO = 1\r\n   ENTERAUTOMATICO = 0\r\n   GAVETA_INVERTIDA = 0\r\n"
    "   TABULACAO = \"05,10,15,20,25,35\"\r\n   METODO_DE_COMUNICACAO = \"SERIAL\"\r\n"
    "   TAMANHO_QRCODE = 4\r\n";
const char kFoundCom3At9600[] =
    "\r\n\r\n[TQ587]\r\n   PORTA = COM3\r\n   VELOCIDADE = 9600\r\n   CONTROLE_DE_FLUXO = DTR/DSR\r\n"
    "   CODEPAGE_AUTOMATICO = 1\r\n   ENTERAUTOMATICO = 0\r\n   GAVETA_INVERTIDA = 0\r\n"
    "   TABULACAO = \"05,10,15,20,25,35\"\r\n   METODO_DE_COMUNICACAO = \"SERIAL\"\r\n"
    "   TAMANHO_QRCODE = 4\r\n";

// Loads the library (which connects) and asks it to connect.
void connectOnly(Library& library) { library.report(library.call("TQ587_eBuscarPortaVelocidade")); }

struct SearchCase {
  const char* name;
  const char* iniPort;
  const char* iniSpeed;
  int printerPort;
  long printerSpeed;
  Bytes received;       // by the printer
  const char* iniAfter;  // nullptr: the file is left as it was
};

// Each row costs one probe wait per speed tried (500 ms).
TEST(SerialLink, ConnectsAtLoadByTheConfiguredPortOrBySearching) {
  const SearchCase kCases[] = {
      {"configured port and speed answer the first probe", "COM1", "9600", 1, 9600,
       {0x10, 0x04, 0x01, 0x1B, 0x40}, nullptr},
      {"DETECTAR: the search starts on COM1 at 2400", "COM1", "DETECTAR", 1, 2400,
       {0x10, 0x04, 0x02, 0x1B, 0x40}, kFoundCom1At2400},
      {"wrong speed: probed at 9600, found at 4800", "COM1", "9600", 1, 4800,
       {0x10, 0x04, 0x01, 0x10, 0x04, 0x02, 0x10, 0x04, 0x02, 0x1B, 0x40}, kFoundCom1At4800},
      {"COM1 and COM2 absent, printer on COM3", "COM1", "9600", 3, 9600,
       {0x10, 0x04, 0x02, 0x10, 0x04, 0x02, 0x10, 0x04, 0x02, 0x1B, 0x40}, kFoundCom3At9600},
  };
  for (const SearchCase& c : kCases) {
    SCOPED_TRACE(c.name);
    Scratch dir;
    const std::string ini = installedIni(c.iniPort, c.iniSpeed, "0");
    writeFile(dir.file("CONVERSOR.INI"), ini);
    VirtualPrinter printer(dir, c.printerPort, c.printerSpeed);
    ASSERT_TRUE(printer.ready());

    LibraryProcess child(dir, connectOnly);
    EXPECT_EQ(child.results(10), std::vector<int>{1});
    EXPECT_TRUE(child.finish(5));
    EXPECT_TRUE(printer.stop());
    EXPECT_EQ(printer.received(), c.received);
    EXPECT_EQ(dir.read("CONVERSOR.INI"), c.iniAfter != nullptr ? std::string(c.iniAfter) : ini);
  }
}

// A port that opens but never answers is probed at all seven speeds before
// the search moves on (the long search: about 5 s of probe waits).
TEST(SerialLink, PortWithoutPrinterIsProbedAtEverySpeed) {
  Scratch dir;
  writeFile(dir.file("CONVERSOR.INI"), installedIni("COM1", "9600", "0"));
  VirtualPrinter nothing(dir, 1, 0, /*silent=*/true);
  VirtualPrinter printer(dir, 3, 9600);
  ASSERT_TRUE(nothing.ready() && printer.ready());

  LibraryProcess child(dir, connectOnly);
  EXPECT_EQ(child.results(15), std::vector<int>{1});
  EXPECT_TRUE(child.finish(5));
  EXPECT_TRUE(nothing.stop());
  EXPECT_TRUE(printer.stop());
  EXPECT_EQ(nothing.received(), (Bytes{0x10, 0x04, 0x01,                     // configured 9600
                                       0x10, 0x04, 0x02, 0x10, 0x04, 0x02,   // 2400, 4800
                                       0x10, 0x04, 0x02, 0x10, 0x04, 0x02,   // 9600, 19200
                                       0x10, 0x04, 0x02, 0x10, 0x04, 0x02,   // 38400, 57600
                                       0x10, 0x04, 0x02}));                 // 115200
  EXPECT_EQ(printer.received(), (Bytes{0x10, 0x04, 0x02, 0x10, 0x04, 0x02, 0x10, 0x04, 0x02, 0x1B, 0x40}));
  EXPECT_EQ(dir.read("CONVERSOR.INI"), kFoundCom3At9600);
}

// 8 x 8, all black: the smallest picture that prints.
bool allDark(int, int) { return true; }
// 16 x 8, left half black.
bool leftHalfDark(int x, int) { return x < 8; }

TEST(SerialLink, ReceiptArrivesByteForByte) {
  Scratch dir;
  writeFile(dir.file("CONVERSOR.INI"), installedIni("COM1", "9600", "1"));
  writeFile(dir.file("logo.bmp"), bmpFile(8, 8, allDark));
  writeFile(dir.file("stripes.bmp"), bmpFile(16, 8, leftHalfDark));
  VirtualPrinter printer(dir, 1, 9600);
  ASSERT_TRUE(printer.ready());

  LibraryProcess child(dir, [](Library& library) {
    library.report(library.print(
        "<ce><b>LOJA</b></ce>Caf\xE9 12,50<l></l><altbarras>80</altbarras>"
        "<ean13>789100031550</ean13><qrcode>abc</qrcode><ibmp>logo.bmp</ibmp><pdf>abc</pdf>"
        "<gui></gui>"));
    library.report(library.call("TQ587_iImprimirBMP", "stripes.bmp"));
    library.report(library.call("TQ587_iAcionarGaveta"));
    library.report(library.call("TQ587_regTabulacao", "5,10,15"));
    library.report(library.call("TQ587_fecharPorta"));
  });
  EXPECT_EQ(child.results(10), (std::vector<int>{1, 1, 1, 1, 1}));
  EXPECT_TRUE(child.finish(5));
  EXPECT_TRUE(printer.stop());

  const Bytes expected = join({
      {0x10, 0x04, 0x01, 0x1B, 0x40},  // connect at load
      {0x1B, 0x74, 0x10, 0x0A},        // code page before the text
      {0x1B, 0x61, 0x01, 0x1B, 0x45, 0x01, 0x4C, 0x4F, 0x4A, 0x41, 0x1B, 0x45, 0x00,
       0x0A, 0x1B, 0x61, 0x00},
      {0x43, 0x61, 0x66, 0xE9, 0x20, 0x31, 0x32, 0x2C, 0x35, 0x30, 0x0A},
      {0x1D, 0x68, 0x50},
      {0x1D, 0x6B, 0x43, 0x0C, 0x37, 0x38, 0x39, 0x31, 0x30, 0x30, 0x30, 0x33, 0x31, 0x35, 0x35, 0x30},
      {0x1D, 0x28, 0x6B, 0x04, 0x00, 0x31, 0x41, 0x32, 0x00, 0x1D, 0x28, 0x6B, 0x03, 0x00, 0x31, 0x43, 0x04,
       0x1D, 0x28, 0x6B, 0x03, 0x00, 0x31, 0x45, 0x30, 0x1D, 0x28, 0x6B, 0x06, 0x00, 0x31, 0x50, 0x30,
       0x61, 0x62, 0x63, 0x1D, 0x28, 0x6B, 0x03, 0x00, 0x31, 0x51, 0x30, 0x00, 0x00},
      {0x1D, 0x38, 0x4C, 0x12, 0x00, 0x00, 0x00, 0x30, 0x70, 0x30, 0x01, 0x01, 0x31, 0x08, 0x00, 0x08, 0x00,
       0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
       0x1B, 0x40, 0x1D, 0x28, 0x4C, 0x02, 0x00, 0x30, 0x02, 0x0A},
      {0x1D, 0x28, 0x6B, 0x03, 0x00, 0x30, 0x41, 0x00, 0x1D, 0x28, 0x6B, 0x03, 0x00, 0x30, 0x42, 0x00,
       0x1D, 0x28, 0x6B, 0x03, 0x00, 0x30, 0x43, 0x03, 0x1D, 0x28, 0x6B, 0x03, 0x00, 0x30, 0x44, 0x03,
       0x1D, 0x28, 0x6B, 0x04, 0x00, 0x30, 0x45, 0x31, 0x01, 0x1D, 0x28, 0x6B, 0x06, 0x00, 0x30, 0x50, 0x30,
       0x61, 0x62, 0x63, 0x1D, 0x28, 0x6B, 0x03, 0x00, 0x30, 0x51, 0x30},
      {0x1B, 0x40, 0x1D, 0x56, 0x42, 0x00, 0x1B, 0x40},  // cut
      {0x0A},                                            // automatic final line feed
      {0x1D, 0x38, 0x4C, 0x1A, 0x00, 0x00, 0x00, 0x30, 0x70, 0x30, 0x01, 0x01, 0x31, 0x10, 0x00, 0x08, 0x00,
       0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00,
       0x1B, 0x40, 0x1D, 0x28, 0x4C, 0x02, 0x00, 0x30, 0x02, 0x0A},
      {0x1B, 0x70, 0x00, 0x96, 0xFF},  // drawer
      {0x1B, 0x44, 0x05, 0x0A, 0x0F, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
       0x00, 0x00, 0x00, 0x00, 0x00, 0x00},  // tabs, 22 bytes
  });
  EXPECT_EQ(printer.received(), expected);
}

// The printer is switched off between two texts of a receipt: what came
// before is printed, the rest fails with 0 and nothing waits for it.
TEST(SerialLink, PrinterSwitchedOffMidReceiptFailsWithoutHanging) {
  Scratch dir;
  writeFile(dir.file("CONVERSOR.INI"), installedIni("COM1", "9600", "0"));
  VirtualPrinter printer(dir, 1, 9600);
  ASSERT_TRUE(printer.ready());

  LibraryProcess child(dir, [](Library& library) {
    library.report(library.print("<b>LOJA</b>"));
    library.pause();
    library.report(library.print("Total 12,50"));
    library.report(library.call("TQ587_iAcionarGaveta"));
  });
  EXPECT_EQ(child.results(10), std::vector<int>{1});
  EXPECT_TRUE(printer.stop());
  child.resume();
  const double start = now();
  EXPECT_EQ(child.results(10), (std::vector<int>{0, 0}));
  EXPECT_TRUE(child.finish(5));
  EXPECT_LT(now() - start, 5.0);
  EXPECT_EQ(printer.received(), (Bytes{0x10, 0x04, 0x01, 0x1B, 0x40, 0x1B, 0x74, 0x10, 0x0A, 0x1B, 0x45,
                                       0x01, 0x4C, 0x4F, 0x4A, 0x41, 0x1B, 0x45, 0x00}));
}

// The printer is switched off while a text is on its way: the picture file
// of the text is a named pipe, so the library waits inside the text until
// the test has switched the printer off and hands it the picture.
TEST(SerialLink, PrinterSwitchedOffInsideATextFailsWithoutHanging) {
  Scratch dir;
  writeFile(dir.file("CONVERSOR.INI"), installedIni("COM1", "9600", "0"));
  ASSERT_EQ(mkfifo(dir.file("logo.bmp").c_str(), 0644), 0);
  VirtualPrinter printer(dir, 1, 9600);
  ASSERT_TRUE(printer.ready());

  LibraryProcess child(dir, [](Library& library) {
    library.report(library.print("ABC<ibmp>logo.bmp</ibmp>DEF"));
  });
  const Bytes beforeThePicture = {0x10, 0x04, 0x01, 0x1B, 0x40, 0x1B, 0x74, 0x10, 0x0A, 0x41, 0x42, 0x43};
  EXPECT_TRUE(waitFor([&] { return printer.received() == beforeThePicture; }, 5));
  EXPECT_TRUE(printer.stop());
  EXPECT_TRUE(writeToFifo(dir.file("logo.bmp"), bmpFile(8, 8, allDark), 5));
  const double start = now();
  EXPECT_EQ(child.results(5), std::vector<int>{0});
  EXPECT_TRUE(child.finish(5));
  EXPECT_LT(now() - start, 5.0);
  EXPECT_EQ(printer.received(), beforeThePicture);
}

}  // namespace
}  // namespace e2e
