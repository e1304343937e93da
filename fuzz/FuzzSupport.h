// FuzzSupport.h - what the fuzz targets of the library share: a scratch
// directory made the current directory, a CONVERSOR.INI in it, and a
// printer that swallows every byte. Included once by each target, whose
// LLVMFuzzerInitialize it is.
#pragma once

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <fstream>
#include <memory>
#include <string>

#include "api/Library.h"
#include "connection/PrinterController.h"

namespace fuzz {

class SwallowingPipe : public AbstractCommunicationPipe {
 public:
  int startCommunication() override { return 1; }
  int read(uint8_t*, int32_t) override { return 0; }
  int write(const uint8_t*, int32_t length) override { return length; }
  int close() override { return 1; }
};

inline std::unique_ptr<AbstractCommunicationPipe> swallowingPipe() { return std::make_unique<SwallowingPipe>(); }

inline void writeFile(const std::string& name, const void* bytes, size_t size) {
  std::ofstream(name, std::ios::binary).write(static_cast<const char*>(bytes), static_cast<std::streamsize>(size));
}

const char kIni[] =
    "\r\n\r\n[TQ587]\r\n   PORTA = COM1\r\n   VELOCIDADE = 9600\r\n   CONTROLE_DE_FLUXO = DTR/DSR\r\n"
    "   CODEPAGE_AUTOMATICO = 1\r\n   ENTERAUTOMATICO = 1\r\n   GAVETA_INVERTIDA = 0\r\n"
    "   TABULACAO = \"05,10,15,20,25,35\"\r\n   METODO_DE_COMUNICACAO = \"SERIAL\"\r\n"
    "   TAMANHO_QRCODE = 4\r\n";

}  // namespace fuzz

// Once per process: a scratch current directory with CONVERSOR.INI and the
// two pictures the text corpus names (a.bmp, b.bmp: seeds of the BMP corpus
// beside this file), no COM port that leads anywhere, and the library
// started on a swallowing printer.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  using namespace fuzz;
  // In memory where the machine has it: each rewrite of CONVERSOR.INI is
  // flushed to disk, which a tmpfs does at no cost.
  std::string dir = access("/dev/shm", W_OK) == 0 ? "/dev/shm/tq587-fuzz-XXXXXX" : "/tmp/tq587-fuzz-XXXXXX";
  if (!mkdtemp(&dir[0]) || chdir(dir.c_str()) != 0) abort();
  mkdir("dosdevices", 0755);
  // A drive c: without KORVA: a log switched on by a fuzzed CONVERSOR.INI
  // reaches no folder of the machine's and fills no disk.
  mkdir("dosdevices/c:", 0755);
  for (int port = 1; port <= 20; ++port)
    if (symlink("/nonexistent", ("dosdevices/com" + std::to_string(port)).c_str()) != 0) abort();
  writeFile("CONVERSOR.INI", kIni, sizeof kIni - 1);
  const std::string here = __FILE__, seeds = here.substr(0, here.rfind('/') + 1) + "corpus/bmp/";
  if (!(std::ofstream("a.bmp", std::ios::binary) << std::ifstream(seeds + "mono-16x8.bmp", std::ios::binary).rdbuf()) ||
      !(std::ofstream("b.bmp", std::ios::binary) << std::ifstream(seeds + "rgb24-11x7.bmp", std::ios::binary).rdbuf()))
    abort();
  PrinterController::getInstance().setPipeFactories(swallowingPipe, swallowingPipe);
  initDLL();
  return 0;
}
