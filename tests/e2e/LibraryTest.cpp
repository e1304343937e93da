// LibraryTest.cpp - libTQ587.so loaded as an application loads it, with no
// printer attached: start-up, results without a printer, the export table.
#include <cstdio>
#include <set>
#include <string>

#include "e2e/serial_harness.h"

namespace e2e {
namespace {

TEST(Library, DynamicSymbolTableHoldsExactlyTheFifteen) {
  FILE* out = popen((std::string(TQ587_NM) + " -D --defined-only -j '" + TQ587_LIBRARY_PATH + "'").c_str(), "r");
  ASSERT_NE(out, nullptr);
  std::set<std::string> names;
  for (char name[1024]; std::fscanf(out, "%1023s", name) == 1;) names.insert(name);
  ASSERT_EQ(pclose(out), 0);
  EXPECT_EQ(names, (std::set<std::string>{
                       "TQ587_eBuscarPortaVelocidade", "TQ587_fecharPorta", "TQ587_iAcionarGaveta",
                       "TQ587_iImprimirTexto", "TQ587_iImprimirBMP", "TQ587_iImprimirImagem",
                       "TQ587_regCodePageAutomatico", "TQ587_regEnterFinal", "TQ587_regModoGaveta",
                       "TQ587_regTabulacao", "TQ587_iConfigurarGuilhotina", "TQ587_rConsultaStatusImpressora",
                       "TQ587_regLinhasGuilhotina", "TQ587_regPortaComunicacao", "TQ587_regVelocidade"}));
}

// Every COM port leads nowhere: loading writes the default configuration
// and is quick; a call that needs the printer finds none, and closing with
// nothing open is done. (What each export answers without a printer, with
// null arguments or as a placeholder is the golden scripts' and the exports
// unit test's.)
TEST(Library, LoadAndResultsWithoutPrinter) {
  Scratch dir;
  LibraryProcess child(dir, [](Library& lib) {
    if (std::system("cp CONVERSOR.INI at-load.ini") != 0) _exit(7);
    for (int result : {lib.print("Total"), lib.call("TQ587_iAcionarGaveta"), lib.call("TQ587_eBuscarPortaVelocidade"),
                       lib.call("TQ587_fecharPorta"), lib.call("TQ587_regCodePageAutomatico", "1"),
                       // pictures reach for the printer before they open the file
                       lib.call("TQ587_iImprimirBMP", "missing.bmp"), lib.call("TQ587_iImprimirImagem", "missing.bmp")})
      lib.report(result);
  });
  // Each within 5 s of the one before, the first (load included) of the start.
  EXPECT_EQ(child.results(5), (std::vector<int>{0, 0, 0, 1, 0, 0, 0}));
  EXPECT_TRUE(child.finish(5));
  EXPECT_EQ(dir.read("at-load.ini"),
            "\r\n\r\n[TQ587]\r\n   PORTA = COM1\r\n   VELOCIDADE = 115200\r\n   CONTROLE_DE_FLUXO = DTR/DSR\r\n"
            "   CODEPAGE_AUTOMATICO = 1\r\n   ENTERAUTOMATICO = 1\r\n   GAVETA_INVERTIDA = 1\r\n"
            "   TABULACAO = \"05,10,15,20,25,35\"\r\n   METODO_DE_COMUNICACAO = \"SERIAL\"\r\n"
            "   TAMANHO_QRCODE = 5\r\n");
}

}  // namespace
}  // namespace e2e
