// fuzz_text - TQ587_iImprimirTexto on any bytes and any count. An input that
// starts with FF takes its next four bytes as the declared count n.
#include <cstring>
#include <string>

#include "FuzzSupport.h"
#include "tq587.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  int n = 0;
  if (size >= 5 && data[0] == 0xFF) {
    std::memcpy(&n, data + 1, sizeof n);
    data += 5;
    size -= 5;
  }
  const std::string text(reinterpret_cast<const char*>(data), size);
  TQ587_iImprimirTexto(text.c_str(), n);
  return 0;
}
