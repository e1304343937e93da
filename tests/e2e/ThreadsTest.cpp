// ThreadsTest.cpp - an application that calls the library from several
// threads at once (tests/wine/threads.c): three print receipts while a
// fourth changes the settings, kicks the drawer, closes the port and
// connects again, and a fifth reads CONVERSOR.INI. Every call must answer 1,
// every receipt arrive whole and in its thread's order, and CONVERSOR.INI
// be whole at every read.
#include "e2e/serial_harness.h"

namespace e2e {
namespace {

TEST(Threads, CallsFromFourThreadsRunOneAfterTheOther) {
  Scratch dir;
  // the log on (its file in a folder C:\KORVA\ that is missing), as it is
  // the log's settings too that the calls share
  writeFile(dir.file("CONVERSOR.INI"), "\r\n\r\n[TQ587]\r\n   PORTA = COM1\r\n   VELOCIDADE = 19200\r\n"
                                       "   CONTROLE_DE_FLUXO = DTR/DSR\r\n   CODEPAGE_AUTOMATICO = 1\r\n"
                                       "   ENTERAUTOMATICO = 1\r\n   GAVETA_INVERTIDA = 0\r\n"
                                       "   TABULACAO = \"05,10,15,20,25,35\"\r\n   METODO_DE_COMUNICACAO = \"SERIAL\"\r\n"
                                       "   TAMANHO_QRCODE = 4\r\n[SISTEMA]\r\nLOGDIARIO = S\r\n");
  VirtualPrinter printer(dir, 1, 19200);

  const Finished session = run({TQ587_THREADS, "run", TQ587_LIBRARY_PATH, "3"}, dir);
  EXPECT_TRUE(printer.stop(60));  // under a sanitizer its long receipt takes seconds to draw
  // a sanitizer's report ends run.err, in the scratch folder kept on failure
  EXPECT_EQ(session.status, 0) << dir.read("results.txt");
  const Finished check = run({TQ587_THREADS, "check", printer.record, dir.file("results.txt")}, dir);
  EXPECT_EQ(check.status, 0) << check.out;
}

}  // namespace
}  // namespace e2e
