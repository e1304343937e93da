// MasterController.cpp - reading and writing CONVERSOR.INI in the current
// directory through the SDK file classes.
#include "config/MasterController.h"

#include <cstdio>
#include <cstring>

#include "config/IniFormat.h"
#include "log/Log.h"
#include "sdk/File.h"

namespace {

const char kFileName[] = "CONVERSOR.INI";
// Open an existing file for reading and writing, others kept out.
constexpr int kOpenReadWrite = 0x02;

// Whether the file holds these bytes already and takes writes.
bool arquivoIgual(const char* text, int length) {
  SDK::FILE file;
  file.Close();
  SDK::defaultFileSystem().Open(kFileName, kOpenReadWrite, &file);
  if (file.IsClosed()) return false;
  char current[ini::kMaxText + 2];
  int got = 0;
  for (int n; got < static_cast<int>(sizeof current) &&
              (n = file.Read(current + got, static_cast<int>(sizeof current) - got)) > 0;) {
    got += n;
  }
  return got == length && std::memcmp(current, text, static_cast<size_t>(length)) == 0;
}

// The file's bytes one at a time, read from the file a block at a time.
class BlockReader {
 public:
  explicit BlockReader(SDK::FILE& file) : file_(file) {}
  bool next(char& byte) {
    if (position_ == length_) {
      length_ = file_.Read(block_, sizeof block_);
      position_ = 0;
      if (length_ <= 0) {
        length_ = 0;  // the end, or a read that failed: nothing more
        return false;
      }
    }
    byte = block_[position_++];
    return true;
  }

 private:
  SDK::FILE& file_;
  char block_[4096];
  int position_ = 0;
  int length_ = 0;
};

// The next raw line of the file (without its line feed) into line, at most
// kMaxLine bytes; the tail of a longer line comes as the next one. false
// when the file ended before any byte.
bool readRawLine(BlockReader& reader, char* line, int& length) {
  length = 0;
  bool any = false;
  char byte;
  while (length < ini::kMaxLine && reader.next(byte)) {
    any = true;
    if (byte == '\n') break;
    line[length++] = byte;
  }
  return any;
}

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
  SDK::FILE file;
  file.Close();
  SDK::defaultFileSystem().Open(kFileName, SDK::FILE::kDefaultOpenMode, &file);
  if (file.IsClosed()) return false;

  char line[ini::kMaxLine + 1];
  int length = 0;
  ini::Section section = ini::Section::None;
  BlockReader reader(file);
  while (readRawLine(reader, line, length)) {
    length = ini::normaliseLine(line, length);
    if (length > 0 && line[0] != ';') ini::applyLine(line, section, config_);
  }
  file.Close();
  publicarParaLog();
  return true;
}

bool MasterController::writeFile() {
  // A log key that was not in the file read is written nowhere and holds a
  // space, which leaves logging off.
  if (!config_.logPresent) config_.log = ' ';
  if (!config_.logDiarioPresent) config_.logDiario = ' ';
  publicarParaLog();

  char text[ini::kMaxText + 1];
  const int length = ini::formatConfig(config_, text);
  // Nothing to write when the file holds these bytes already (the terminal's
  // flash is spared a write); otherwise the file gets the new content whole
  // or keeps the old.
  return arquivoIgual(text, length) || SDK::defaultFileSystem().Save(kFileName, text, length);
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
  config_.port = 1;
  config_.velocidadeIndex = kUltimaVelocidade;  // 115200
  config_.flowControl = ControleDeFluxo::DtrDsr;
  config_.qrModuleSize = kDefaultQrModuleSize;
  std::snprintf(config_.directory, sizeof config_.directory, "%s", "C:");
  config_.enterAutomatico = '1';
  config_.codePageAutomatico = '1';
  config_.gavetaInvertida = '1';
  std::snprintf(config_.tabulacao, sizeof config_.tabulacao, "%s", "05,10,15,20,25,35");
  std::snprintf(config_.metodo, sizeof config_.metodo, "%s", "SERIAL");
  config_.logDiario = '0';
  config_.log = '0';
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
