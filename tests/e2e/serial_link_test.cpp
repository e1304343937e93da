// serial_link_test.cpp - the library on a serial line, against virtual
// printers on pseudo-terminals: the search of ports and speeds (with its
// whole log once), status replies that are wrong or late, a receipt byte for
// byte, and a printer that hangs up the line.
//
// Every status probe costs the library a real 500 ms wait, so the searches
// here are kept short.
#include <memory>
#include <string>

#include "e2e/serial_harness.h"

namespace e2e {
namespace {

struct LineCase {
  const char* name;
  int port;           // configured, and the printer's
  const char* speed;  // configured
  std::vector<std::string> options;  // of the printer
  long printerSpeed;
  int silentPort;  // a port that opens and never answers; 0: none
  void (*calls)(Library&);
  std::vector<int> results;
  Bytes received;      // by the printer
  const char* iniHas;  // how CONVERSOR.INI begins
  std::vector<std::string> log;  // the whole console log; empty: not checked
};

void runAll(const std::vector<LineCase>& cases) {
  for (const LineCase& c : cases) {
    SCOPED_TRACE(c.name);
    Scratch dir;
    // a comment on top: a file the library rewrites loses it
    writeFile(dir.file("CONVERSOR.INI"), "; TQ587\r\n[TQ587]\r\nPORTA = COM" + std::to_string(c.port) +
                                             "\r\nVELOCIDADE = " + c.speed + "\r\nCODEPAGE_AUTOMATICO = 1\r\n" +
                                             "ENTERAUTOMATICO = 1\r\nMETODO_DE_COMUNICACAO = \"SERIAL\"\r\n" +
                                             "[SISTEMA]\r\nLOGDIARIO = S\r\n");
    mkdir(dir.file("dosdevices/c:/KORVA").c_str(), 0755);
    VirtualPrinter printer(dir, c.port, c.printerSpeed, c.options);
    std::unique_ptr<VirtualPrinter> silent;
    if (c.silentPort != 0) silent.reset(new VirtualPrinter(dir, c.silentPort, 0, {"--silent"}));
    EXPECT_EQ(inLibrary(dir, 15, c.calls), c.results);
    EXPECT_TRUE(printer.stop());
    EXPECT_EQ(printer.received(), c.received);
    EXPECT_EQ(dir.read("CONVERSOR.INI").find(c.iniHas), 0u) << dir.read("CONVERSOR.INI");
    EXPECT_EQ(consoleLines(c.log.empty() ? "" : dir.read("library.log")), c.log);
  }
}

void search(Library& lib) { lib.report(lib.call("TQ587_eBuscarPortaVelocidade")); }
void load(Library&) {}
const std::string kOpen = "INFO PrinterSerial::abrirPorta: ", kPort = "PrinterSerial::buscarPorta: ",
                  kSpeed = "PrinterSerial::buscarVelocidade: ", kTrying = "DEBUG " + kSpeed + "Testando velocidade: ";

TEST(SerialLink, ConnectsAtLoadByTheConfiguredPortOrBySearching) {
  runAll({
      // DETECTAR opens no port: the search starts on COM1 at 2400.
      {"DETECTAR", 1, "DETECTAR", {}, 2400, 0, search, {1}, {0x10, 0x04, 0x02, 0x1B, 0x40},
       "\r\n\r\n[TQ587]\r\n   PORTA = COM1\r\n   VELOCIDADE = 2400\r\n", {}},
      {"COM3 at a wrong speed, COM1 not there, COM2 silent: found on COM3 at 4800", 3, "9600", {}, 4800, 2,
       search, {1}, {0x10, 0x04, 0x01, 0x10, 0x04, 0x02, 0x10, 0x04, 0x02, 0x1B, 0x40},
       "\r\n\r\n[TQ587]\r\n   PORTA = COM3\r\n   VELOCIDADE = 4800\r\n",
       {"INFO initDLL: ========== Inicializando DLL ==========",
        "INFO PrinterController::connectSerial: Iniciando comunica\xE7\xE3o serial.",
        kOpen + "Iniciando procedimentos para a abertura da porta serial",
        "DEBUG PrinterSerial::abrirPorta: Carregando arquivo de configura\xE7\xF5" "es iniciais",
        kOpen + "Iniciando abertura de porta COM3", kOpen + "Porta COM3aberta com sucesso.",
        kOpen + "Iniciando comunica\xE7\xE3o...", kOpen + "Velocidade incorreta.",
        // COM1 is not there, nor has it a name: the ports found are COM2 and COM3
        "DEBUG " + kPort + "Iniciando busca de porta...", "DEBUG " + kPort + "Tentando abrir a porta: ",
        "ERROR " + kPort + "Falha ao buscar porta, n\xE3o foi poss\xEDvel enviar o m\xE9todo.",
        "DEBUG " + kPort + "Iniciando busca de porta...", "DEBUG " + kPort + "Tentando abrir a porta: COM2",
        "INFO " + kPort + "Porta COM2 Aberta com sucesso.", "INFO " + kSpeed + "Iniciando a busca da velocidadde",
        kTrying + "2400", kTrying + "4800", kTrying + "9600", kTrying + "19200", kTrying + "38400",
        kTrying + "57600", kTrying + "115200",
        "DEBUG " + kPort + "Iniciando busca de porta...", "DEBUG " + kPort + "Tentando abrir a porta: COM3",
        "INFO " + kPort + "Porta COM3 Aberta com sucesso.", "INFO " + kSpeed + "Iniciando a busca da velocidadde",
        kTrying + "2400", kTrying + "4800",
        "INFO MasterController::salvarArquivoINI: Iniciando a grava\xE7\xE3o do arquivo Conversor.ini",
        "INFO MasterController::salvarArquivoINI: Sucesso em gravar arquivo.",
        "INFO " + kSpeed + "Ini atualizado com sucesso.", "INFO " + kSpeed + "Porta: 3",
        "INFO " + kSpeed + "Velocidade: 4800",
        "INFO TQ587_eBuscarPortaVelocidade: inicio: TQ587_eBuscarPortaVelocidade",
        "DEBUG TQ587_eBuscarPortaVelocidade: Impressora j\xE1 conectada. Retornando 1..."}},
  });
}

// A printer whose reply lacks bit 1 or comes after the 500 ms wait is not
// there: at load COM1 is probed at its speed and the seven of the search,
// and the INI keeps its speed.
TEST(SerialLink, StatusReplyWithoutBitOneOrLateMeansNoPrinter) {
  const Bytes probed = {0x10, 0x04, 0x01, 0x10, 0x04, 0x02, 0x10, 0x04, 0x02, 0x10, 0x04, 0x02,
                        0x10, 0x04, 0x02, 0x10, 0x04, 0x02, 0x10, 0x04, 0x02, 0x10, 0x04, 0x02};
  const char* kept = "; TQ587\r\n[TQ587]\r\nPORTA = COM1\r\nVELOCIDADE = 9600\r\n";
  runAll({
      // 41 lacks bit 1; the 42 behind it is not taken for the answer to the next probe.
      {"a reply with bit 1 behind its first byte", 1, "9600", {"--status-reply", "41,42"}, 9600, 0, load, {},
       probed, kept, {}},
      {"after the wait", 1, "9600", {"--status-delay", "700"}, 9600, 0, load, {}, probed, kept, {}},
  });
}

TEST(SerialLink, ReceiptArrivesByteForByteUntilTheLineHangsUp) {
  runAll({
      {"receipt", 1, "9600", {}, 9600, 0,
       [](Library& lib) {
         lib.report(lib.call("TQ587_iImprimirTexto",
                             "<ce><b>LOJA</b></ce>Caf\xE9 12,50<l></l><ean13>789100031550</ean13><gui></gui>", 0));
         lib.report(lib.call("TQ587_fecharPorta"));
       },
       {1, 1},
       {0x10, 0x04, 0x01, 0x1B, 0x40,  // connect at load
        0x1B, 0x74, 0x10, 0x0A,        // code page before the text
        0x1B, 0x61, 0x01, 0x1B, 0x45, 0x01, 0x4C, 0x4F, 0x4A, 0x41, 0x1B, 0x45, 0x00, 0x0A, 0x1B, 0x61, 0x00,
        0x43, 0x61, 0x66, 0xE9, 0x20, 0x31, 0x32, 0x2C, 0x35, 0x30, 0x0A,
        0x1D, 0x6B, 0x43, 0x0C, 0x37, 0x38, 0x39, 0x31, 0x30, 0x30, 0x30, 0x33, 0x31, 0x35, 0x35, 0x30,
        0x1B, 0x40, 0x1D, 0x56, 0x42, 0x00, 0x1B, 0x40,  // cut
        0x0A},                                           // automatic final line feed
       "", {}},
      // The text stops at the first character the line does not take; the
      // line stays down.
      {"the printer hangs up in the middle of a text", 1, "9600", {"--hang-up-after", "105"}, 9600, 0,
       [](Library& lib) {  // more than the line buffers; declared as 1 character, it passes the limit
         lib.report(lib.call("TQ587_iImprimirTexto", std::string(300000, 'A').c_str(), 1));
         lib.report(lib.call("TQ587_iAcionarGaveta"));
       },
       {0, 0},
       [] {  // the probe and ESC @ of the load, the code page, then what the line took of the text
         Bytes b = {0x10, 0x04, 0x01, 0x1B, 0x40, 0x1B, 0x74, 0x10, 0x0A};
         b.resize(b.size() + 96, 0x41);
         return b;
       }(),
       "", {}},
  });
}

}  // namespace
}  // namespace e2e
