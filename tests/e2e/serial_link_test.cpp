// serial_link_test.cpp - the library on a serial line, against a virtual
// printer on a pseudo-terminal: the configured port, the search of ports
// and speeds, a receipt byte for byte, and a printer switched off mid-job.
//
// Every status probe costs the library a real 500 ms wait, so the searches
// here are kept short; only one row walks a port through all seven speeds.
#include <memory>
#include <string>

#include "e2e/serial_harness.h"

namespace e2e {
namespace {

// CONVERSOR.INI as an installer might leave it: a comment on top (a file
// the library rewrites loses it) and the keys the library reads.
std::string installedIni(const char* speed, const char* enter) {
  return std::string("; TQ587 printer\r\n[TQ587]\r\nPORTA = COM1\r\nVELOCIDADE = ") + speed +
         "\r\nCONTROLE_DE_FLUXO = DTR/DSR\r\nCODEPAGE_AUTOMATICO = 1\r\nENTERAUTOMATICO = " + enter +
         "\r\nGAVETA_INVERTIDA = 0\r\nTABULACAO = \"05,10,15,20,25,35\"\r\n"
         "METODO_DE_COMUNICACAO = \"SERIAL\"\r\nTAMANHO_QRCODE = 4\r\n";
}

// The whole file as the library writes it after a search found the printer.
std::string foundIni(const char* port, const char* speed) {
  return std::string("\r\n\r\n[TQ587]\r\n   PORTA = ") + port + "\r\n   VELOCIDADE = " + speed +
         "\r\n   CONTROLE_DE_FLUXO = DTR/DSR\r\n   CODEPAGE_AUTOMATICO = 1\r\n   ENTERAUTOMATICO = 0\r\n"
         "   GAVETA_INVERTIDA = 0\r\n   TABULACAO = \"05,10,15,20,25,35\"\r\n"
         "   METODO_DE_COMUNICACAO = \"SERIAL\"\r\n   TAMANHO_QRCODE = 4\r\n";
}

struct SearchCase {
  const char* name;
  const char* iniSpeed;  // of COM1
  int printerPort;
  long printerSpeed;
  Bytes received;        // by the printer
  bool silentCom1;       // COM1 opens but never answers; false: COM1 absent or the printer
  std::string iniAfter;  // empty: the file is left as it was
};

// Each row costs one probe wait (500 ms) per speed tried; the silent COM1
// is probed at all seven speeds before the search moves on.
TEST(SerialLink, ConnectsAtLoadByTheConfiguredPortOrBySearching) {
  const SearchCase kCases[] = {
      {"configured port and speed answer the first probe", "9600", 1, 9600, {0x10, 0x04, 0x01, 0x1B, 0x40},
       false, ""},
      {"DETECTAR: the search starts on COM1 at 2400", "DETECTAR", 1, 2400, {0x10, 0x04, 0x02, 0x1B, 0x40},
       false, foundIni("COM1", "2400")},
      {"wrong speed: probed at 9600, found at 4800", "9600", 1, 4800,
       {0x10, 0x04, 0x01, 0x10, 0x04, 0x02, 0x10, 0x04, 0x02, 0x1B, 0x40}, false, foundIni("COM1", "4800")},
      {"COM1 silent, COM2 absent, printer on COM3", "9600", 3, 9600,
       {0x10, 0x04, 0x02, 0x10, 0x04, 0x02, 0x10, 0x04, 0x02, 0x1B, 0x40}, true, foundIni("COM3", "9600")},
  };
  for (const SearchCase& c : kCases) {
    SCOPED_TRACE(c.name);
    const std::string ini = installedIni(c.iniSpeed, "0");
    Bench b(ini, c.printerPort, c.printerSpeed);
    std::unique_ptr<VirtualPrinter> silent;
    if (c.silentCom1) silent.reset(new VirtualPrinter(b.dir, 1, 0, {"--silent"}));
    ASSERT_TRUE(b.printer.ready);

    LibraryProcess child(b.dir, [](Library& lib) { lib.report(lib.call("TQ587_eBuscarPortaVelocidade")); });
    EXPECT_EQ(child.results(15), std::vector<int>{1});
    EXPECT_TRUE(child.finish(5));
    EXPECT_TRUE(b.printer.stop());
    EXPECT_EQ(b.printer.received(), c.received);
    if (silent) {
      EXPECT_TRUE(silent->stop());
      EXPECT_EQ(silent->received(), kProbedAtEverySpeed);
    }
    EXPECT_EQ(b.dir.read("CONVERSOR.INI"), c.iniAfter.empty() ? ini : c.iniAfter);
  }
}

TEST(SerialLink, ReceiptArrivesByteForByte) {
  Bench b(installedIni("9600", "1"));
  writeFile(b.dir.file("stripes.bmp"), bmpFile(16, 8, std::string("\0\xFF\0\0", 4)));  // left half black
  ASSERT_TRUE(b.printer.ready);

  LibraryProcess child(b.dir, [](Library& library) {
    library.report(library.print("<ce><b>LOJA</b></ce>Caf\xE9 12,50<l></l><ean13>789100031550</ean13><gui></gui>"));
    library.report(library.call("TQ587_iImprimirBMP", "stripes.bmp"));
    library.report(library.call("TQ587_iAcionarGaveta"));
    library.report(library.call("TQ587_regTabulacao", "5,10,15"));
    library.report(library.call("TQ587_fecharPorta"));
  });
  EXPECT_EQ(child.results(10), (std::vector<int>{1, 1, 1, 1, 1}));
  EXPECT_TRUE(child.finish(5));
  EXPECT_TRUE(b.printer.stop());

  const Bytes expected = join({
      {0x10, 0x04, 0x01, 0x1B, 0x40},  // connect at load
      {0x1B, 0x74, 0x10, 0x0A},        // code page before the text
      {0x1B, 0x61, 0x01, 0x1B, 0x45, 0x01, 0x4C, 0x4F, 0x4A, 0x41, 0x1B, 0x45, 0x00,
       0x0A, 0x1B, 0x61, 0x00},
      {0x43, 0x61, 0x66, 0xE9, 0x20, 0x31, 0x32, 0x2C, 0x35, 0x30, 0x0A},
      {0x1D, 0x6B, 0x43, 0x0C, 0x37, 0x38, 0x39, 0x31, 0x30, 0x30, 0x30, 0x33, 0x31, 0x35, 0x35, 0x30},
      {0x1B, 0x40, 0x1D, 0x56, 0x42, 0x00, 0x1B, 0x40},  // cut
      {0x0A},                                            // automatic final line feed
      {0x1D, 0x38, 0x4C, 0x1A, 0x00, 0x00, 0x00, 0x30, 0x70, 0x30, 0x01, 0x01, 0x31, 0x10, 0x00, 0x08, 0x00,
       0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00,
       0x1B, 0x40, 0x1D, 0x28, 0x4C, 0x02, 0x00, 0x30, 0x02, 0x0A},
      {0x1B, 0x70, 0x00, 0x96, 0xFF},  // drawer
      {0x1B, 0x44, 0x05, 0x0A, 0x0F, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
       0x00, 0x00, 0x00, 0x00, 0x00, 0x00},  // tabs, 22 bytes
  });
  EXPECT_EQ(b.printer.received(), expected);
}

}  // namespace
}  // namespace e2e
