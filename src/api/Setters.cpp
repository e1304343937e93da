// Setters.cpp - the code page, final enter, drawer mode and tab settings.
#include "api/Setters.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "common/EscPos.h"
#include "config/MasterController.h"
#include "connection/PrinterController.h"
#include "log/Log.h"
#include "tq587.h"

namespace {

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

// Every setter reads the file afresh, changes its field and writes the file.
// false when the file could not be written.
template <typename Edit>
bool store(Edit edit) {
  MasterController& master = MasterController::getInstance();
  master.load();
  master.change(edit);
  return master.salvarArquivoINI();
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

// ESC D with one position per number of the text: each run before a
// separator, and the run after the last one when it is not empty.
std::array<uint8_t, escpos::kTabCommandLength> tabCommand(const char* text) {
  uint8_t positions[escpos::kMaxTabPositions];
  int count = 0;
  char run[kMaxTabStops + 1];
  int runLength = 0;
  for (const char* p = text;; ++p) {
    const bool end = *p == '\0';
    if (end || isTabSeparator(*p)) {
      if ((!end || runLength > 0) && count < escpos::kMaxTabPositions) {
        run[runLength] = '\0';
        positions[count++] = escpos::lowByte(static_cast<uint32_t>(std::strtol(run, nullptr, 10)));
      }
      runLength = 0;
      if (end) break;
    } else if (runLength < kMaxTabStops) {
      run[runLength++] = *p;
    }
  }
  return escpos::tabPositions(positions, count);
}

}  // namespace

int regCodePageAutomatico(const char* value) {
  if (!value || !isZeroOrOne(value[0])) return TQ587_INVALID_PARAMETER;
  if (!store([&](Configuration& c) { c.autoCodePage = value[0]; })) {
    return TQ587_UPDATE_ERROR;
  }
  AbstractCommunicationPipe* pipe = PrinterController::getInstance().reachPipe();
  if (!pipe) return TQ587_NOT_DONE;
  const int written = value[0] == '1'
                          ? pipe->write(escpos::kCodePageOn, sizeof escpos::kCodePageOn)
                          : pipe->write(escpos::kCodePageOff, sizeof escpos::kCodePageOff);
  return written > 0 ? TQ587_DONE : TQ587_NOT_DONE;
}

int regEnterFinal(const char* value) {
  if (!value || !isZeroOrOne(value[0]) || value[1] != '\0') return TQ587_INVALID_PARAMETER;
  MasterController& master = MasterController::getInstance();
  if (!master.load()) return TQ587_NOT_DONE;
  master.change([&](Configuration& c) { c.autoEnter = value[0]; });
  return master.salvarArquivoINI() ? TQ587_DONE : TQ587_UPDATE_ERROR;
}

int regModoGaveta(const char* value) {
  if (!value || !isZeroOrOne(value[0])) return TQ587_INVALID_PARAMETER;
  if (!store([&](Configuration& c) { c.invertedDrawer = value[0]; })) {
    tq587::log("N\xE3o foi poss\xEDvel atualizar arquivo!", LOG_ERROR,
               "RegModoGaveta::atualizarCampo", __LINE__);
    return TQ587_UPDATE_ERROR;
  }
  return TQ587_DONE;
}

int regTabulacao(const char* value) {
  if (!value || longerThan(value, kMaxTabStops)) return TQ587_INVALID_PARAMETER;
  if (std::strtol(value, nullptr, 10) <= 0 || !tabNumbersShortEnough(value)) {
    return TQ587_INVALID_PARAMETER;
  }
  const std::array<uint8_t, escpos::kTabCommandLength> command = tabCommand(value);
  int result = TQ587_DONE;
  if (!store([&](Configuration& c) {
        std::memset(c.tabStops, 0, sizeof c.tabStops);
        std::memcpy(c.tabStops, value, std::strlen(value));
      })) {
    result = TQ587_UPDATE_ERROR;
  }
  AbstractCommunicationPipe* pipe = PrinterController::getInstance().reachPipe();
  if (!pipe) return TQ587_NOT_DONE;
  // Only a write that took nothing fails the setting: the USB pipe answers a
  // negative count after it has reset the device.
  if (pipe->write(command.data(), escpos::kTabCommandLength) == 0) result = TQ587_NOT_DONE;
  return result;
}
