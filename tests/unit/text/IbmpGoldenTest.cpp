// IbmpGoldenTest.cpp - <ibmp> on every file of the picture corpus gives the
// recorded status, log lines and bytes.
#include "text/Tag_ibmp.h"
#include "unit/image/Golden.h"

namespace {

TEST(IbmpGolden, EveryCorpusFile) {
  golden::check("expected_ibmp.txt", [](const std::string& path) {
    RecordingPipe& pipe = installRecordingPipe();
    Tag_ibmp tag;
    const std::string texto = "<ibmp>" + path + "</ibmp>";
    tag.prepararTexto(texto.c_str(), static_cast<int>(texto.size()));
    tag.carregarTexto(0);
    LogCapture log;
    const uint8_t* status = tag.getBytes2();
    const std::string result =
        status ? reinterpret_cast<const char*>(status) + (" size " + std::to_string(tag.getTamanho()))
               : "null";
    const std::string block = golden::record(result, log, pipe.writes);
    removePipe();
    return block;
  });
}

}  // namespace
