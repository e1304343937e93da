// bench_receipt.cpp - TQ587_iImprimirTexto per call, engine built and torn
// down in the call and CONVERSOR.INI read as the call reads it: the 30-item
// receipt, the drawer kick (a call with next to no work of its own), and
// tag-dense texts of 100, 2000 and 10,000 characters (a count
// declared, so that the longer ones are taken). The printer only counts
// bytes.
#include <benchmark/benchmark.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "BenchSupport.h"
#include "api/Library.h"
#include "connection/PrinterController.h"
#include "tq587.h"

namespace {

const char kIni[] =
    "\r\n\r\n[TQ587]\r\n   PORTA = COM1\r\n   VELOCIDADE = 9600\r\n   CONTROLE_DE_FLUXO = DTR/DSR\r\n"
    "   CODEPAGE_AUTOMATICO = 1\r\n   ENTERAUTOMATICO = 1\r\n   GAVETA_INVERTIDA = 0\r\n"
    "   TABULACAO = \"05,10,15,20,25,35\"\r\n   METODO_DE_COMUNICACAO = \"SERIAL\"\r\n"
    "   TAMANHO_QRCODE = 4\r\n";

std::unique_ptr<AbstractCommunicationPipe> countingPipe() { return std::make_unique<CountingPipe>(); }

// Once: a scratch directory with CONVERSOR.INI as the current directory,
// and the library started on a counting printer.
void start() {
  static const bool started = [] {
    char dir[] = "/tmp/tq587-bench-XXXXXX";
    if (!mkdtemp(dir) || chdir(dir) != 0) std::abort();
    mkdir("dosdevices", 0755);
    std::ofstream("CONVERSOR.INI", std::ios::binary) << kIni;
    PrinterController::getInstance().setPipeFactories(countingPipe, countingPipe);
    initDLL();
    return true;
  }();
  (void)started;
}

void Print(benchmark::State& state, const std::string& text, int n) {
  start();
  int result = 0;
  measure(state, [&] { result = TQ587_iImprimirTexto(text.c_str(), n); });
  state.counters["result"] = result;
}

void BM_Receipt30Items(benchmark::State& state) {
  std::ifstream in(TQ587_BENCH_DIR "/receipt-30-items.txt", std::ios::binary);
  std::ostringstream receipt;
  receipt << in.rdbuf();
  Print(state, receipt.str(), 2000);
}

// Formatting and parameter tags back to back, cut to the length asked
// (every tag of each length is converted).
void BM_TagDense(benchmark::State& state) {
  const std::string unit = "<b>x</b><sp>3</sp><c>y</c><tb>z</tb>";
  std::string text;
  while (text.size() < static_cast<size_t>(state.range(0))) text += unit;
  text.resize(static_cast<size_t>(state.range(0)));
  Print(state, text, 1);
  state.SetComplexityN(state.range(0));
}

// The cheapest call that reaches the printer: what every call costs beyond
// its own work (the lock that takes calls one at a time among it).
void BM_DrawerKick(benchmark::State& state) {
  start();
  int result = 0;
  measure(state, [&] { result = TQ587_iAcionarGaveta(); });
  state.counters["result"] = result;
}

BENCHMARK(BM_DrawerKick)->Unit(benchmark::kNanosecond);
BENCHMARK(BM_Receipt30Items)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TagDense)->Arg(100)->Arg(2000)->Arg(10000)->Unit(benchmark::kMicrosecond)->Complexity();

}  // namespace

BENCHMARK_MAIN();
