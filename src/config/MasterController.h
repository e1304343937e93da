// MasterController.h - the configuration record and CONVERSOR.INI.
#pragma once

// One field per key of CONVERSOR.INI. Texts are zero-terminated Latin-1.
struct Configuracao {
  int port;              // PORTA: COM number, 0 when unknown
  int velocidadeIndex;   // VELOCIDADE: 0 "DETECTAR", 1..7 = 2400..115200
  int flowControl;       // CONTROLE_DE_FLUXO: 0 DTR/DSR, 2 none
  int qrModuleSize;      // TAMANHO_QRCODE: 1..16
  char directory[256];   // DIRETORIO: kept, never written back
  char enterAutomatico;  // ENTERAUTOMATICO: '0' or '1'
  char codePageAutomatico;  // CODEPAGE_AUTOMATICO: '0' or '1'
  char gavetaInvertida;  // GAVETA_INVERTIDA: first character as written
  char tabulacao[20];    // TABULACAO: "05,10,15,20,25,35"
  char logDiario;        // LOGDIARIO: S/s/1 on, N/n/0 off
  char log;              // LOG: as LOGDIARIO
  char metodo[10];       // METODO_DE_COMUNICACAO: "SERIAL" or "USB"
  bool logPresent;       // the file read had a LOG line in [SISTEMA]
  bool logDiarioPresent; // the file read had a LOGDIARIO line in [SISTEMA]
};

// Speeds by velocidadeIndex; index 0 is "DETECTAR" (no speed).
constexpr int kSpeeds[8] = {0, 2400, 4800, 9600, 19200, 38400, 57600, 115200};

class MasterController {
 public:
  static MasterController& getInstance();

  Configuracao& config() { return config_; }

  // Reads CONVERSOR.INI from the current directory into the record (zeroed
  // first). false when the file cannot be opened.
  bool lerArquivoINI();
  // Writes the record in the fixed layout. false when the file cannot be created.
  bool salvarArquivoINI();
  // Puts the defaults into the record and writes the file.
  bool criarArquivoINI();
  // What every reader does: read, and write the defaults when the read fails.
  // Returns false only when neither worked.
  bool carregarConfiguracao();

 private:
  MasterController() = default;
  // Writes the record as it is (the layout of IniFormat.h); no log line.
  bool writeFile();

  Configuracao config_{};
};
