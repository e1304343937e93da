// MasterController.cpp - the library's configuration record and
// CONVERSOR.INI in the current directory, with the log lines of each write.
#include "config/MasterController.h"

#include "config/IniFile.h"
#include "log/Log.h"

namespace {

const char kFileName[] = "CONVERSOR.INI";

}  // namespace

MasterController& MasterController::getInstance() {
  // Lives until the process ends; never freed.
  static MasterController* instance = new MasterController();
  return *instance;
}

void MasterController::publishToLog() const {
  tq587::setLogSettings({config_.dailyLog, config_.log, config_.port});
}

bool MasterController::lerArquivoINI() {
  config_ = Configuration{};
  publishToLog();
  if (!ini::readFile(kFileName, config_)) return false;
  publishToLog();
  return true;
}

bool MasterController::writeFile() {
  const bool written = ini::writeFile(kFileName, config_);
  publishToLog();  // the log keys the file does not hold are now off
  return written;
}

bool MasterController::salvarArquivoINI() {
  const char* where = "MasterController::salvarArquivoINI";
  tq587::log("Iniciando a grava\xE7\xE3o do arquivo Conversor.ini", LOG_INFO, where, __LINE__);
  if (!writeFile()) {
    tq587::log("Falha em gravar arquivo Conversor.ini", LOG_ERROR, where, __LINE__);
    return false;
  }
  tq587::log("Sucesso em gravar arquivo.", LOG_INFO, where, __LINE__);
  return true;
}

bool MasterController::criarArquivoINI() {
  const char* where = "MasterController::criarArquivoINI";
  tq587::log("Iniciando a cria\xE7\xE3o do arquivo Conversor.ini com valores padr\xF5" "es",
             LOG_INFO, where, __LINE__);
  ini::setDefaults(config_);
  publishToLog();

  const bool written = writeFile();
  if (written) {
    tq587::log("Sucesso na cria\xE7\xE3o do arquivo Conversor.INI.", LOG_INFO, where, __LINE__);
  } else {
    tq587::log("Falha na cria\xE7\xE3o do arquivo Conversor.INI com valores padr\xF5" "es.",
               LOG_ERROR, where, __LINE__);
  }
  tq587::log(
      "Encerrando procedimento de grava\xE7\xE3o do arquivo Conversor.INI  com valor padr\xE3o.",
      LOG_INFO, where, __LINE__);
  return written;
}

bool MasterController::load() { return lerArquivoINI() || criarArquivoINI(); }
