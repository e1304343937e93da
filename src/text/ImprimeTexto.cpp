// ImprimeTexto.cpp - the text loop and the tag parser, over one object per
// row of the tag table.
#include "text/ImprimeTexto.h"

#include <algorithm>
#include <cstring>

#include "common/EscPos.h"
#include "config/MasterController.h"
#include "connection/PrinterController.h"
#include "log/Log.h"
#include "text/Tags.h"
#include "tq587.h"

namespace {

bool startsWith(const char* text, const char* prefix) {
  return std::strncmp(text, prefix, std::strlen(prefix)) == 0;
}

// The error markers a tag may answer, the text's result for each and the
// line the parser logs.
struct Marker {
  const char* text;
  int result;
  const char* message;
};
const Marker kMarkers[] = {
    {kMarkerUpdateError, TQ587_UPDATE_ERROR,
     "Erro de atualiza\xE7\xE3o de chave, n\xE3o foi poss\xEDvel enviar o m\xE9todo."},
    {kMarkerInvalid, TQ587_INVALID_PARAMETER, "Parametro inv\xE1lido."},
    {kMarkerCommunication, TQ587_NOT_DONE,
     "Erro de comunica\xE7\xE3o, n\xE3o foi poss\xEDvel enviar o m\xE9todo."},
    {kMarkerGenericError, TQ587_GENERIC_ERROR,
     "Erro gen\xE9rico, n\xE3o foi poss\xEDvel enviar o m\xE9todo."},
};

// Whether the n bytes, read as a text ending at their first zero, are the
// marker.
bool isMarker(const uint8_t* bytes, int n, const char* marker) {
  const int m = static_cast<int>(std::strlen(marker));
  return n >= m && std::memcmp(bytes, marker, static_cast<std::size_t>(m)) == 0 &&
         (n == m || bytes[m] == 0);
}

// A text that opens with a tag of kStartsLine starts its first line itself.
bool startsLine(const char* text) {
  for (const TagRow& tag : tags::kTable) {
    if (tag.has(kStartsLine) && startsWith(text, tag.openText)) return true;
  }
  return false;
}

bool autoEnter() { return MasterController::getInstance().config().autoEnter == '1'; }

const char kCharacterNotSent[] =
    "N\xE3o foi poss\xEDvel enviar o caractere para a impress\xE3o. Var Res = 0x00";

}  // namespace

ImprimeTexto::ImprimeTexto() {
  table_.reserve(std::size(tags::kTable));
  for (const TagRow& row : tags::kTable) {
    table_.push_back(row.create(row));
    if (row.has(kParameter)) parameterTags_.push_back(table_.back().get());
  }
}

ImprimeTexto::~ImprimeTexto() = default;

int ImprimeTexto::tratarTexto(const char* text, int n) {
  static const char* const kWhere = "ImprimeTexto::tratarTexto";
  if (!text || text[0] == '\0') return TQ587_INVALID_PARAMETER;
  tq587::log("Iniciando a impress\xE3o do texto...", LOG_INFO, kWhere, __LINE__);

  PrinterController& controller = PrinterController::getInstance();
  if (!controller.ensureConnected()) return TQ587_NOT_DONE;

  const bool measuring = n == 0;
  const std::size_t length = std::strlen(text);
  if (measuring && length > kMaxCharacters) {
    tq587::log("Par\xE2metro inv\xE1lido. Mais de 2000 caracteres.", LOG_ERROR, kWhere, __LINE__);
    return TQ587_INVALID_PARAMETER;
  }
  if (!measuring && n > kMaxCharacters) {
    tq587::log("Par\xE2metro invalido. Quantidade de caracteres maior que 2000.", LOG_ERROR, kWhere,
               __LINE__);
    return TQ587_INVALID_PARAMETER;
  }

  text_ = text;
  for (ProtocolGeneric* tag : parameterTags_) tag->prepareText(text, static_cast<int>(length));

  controller.beginBlocks();
  const int result = sendText(text, length, measuring);
  if (controller.endBlocks()) return result;
  // Block mode: the printer did not take a block, and the text stopped there.
  tq587::log(kCharacterNotSent, LOG_ERROR, kWhere, __LINE__);
  return TQ587_NOT_DONE;
}

