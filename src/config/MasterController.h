// MasterController.h - the configuration record and CONVERSOR.INI.
#pragma once

#include <cstdint>

// TABULACAO holds at most this many characters.
constexpr int kMaxTabStops = 19;
// TAMANHO_QRCODE: the module sizes a file may give, and the one a missing or
// bad value gets (also the default file's).
constexpr int kMinQrModuleSize = 1;
constexpr int kMaxQrModuleSize = 16;
constexpr int kDefaultQrModuleSize = 5;

// CONTROLE_DE_FLUXO as the file says it: the handshake words, or any other.
enum class FlowControl : int32_t { DtrDsr = 0, None = 2 };

// VELOCIDADE: the speeds by index, as written in the file and, with thousands
// dots, as also read. Index 0, "DETECTAR", is no speed at all.
struct Speed {
  int32_t bps;
  const char* name;
  const char* dottedName;
};
constexpr Speed kSpeeds[] = {
    {0, "DETECTAR", "DETECTAR"}, {2400, "2400", "2.400"},     {4800, "4800", "4.800"},
    {9600, "9600", "9.600"},     {19200, "19200", "19.200"},  {38400, "38400", "38.400"},
    {57600, "57600", "57.600"},  {115200, "115200", "115.200"},
};
constexpr int kSpeedDetect = 0;
constexpr int kLastSpeed = static_cast<int>(sizeof kSpeeds / sizeof kSpeeds[0]) - 1;

// One field per key of CONVERSOR.INI. Texts are zero-terminated Latin-1.
struct Configuration {
  int port;                         // PORTA: COM number, 0 when unknown
  int speedIndex;                   // VELOCIDADE: an index of kSpeeds
  FlowControl flowControl;          // CONTROLE_DE_FLUXO
  int qrModuleSize;                 // TAMANHO_QRCODE: 1..16
  char directory[256];              // DIRETORIO: kept, never written back
  char autoEnter;                   // ENTERAUTOMATICO: '0' or '1'
  char autoCodePage;                // CODEPAGE_AUTOMATICO: '0' or '1'
  char invertedDrawer;              // GAVETA_INVERTIDA: first character as written
  char tabStops[kMaxTabStops + 1];  // TABULACAO: "05,10,15,20,25,35"
  char dailyLog;                    // LOGDIARIO: S/s/1 on, N/n/0 off
  char log;                         // LOG: as LOGDIARIO
  char method[10];                  // METODO_DE_COMUNICACAO: "SERIAL" or "USB"
  bool logPresent;                  // the file read had a LOG line in [SISTEMA]
  bool dailyLogPresent;             // the file read had a LOGDIARIO line in [SISTEMA]
};

class MasterController {
 public:
  static MasterController& getInstance();

  const Configuration& config() const { return config_; }
  // Changes the record in memory (the file is written by salvarArquivoINI)
  // and hands the log its new switches and port.
  template <typename Edit>
  void change(Edit edit) {
    edit(config_);
    publishToLog();
  }

  // Reads CONVERSOR.INI from the current directory into the record (zeroed
  // first). false when the file cannot be opened.
  bool lerArquivoINI();
  // Writes the record in the fixed layout. false when the file cannot be created.
  bool salvarArquivoINI();
  // Puts the defaults into the record and writes the file.
  bool criarArquivoINI();
  // What every reader does: read, and write the defaults when the read fails.
  // Returns false only when neither worked.
  bool load();

 private:
  MasterController() = default;
  // Writes the record as it is (the layout of IniFormat.h); no log line.
  bool writeFile();
  // The log follows LOGDIARIO, LOG and the port of the record.
  void publishToLog() const;

  Configuration config_{};
};
