// CountTag.cpp - the count tags.
#include "text/CountTag.h"

#include <cstdint>

#include "log/Log.h"

const char* CountTag::content() const {
  return currentTagText ? currentTagText + row().openLength : nullptr;
}

const uint8_t* CountTag::getBytes() {
  // Three digits at most, so the close tag starts within four places.
  constexpr int kWindow = 4;
  const CountTagDefinition& d = definition_;
  for (const char* line : d.start) {
    if (!line) break;
    tq587::log(line, LOG_DEBUG, whereOpen(), __LINE__);
  }
  restoreLengths();
  clearOutput(kClearedStart);
  const char* text = content();
  if (!text) {
    tq587::log(d.noData, LOG_ERROR, whereOpen(), __LINE__);
    return genericError();
  }
  // Read as atoi reads it: up to the first character that is not part of
  // the number (the '<' of the close tag, or the text's end).
  const int value = readDecimal(text, SIZE_MAX);
  const bool valid = value >= 1 && value <= 255;
  if (d.valueFirst && !valid) {
    tq587::log(d.invalid, LOG_ERROR, whereOpen(), __LINE__);
    return invalid();
  }
  const int digits = measureContent(text, kWindow);
  if (digits < 0) {
    tq587::log("N\xFAmero muito extenso", LOG_ERROR, whereOpen(), __LINE__);
    return invalid();
  }
  if (!valid) {
    tq587::log(d.invalid, LOG_ERROR, whereOpen(), __LINE__);
    return invalid();
  }
  append(d.command(static_cast<uint8_t>(value)));
  coverContent(digits);
  tq587::log(d.returning, LOG_DEBUG, whereOpen(), __LINE__);
  return output();
}