int ImprimeTexto::sendText(const char* text, std::size_t length, bool measuring) {
  static const char* const kWhere = "ImprimeTexto::tratarTexto";
  PrinterController& controller = PrinterController::getInstance();
  int lastWrite = 0;
  for (std::size_t i = 0; i < length;) {
    // Block mode: nothing more goes after a block the printer did not take.
    if (!controller.blocksTaken()) return TQ587_NOT_DONE;
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c == '<') {
      if (i == 0 && startsLine(text)) precisaQuebraLinha = false;
      const int step = convertTag(text + i);
      if (step < 0) return step;
      if (step == 0) return stopText(measuring, lastWrite);
      i += static_cast<std::size_t>(step);
    } else if (c >= 0x20 || c == escpos::LF || c == '\r') {
      AbstractCommunicationPipe* pipe = controller.reachPipe();
      const int result = pipe ? pipe->write(reinterpret_cast<const uint8_t*>(text + i), 1) : 0;
      if (measuring) lastWrite = result;
      if (result == 0) {
        tq587::log(kCharacterNotSent, LOG_ERROR, kWhere, __LINE__);
        return TQ587_NOT_DONE;
      }
      ++i;
    } else {
      // Raw control bytes (tab and escape among them) are not the caller's
      // to send: the tags are.
      tq587::log("N\xE3o permitido enviar comandos.", LOG_ERROR, kWhere, __LINE__);
      ++i;
    }
  }
  return finishText(measuring);
}

int ImprimeTexto::finishText(bool measuring) {
  MasterController::getInstance().load();
  if (!autoEnter()) return TQ587_DONE;
  AbstractCommunicationPipe* pipe = PrinterController::getInstance().reachPipe();
  if (!pipe) return TQ587_NOT_DONE;
  const int result = pipe->write(escpos::kLineFeed, sizeof escpos::kLineFeed);
  if (measuring) return result > 0 ? TQ587_DONE : TQ587_NOT_DONE;
  return result == 0 ? TQ587_NOT_DONE : TQ587_DONE;
}

int ImprimeTexto::stopText(bool measuring, int lastWrite) {
  if (!measuring) {
    // The record in memory decides; a failed line feed does not change the result.
    if (!autoEnter()) return TQ587_DONE;
    AbstractCommunicationPipe* pipe = PrinterController::getInstance().reachPipe();
    if (pipe) pipe->write(escpos::kLineFeed, sizeof escpos::kLineFeed);
    return TQ587_DONE;
  }
  MasterController::getInstance().load();
  if (autoEnter()) {
    AbstractCommunicationPipe* pipe = PrinterController::getInstance().reachPipe();
    if (!pipe) return TQ587_NOT_DONE;
    lastWrite = pipe->write(escpos::kLineFeed, sizeof escpos::kLineFeed);
  }
  return lastWrite > 0 ? TQ587_DONE : TQ587_NOT_DONE;
}

int ImprimeTexto::convertTag(const char* position) {
  static const char* const kWhere = "ImprimeTexto::convertTag";
  tq587::log("Iniciando tratamento de tag.", LOG_INFO, kWhere, __LINE__);

  // Refresh the tags that read a parameter out of the text.
  const int place = static_cast<int>(position - text_);
  for (ProtocolGeneric* tag : parameterTags_) tag->refresh(position, place);

  currentTagText = position;
  tq587::log("Inicio da string armazenado.", LOG_DEBUG, kWhere, __LINE__);

  for (const std::unique_ptr<ProtocolGeneric>& tag : table_) {
    const bool opens = startsWith(position, tag->openText());
    if (!opens && !startsWith(position, tag->closeText())) continue;
    const uint8_t* bytes = opens ? tag->getBytes() : tag->getBytes2();
    tq587::log("mybytes recebido", LOG_DEBUG, kWhere, __LINE__);
    const int length = tag->getTamanho();
    tq587::log("tamanho recebido", LOG_DEBUG, kWhere, __LINE__);
    // The open length is read after getBytes: a tag that took its content
    // has lengthened it.
    return sendTag(bytes, length, opens ? tag->openLength() : tag->closeLength());
  }

  // No tag starts here: the '<' is an ordinary character.
  AbstractCommunicationPipe* pipe = PrinterController::getInstance().reachPipe();
  if (!pipe) return 0;
  if (pipe->write(reinterpret_cast<const uint8_t*>(position), 1) == 0) return 0;
  tq587::log("N\xE3o encontrou Tag, string enviada.", LOG_INFO, kWhere, __LINE__);
  return 1;
}

int ImprimeTexto::sendTag(const uint8_t* bytes, int length, int step) {
  static const char* const kWhere = "ImprimeTexto::convertTag";
  static const uint8_t kNothing = 0;
  // A tag that sent its output itself answers nothing; one command goes
  // out in at most one work buffer.
  const int n = bytes ? std::clamp(length, 0, kWorkSize - 1) : 0;
  if (!bytes) bytes = &kNothing;
  tq587::log("c\xF3pia efetuada com sucesso.", LOG_DEBUG, kWhere, __LINE__);

  for (const Marker& marker : kMarkers) {
    if (isMarker(bytes, n, marker.text)) {
      tq587::log(marker.message, LOG_ERROR, kWhere, __LINE__);
      return marker.result;
    }
  }

  // Unreachable printer: the bytes are dropped, the tag counts as handled.
  if (AbstractCommunicationPipe* pipe = PrinterController::getInstance().reachPipe()) {
    pipe->write(bytes, n);
  }
  tq587::log("M\xE9todo enviado.", LOG_INFO, kWhere, __LINE__);
  return step;
}
