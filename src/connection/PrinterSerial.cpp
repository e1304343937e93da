// PrinterSerial.cpp - the printer on a serial port: configured port first,
// then the search of ports and speeds.
#include "connection/PrinterSerial.h"

#include <string>

#include "common/Clock.h"
#include "common/EscPos.h"
#include "config/MasterController.h"
#include "log/Log.h"

namespace {

// COM1 to COM20: the ports a configuration may name and the search walks,
// one pass each.
constexpr int kFirstComPort = 1;
constexpr int kLastComPort = 20;
constexpr int kSearchedPorts = kLastComPort - kFirstComPort + 1;
constexpr int kReplyWaitMs = 500;
// The speeds the search tries, slowest first ("DETECTAR" is not one).
constexpr int kFirstSpeedIndex = kSpeedDetect + 1;
const char kSearchFailed[] = "Falha ao buscar porta, n\xE3o foi poss\xEDvel enviar o m\xE9todo.";

}  // namespace

PrinterSerial::PrinterSerial() = default;
PrinterSerial::~PrinterSerial() = default;

int PrinterSerial::startCommunication() {
  int result = abrirPorta();
  for (int pass = 0; result == 0 && pass < kSearchedPorts; ++pass) {
    result = buscarPorta();
    if (result == 1) result = buscarVelocidade();
  }
  // ESC @ whatever came of it: a closed port simply sends nothing.
  port_.Write(escpos::kInitialise, sizeof escpos::kInitialise);
  return result;
}

int PrinterSerial::read(uint8_t* bytes, int32_t length) { return port_.Read(bytes, length); }

int PrinterSerial::write(const uint8_t* bytes, int32_t length) {
  return port_.Write(bytes, length);
}

int PrinterSerial::close() {
  tq587::log("Encerrando comunica\xE7\xE3o serial.", LOG_INFO, "PrinterSerial::close", __LINE__);
  port_.Close();
  return 1;
}

bool PrinterSerial::awaitReply() {
  tq587::clock().sleep(kReplyWaitMs);
  uint8_t reply = 0;
  // DLE EOT n: an on-line printer answers one byte with bit 1 set.
  return port_.Read(&reply, 1) == 1 && (reply & escpos::kStatusReplyBit) != 0;
}

int PrinterSerial::abrirPorta() {
  static const char* const kWhere = "PrinterSerial::abrirPorta";
  tq587::log("Iniciando procedimentos para a abertura da porta serial", LOG_INFO, kWhere, __LINE__);
  settings_.dataBits = 8;
  settings_.stopBits = 1;
  settings_.parity = SDK::kParityNone;
  settings_.flowControl = SDK::kFlowRtsCts;  // whatever CONTROLE_DE_FLUXO says

  tq587::log("Carregando arquivo de configura\xE7\xF5" "es iniciais", LOG_DEBUG, kWhere,
             __LINE__);
  MasterController& master = MasterController::getInstance();
  master.load();
  const Configuration& config = master.config();
  if (config.port >= kFirstComPort && config.port <= kLastComPort) {
    settings_.port = config.port;
  } else {
    tq587::log("Porta Desconhecida", LOG_ERROR, kWhere, __LINE__);
  }
  // "DETECTAR" (index 0) is speed 0, which no port accepts: the search runs.
  const bool knownSpeed = config.speedIndex >= 0 && config.speedIndex <= kLastSpeed;
  settings_.speed = knownSpeed ? kSpeeds[config.speedIndex].bps : 0;

  const std::string name = port_.PortName(settings_.port - 1);
  tq587::log("Iniciando abertura de porta " + name, LOG_INFO, kWhere, __LINE__);
  if (!port_.Open(&settings_)) {
    tq587::log("Falha na abertura da porta:  " + name, LOG_INFO, kWhere, __LINE__);
    return 0;
  }
  tq587::log("Porta " + name + "aberta com sucesso.", LOG_INFO, kWhere, __LINE__);
  tq587::log("Iniciando comunica\xE7\xE3o...", LOG_INFO, kWhere, __LINE__);

  if (port_.Write(escpos::kStatusPrinter, sizeof escpos::kStatusPrinter) <= 0) {
    tq587::log("Falha na comunica\xE7\xE3o.", LOG_INFO, kWhere, __LINE__);
    return 0;
  }
  if (awaitReply()) {
    tq587::log("Porta e velocidade ja com os valores corretos.", LOG_INFO, kWhere, __LINE__);
    return 1;
  }
  // The port stays open; the search reopens it.
  tq587::log("Velocidade incorreta.", LOG_INFO, kWhere, __LINE__);
  return 0;
}

int PrinterSerial::buscarPorta() {
  static const char* const kWhere = "PrinterSerial::buscarPorta";
  tq587::log("Iniciando busca de porta...", LOG_DEBUG, kWhere, __LINE__);
  if (searchCounter_ >= kSearchedPorts) {
    tq587::log(kSearchFailed, LOG_ERROR, kWhere, __LINE__);
    return 0;
  }
  const std::string name = port_.PortName(searchCounter_);
  tq587::log("Tentando abrir a porta: " + name, LOG_DEBUG, kWhere, __LINE__);
  settings_.port = kFirstComPort + searchCounter_;
  MasterController::getInstance().change([&](Configuration& c) { c.port = settings_.port; });
  ++searchCounter_;
  // With "DETECTAR" there is no speed yet: open at the first one of the list,
  // the speed search tries them all.
  if (settings_.speed == 0) settings_.speed = kSpeeds[kFirstSpeedIndex].bps;
  if (!port_.Open(&settings_)) {
    tq587::log(kSearchFailed, LOG_ERROR, kWhere, __LINE__);
    return 0;
  }
  tq587::log("Porta " + name + " Aberta com sucesso.", LOG_INFO, kWhere, __LINE__);
  return 1;
}

int PrinterSerial::buscarVelocidade() {
  static const char* const kWhere = "PrinterSerial::buscarVelocidade";
  tq587::log("Iniciando a busca da velocidadde", LOG_INFO, kWhere, __LINE__);
  MasterController& master = MasterController::getInstance();
  for (int index = kFirstSpeedIndex; index <= kLastSpeed; ++index) {
    // Reopening changes the speed; a port that did not open fails the write.
    const int32_t speed = kSpeeds[index].bps;
    settings_.speed = speed;
    port_.Open(&settings_);
    if (port_.Write(escpos::kStatusOffline, sizeof escpos::kStatusOffline) <= 0) continue;
    const bool answered = awaitReply();
    tq587::log("Testando velocidade: " + std::to_string(speed), LOG_DEBUG, kWhere, __LINE__);
    if (!answered) continue;

    master.change([&](Configuration& c) { c.speedIndex = index; });
    if (master.salvarArquivoINI()) {
      tq587::log("Ini atualizado com sucesso.", LOG_INFO, kWhere, __LINE__);
      tq587::log("Porta: " + std::to_string(master.config().port), LOG_INFO, kWhere, __LINE__);
      tq587::log("Velocidade: " + std::to_string(speed), LOG_INFO, kWhere, __LINE__);
    } else {
      // The printer is usable all the same.
      tq587::log("N\xE3o foi poss\xEDvel atualizar arquivo Ini!", LOG_ERROR, kWhere, __LINE__);
    }
    return 1;
  }
  return 0;
}
