// fuzz_ini - any bytes as CONVERSOR.INI: read, then read and rewritten by
// a setter three times. The first rewrite puts every key in the file; from
// the second on, the file reads back to itself, unless a quoted value holds
// a backslash: the reader takes \\ inside quotes as one backslash and the
// writer writes the value as it stands, so such a value loses half its
// backslashes at each rewrite.
#include <fstream>
#include <iterator>

#include "FuzzSupport.h"
#include "config/MasterController.h"
#include "tq587.h"

static std::string current() {
  std::ifstream in("CONVERSOR.INI", std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::writeFile("CONVERSOR.INI", data, size);
  MasterController::getInstance().lerArquivoINI();
  TQ587_regEnterFinal("1");
  TQ587_regEnterFinal("1");
  const std::string settled = current();
  TQ587_regEnterFinal("1");
  if (current() != settled && settled.find('\\') == std::string::npos) __builtin_trap();
  return 0;
}
