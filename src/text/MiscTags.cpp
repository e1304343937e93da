// MiscTags.cpp - date, time, line feeds, repeated character and the
// paper cut.
#include "text/MiscTags.h"

#include <cstring>
#include <ctime>

#include "common/Clock.h"
#include "common/EscPos.h"
#include "config/MasterController.h"
#include "log/Log.h"

namespace {
const char kAllocated[] = "Aloca\xE7\xE3o de mem\xF3ria OK.";
}  // namespace

const uint8_t* Tag_gui::getBytes() {
  MasterController::getInstance().load();
  return FixedTag::getBytes();
}

const uint8_t* DateTimeTag::getBytes() {
  // The eight characters and their zero.
  constexpr int kSize = 9;
  tq587::log("Iniciando", LOG_DEBUG, whereOpen(), __LINE__);
  char text[kSize + 1] = {};
  tq587::log("Struct e vetor OK.", LOG_DEBUG, whereOpen(), __LINE__);
  const std::time_t now = tq587::clock().now();
  std::tm local{};
  if (!tq587::localCalendar(now, &local) ||
      std::strftime(text, sizeof text, definition_.format, &local) == 0) {
    tq587::log(definition_.failure, LOG_ERROR, whereOpen(), __LINE__);
    return genericError();
  }
  clearOutput(kSize);
  append(reinterpret_cast<const uint8_t*>(text), kSize);
  tq587::log(definition_.bytesOk, LOG_DEBUG, whereOpen(), __LINE__);
  tq587::log("Retornando bytes.", LOG_DEBUG, whereOpen(), __LINE__);
  return output();
}

DataAtual::DataAtual(const TagRow& row)
    : DateTimeTag(row,
                  {"%d/%m/%y", "N\xE3o foi possivel verificar a data no sistema.", "Bytes Ok."}) {}

HoraAtual::HoraAtual(const TagRow& row)
    : DateTimeTag(row, {"%X", "N\xE3o foi possivel verificar a hora no sistema.", "Bytes OK."}) {}

EnterCustom::EnterCustom(const TagRow& row)
    : CountTag(row, {escpos::feedLines, false, {"Iniciando", kAllocated, kMemoryCleared},
                     "N\xE3o h\xE1 dados em SetBytes", "Par\xE2metro inv\xE1lido.",
                     "Retornando bytes.", nullptr}) {}

void EnterCustom::SetBytes(const char* parameter) {
  restoreLengths();
  parameter_ = parameter;
}

// The pointer after the open text stops at the text's end.
void EnterCustom::refresh(const char* position, int) {
  SetBytes(position + strnlen(position, static_cast<std::size_t>(row().openLength)));
}

Tagtc::Tagtc(const TagRow& row) : ProtocolGeneric(row) {}

void Tagtc::refresh(const char* position, int) {
  SetChar(position + strnlen(position, static_cast<std::size_t>(openLength_)));
}

void Tagtc::SetChar(const char* character) {
  if (!character)
    tq587::log("Falta caracter a ser escrito.", LOG_ERROR, "Tagtc::SetChar", __LINE__);
  character_ = character;
}

const uint8_t* Tagtc::getBytes() {
  const char* const kWhere = whereOpen();
  // 41 from the tag and one more printed as text: a full line of 42.
  constexpr int kRepeats = 41;
  tq587::log("Iniciando", LOG_DEBUG, kWhere, __LINE__);
  restoreLengths();
  tq587::log(kAllocated, LOG_DEBUG, kWhere, __LINE__);
  clearOutput(50);
  tq587::log(kMemoryCleared, LOG_DEBUG, kWhere, __LINE__);
  // One character, then the close tag.
  if (!character_ || *character_ == '\0' ||
      std::strncmp(character_ + 1, closeText_, closeLength_) != 0) {
    tq587::log("Tag <tc>*</tc>: Par\xE2metro inv\xE1lido.", LOG_ERROR, kWhere, __LINE__);
    return invalid();
  }
  if (precisaQuebraLinha) append(escpos::LF);
  repeat(static_cast<uint8_t>(*character_), kRepeats);
  append(uint8_t{0});
  tq587::log("Retornando bytes.", LOG_DEBUG, kWhere, __LINE__);
  return output();
}

const uint8_t* Tagtc::getBytes2() {
  clearOutput(1);
  tq587::log("retornando tamanho = 0 e bytes = 0 .", LOG_DEBUG, whereClose(), __LINE__);
  return output();
}
