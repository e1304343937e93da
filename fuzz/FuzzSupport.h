// FuzzSupport.h - what the fuzz targets share: a scratch directory made the
// current directory, a CONVERSOR.INI in it, and a printer that swallows
// every byte.
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

inline std::unique_ptr<AbstractCommunicationPipe> swallowingPipe() {
  return std::make_unique<SwallowingPipe>();
}

inline void writeFile(const std::string& name, const void* bytes, size_t size) {
  std::ofstream(name, std::ios::binary).write(static_cast<const char*>(bytes),
                                              static_cast<std::streamsize>(size));
}

const char kIni[] =
    "\r\n\r\n[TQ587]\r\n   PORTA = COM1\r\n   VELOCIDADE = 9600\r\n   CONTROLE_DE_FLUXO = DTR/DSR\r\n"
    "   CODEPAGE_AUTOMATICO = 1\r\n   ENTERAUTOMATICO = 1\r\n   GAVETA_INVERTIDA = 0\r\n"
    "   TABULACAO = \"05,10,15,20,25,35\"\r\n   METODO_DE_COMUNICACAO = \"SERIAL\"\r\n"
    "   TAMANHO_QRCODE = 4\r\n";

// A BMP of width x height at 24 bits, a diagonal pattern.
inline std::string smallBmp(int width, int height) {
  const int stride = (3 * width + 3) / 4 * 4;
  const uint32_t size = 54 + static_cast<uint32_t>(stride * height);
  std::string f(size, '\0');
  auto put32 = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) f[at + i] = static_cast<char>(v >> (8 * i));
  };
  f[0] = 'B';
  f[1] = 'M';
  put32(2, size);
  put32(10, 54);
  put32(14, 40);
  put32(18, static_cast<uint32_t>(width));
  put32(22, static_cast<uint32_t>(height));
  f[26] = 1;
  f[28] = 24;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const char v = (x + y) % 3 == 0 ? 0 : static_cast<char>(0xFF);
      for (int c = 0; c < 3; ++c) f[54 + static_cast<size_t>(y * stride + 3 * x + c)] = v;
    }
  }
  return f;
}

// Once per process: a scratch current directory with CONVERSOR.INI and two
// pictures (a.bmp, b.bmp), no COM port that leads anywhere, and the library
// started on a swallowing printer.
inline void setUp() {
  char dir[] = "/tmp/tq587-fuzz-XXXXXX";
  if (!mkdtemp(dir) || chdir(dir) != 0) abort();
  mkdir("dosdevices", 0755);
  // A drive c: without KORVA: a log switched on by a fuzzed CONVERSOR.INI
  // reaches no folder of the machine's and fills no disk.
  mkdir("dosdevices/c:", 0755);
  for (int port = 1; port <= 20; ++port) {
    const std::string name = "dosdevices/com" + std::to_string(port);
    if (symlink("/nonexistent", name.c_str()) != 0) abort();
  }
  writeFile("CONVERSOR.INI", kIni, sizeof kIni - 1);
  const std::string a = smallBmp(16, 8), b = smallBmp(9, 33);
  writeFile("a.bmp", a.data(), a.size());
  writeFile("b.bmp", b.data(), b.size());
  PrinterController::getInstance().setPipeFactories(swallowingPipe, swallowingPipe);
  initDLL();
}

}  // namespace fuzz
