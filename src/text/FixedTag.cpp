// FixedTag.cpp - the fixed-command tag.
#include "text/FixedTag.h"

#include "common/EscPos.h"
#include "log/Log.h"

void FixedTag::logUnlessSilent(const char* message, int level, const char* where, int line) const {
  if (!row().has(kSilent)) tq587::log(message, level, where, line);
}

const uint8_t* FixedTag::getBytes() {
  const char* where = whereOpen();
  restoreLengths();
  clearOutput(kClearedStart);
  logUnlessSilent(kMemoryCleared, LOG_DEBUG, where, __LINE__);
  logUnlessSilent("Carregando os bytes \xE0 enviar.", LOG_INFO, where, __LINE__);
  const bool lineBreak = row().has(kLineBreak);
  if (lineBreak && precisaQuebraLinha) append(escpos::LF);
  append(row().openCommand);
  logUnlessSilent("Retornando bytes.", LOG_DEBUG, where, __LINE__);
  if (lineBreak) precisaQuebraLinha = true;
  return output();
}

const uint8_t* FixedTag::getBytes2() {
  const char* where = whereClose();
  restoreLengths();
  if (row().closeCommand.length == 0) {
    size_ = 0;
    logUnlessSilent("Retornando bytes.", LOG_DEBUG, where, __LINE__);
    return output();
  }
  if (row().has(kAllocationOnClose)) {
    logUnlessSilent("Aloca\xE7\xE3o de mem\xF3ria OK.", LOG_DEBUG, where, __LINE__);
  }
  clearOutput(kClearedStart);
  logUnlessSilent(kMemoryCleared, LOG_DEBUG, where, __LINE__);
  append(row().closeCommand);
  logUnlessSilent("Retornando bytes.", LOG_DEBUG, where, __LINE__);
  return output();
}
