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

void MasterController::publicarParaLog() const {
  setLogSettings({config_.logDiario, config_.log, config_.port});
}

bool MasterController::lerArquivoINI() {
  config_ = Configuracao{};
  publicarParaLog();
  if (!ini::readFile(kFileName, config_)) return false;
  publicarParaLog();
  return true;
}

bool MasterController::writeFile() {
  const bool written = ini::writeFile(kFileName, config_);
  publicarParaLog();  // the log keys the file does not hold are now off
  return written;
}

bool MasterController::salvarArquivoINI() {
  const char* where = "MasterController::salvarArquivoINI";
  log("Iniciando a grava\xE7\xE3o do arquivo Conversor.ini", LOG_INFO, where, __LINE__);
  if (!writeFile()) {
    log("Falha em gravar arquivo Conversor.ini", LOG_ERROR, where, __LINE__);
    return false;
  }
  log("Sucesso em gravar arquivo.", LOG_INFO, where, __LINE__);
  return true;
}

bool MasterController::criarArquivoINI() {
  const char* where = "MasterController::criarArquivoINI";
  log("Iniciando a cria\xE7\xE3o do arquivo Conversor.ini com valores padr\xF5" "es", LOG_INFO,
      where, __LINE__);
  ini::setDefaults(config_);
  publicarParaLog();

  const bool written = writeFile();
  if (written) {
    log("Sucesso na cria\xE7\xE3o do arquivo Conversor.INI.", LOG_INFO, where, __LINE__);
  } else {
    log("Falha na cria\xE7\xE3o do arquivo Conversor.INI com valores padr\xF5" "es.", LOG_ERROR,
        where, __LINE__);
  }
  log("Encerrando procedimento de grava\xE7\xE3o do arquivo Conversor.INI  com valor padr\xE3o.",
      LOG_INFO, where, __LINE__);
  return written;
}

bool MasterController::carregarConfiguracao() { return lerArquivoINI() || criarArquivoINI(); }
