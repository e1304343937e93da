// Setters.cpp - the code page, final enter, drawer mode and tab settings.
#include "config/Setters.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "common/EscPos.h"
#include "config/MasterController.h"
#include "connection/PrinterController.h"
#include "log/Log.h"

namespace {

constexpr int kInvalid = -99;
constexpr int kNotSaved = -1;
constexpr int kNotSent = 0;
constexpr int kDone = 1;

constexpr int kMaxTabText = 19;
constexpr int kMaxTabDigits = 4;

// Looks at no more than limit + 1 bytes, whatever the text's length.
bool longerThan(const char* text, int limit) {
  for (int i = 0; i <= limit; ++i) {
    if (text[i] == '\0') return false;
  }
  return true;
}

bool isZeroOrOne(char c) { return c == '0' || c == '1'; }
bool isTabSeparator(char c) { return c == ',' || c == ' '; }

Configuracao& freshConfiguration(bool* readOrCreated = nullptr) {
  MasterController& master = MasterController::getInstance();
  const bool ok = master.carregarConfiguracao();
  if (readOrCreated) *readOrCreated = ok;
  return master.config();
}

// Every run between separators has at most four digits.
bool tabNumbersShortEnough(const char* text) {
  int digits = 0;
  for (const char* p = text; *p; ++p) {
    if (isTabSeparator(*p)) {
      digits = 0;
    } else if (*p >= '0' && *p <= '9' && ++digits > kMaxTabDigits) {
      return false;
    }
  }
  return true;
}

// ESC D, one byte per position, 00, padded with 00 to the full length.
void buildTabCommand(const char* text, uint8_t (&command)[escpos::kTabCommandLength]) {
  std::memset(command, 0, sizeof command);
  int n = 0;
  for (uint8_t b : escpos::kTabPositionsPrefix) command[n++] = b;
  // room for the closing 00
  const int lastPosition = escpos::kTabCommandLength - 1;
  char run[kMaxTabText + 1];
  int runLength = 0;
  for (const char* p = text;; ++p) {
    const bool end = *p == '\0';
    if (end || isTabSeparator(*p)) {
      if ((!end || runLength > 0) && n < lastPosition) {
        run[runLength] = '\0';
        command[n++] = static_cast<uint8_t>(std::strtol(run, nullptr, 10) & 0xFF);
      }
      runLength = 0;
      if (end) break;
    } else if (runLength < kMaxTabText) {
      run[runLength++] = *p;
    }
  }
}

}  // namespace

int regCodePageAutomatico(const char* value) {
  if (!value || !isZeroOrOne(value[0])) return kInvalid;
  freshConfiguration().codePageAutomatico = value[0];
  if (!MasterController::getInstance().salvarArquivoINI()) return kNotSaved;

  AbstractCommunicationPipe* pipe = PrinterController::getInstance().reachPipe();
  if (!pipe) return kNotSent;
  const int written = value[0] == '1'
                          ? pipe->write(escpos::kCodePageOn, sizeof escpos::kCodePageOn)
                          : pipe->write(escpos::kCodePageOff, sizeof escpos::kCodePageOff);
  return written > 0 ? kDone : kNotSent;
}

int regEnterFinal(const char* value) {
  if (!value || !isZeroOrOne(value[0]) || value[1] != '\0') return kInvalid;
  bool haveConfiguration = false;
  Configuracao& config = freshConfiguration(&haveConfiguration);
  if (!haveConfiguration) return kNotSent;
  config.enterAutomatico = value[0];
  return MasterController::getInstance().salvarArquivoINI() ? kDone : kNotSaved;
}

int regModoGaveta(const char* value) {
  if (!value || !isZeroOrOne(value[0])) return kInvalid;
  freshConfiguration().gavetaInvertida = value[0];
  if (!MasterController::getInstance().salvarArquivoINI()) {
    log("N\xE3o foi poss\xEDvel atualizar arquivo!", LOG_ERROR, "RegModoGaveta::atualizarCampo",
        __LINE__);
    return kNotSaved;
  }
  return kDone;
}

int regTabulacao(const char* value) {
  if (!value || longerThan(value, kMaxTabText)) return kInvalid;
  if (std::strtol(value, nullptr, 10) <= 0 || !tabNumbersShortEnough(value)) return kInvalid;

  int result = kDone;
  Configuracao& config = freshConfiguration();
  uint8_t command[escpos::kTabCommandLength];
  buildTabCommand(value, command);

  std::memset(config.tabulacao, 0, sizeof config.tabulacao);
  std::memcpy(config.tabulacao, value, std::strlen(value));
  if (!MasterController::getInstance().salvarArquivoINI()) result = kNotSaved;

  AbstractCommunicationPipe* pipe = PrinterController::getInstance().reachPipe();
  if (!pipe) return kNotSent;
  if (pipe->write(command, sizeof command) <= 0) result = kNotSent;
  return result;
}
