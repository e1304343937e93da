// IniWriteTest.cpp - the fixed layout CONVERSOR.INI is written in, the
// defaults, and what a failed write leaves behind.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <string>
#include <vector>

#include "support/TestSupport.h"
#include "config/MasterController.h"
#include "log/Log.h"

namespace {

const char kCreateStart[] =
    "Iniciando a cria\xE7\xE3o do arquivo Conversor.ini com valores padr\xF5" "es";
const char kCreateEnd[] =
    "Encerrando procedimento de grava\xE7\xE3o do arquivo Conversor.INI  com valor padr\xE3o.";

class IniWriteTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = config();
    config() = Configuracao{};
  }
  void TearDown() override { config() = saved_; }
  static Configuracao& config() { return MasterController::getInstance().config(); }
  static MasterController& master() { return MasterController::getInstance(); }
  // Rewrites content as it was read; returns the file written.
  std::string roundTrip(const std::string& content) {
    scratch_.write("CONVERSOR.INI", content);
    EXPECT_TRUE(master().lerArquivoINI());
    EXPECT_TRUE(master().salvarArquivoINI());
    return scratch_.read("CONVERSOR.INI");
  }

  ScratchDir scratch_;
  Configuracao saved_{};
};

TEST_F(IniWriteTest, MissingFileGivesTheDefaultFile) {
  LogCapture logs;
  EXPECT_TRUE(master().carregarConfiguracao());
  EXPECT_EQ("\r\n\r\n[TQ587]\r\n   PORTA = COM1\r\n   VELOCIDADE = 115200\r\n"
            "   CONTROLE_DE_FLUXO = DTR/DSR\r\n   CODEPAGE_AUTOMATICO = 1\r\n"
            "   ENTERAUTOMATICO = 1\r\n   GAVETA_INVERTIDA = 1\r\n"
            "   TABULACAO = \"05,10,15,20,25,35\"\r\n   METODO_DE_COMUNICACAO = \"SERIAL\"\r\n"
            "   TAMANHO_QRCODE = 5\r\n",
            scratch_.read("CONVERSOR.INI"));
  EXPECT_EQ((std::vector<std::string>{
                kCreateStart, "Sucesso na cria\xE7\xE3o do arquivo Conversor.INI.", kCreateEnd}),
            logs.messages());
  for (const LogCapture::Line& line : logs.lines()) {
    EXPECT_EQ(LOG_INFO, line.level);
    EXPECT_EQ("MasterController::criarArquivoINI", line.where);
  }
  // logging stays off: both log fields hold a space
  EXPECT_EQ(' ', config().log);
  EXPECT_EQ(' ', config().logDiario);
  EXPECT_STREQ("C:", config().directory);
}

TEST_F(IniWriteTest, RoundTripPutsTheDailyKeyFirstAndDropsTheDirectory) {
  // LOG=S turns logging on: its files land in the scratch tree.
  mkdir("dosdevices", 0755);
  mkdir("dosdevices/c:", 0755);
  mkdir("dosdevices/c:/KORVA", 0755);
  EXPECT_EQ("\r\n\r\n[TQ587]\r\n   PORTA = COM7\r\n   VELOCIDADE = 9600\r\n"
            "   CONTROLE_DE_FLUXO = DTR/DSR\r\n   CODEPAGE_AUTOMATICO = 0\r\n"
            "   ENTERAUTOMATICO = 0\r\n   GAVETA_INVERTIDA = 0\r\n   TABULACAO = \"8 16 24\"\r\n"
            "   METODO_DE_COMUNICACAO = \"USB\"\r\n   TAMANHO_QRCODE = 9\r\n"
            "[SISTEMA]\r\nLOGDIARIO = S\r\nLOG = S\r\n",
            roundTrip("; comentario\r\n[TQ587]\r\nPORTA=COM7\r\nVELOCIDADE=9.600\r\n"
                      "CONTROLE_DE_FLUXO=SIM\r\nCODEPAGE_AUTOMATICO=0\r\nENTERAUTOMATICO=0\r\n"
                      "GAVETA_INVERTIDA=0\r\nTABULACAO=\"8 16 24\"\r\n"
                      "METODO_DE_COMUNICACAO=\"USB\"\r\nTAMANHO_QRCODE=9\r\nDESCONHECIDA=1\r\n"
                      "[SISTEMA]\r\nDIRETORIO=\"C:\\TQ587\"\r\nLOG=S\r\nLOGDIARIO=S\r\n"));
  EXPECT_STREQ("C:\\TQ587", config().directory);
}

TEST_F(IniWriteTest, SistemaSectionHoldsOnlyTheKeysThatWerePresent) {
  // a key with no value holds no character: a space keeps the rest of the file
  const std::string head =
      "\r\n\r\n[TQ587]\r\n   PORTA = COM0\r\n   VELOCIDADE = DETECTAR\r\n"
      "   CONTROLE_DE_FLUXO = DTR/DSR\r\n   CODEPAGE_AUTOMATICO =  \r\n   ENTERAUTOMATICO =  \r\n"
      "   GAVETA_INVERTIDA =  \r\n   TABULACAO = \"\"\r\n   METODO_DE_COMUNICACAO = \"\"\r\n"
      "   TAMANHO_QRCODE = 0\r\n";
  EXPECT_EQ(head + "[SISTEMA]\r\nLOG = N\r\n", roundTrip("[SISTEMA]\nLOG=N\n"));
  EXPECT_EQ(head + "[SISTEMA]\r\nLOGDIARIO =  \r\nLOG =  \r\n",
            roundTrip("[TQ587]\nGAVETA_INVERTIDA=\n[SISTEMA]\nLOGDIARIO=\nLOG=\n"));
}

TEST_F(IniWriteTest, RecordValuesOutsideTheLayoutStayBounded) {
  // No terminator in the text fields, a speed index out of the list, the
  // largest numbers: the file stays within its 511 bytes and readable.
  Configuracao& c = config();
  c.port = c.qrModuleSize = -2147483647 - 1;
  c.velocidadeIndex = 42;
  c.flowControl = 5;
  std::fill(std::begin(c.tabulacao), std::end(c.tabulacao), '9');
  std::fill(std::begin(c.metodo), std::end(c.metodo), 'M');
  c.logPresent = c.logDiarioPresent = true;
  c.log = c.logDiario = 'N';
  ASSERT_TRUE(master().salvarArquivoINI());
  const std::string file = scratch_.read("CONVERSOR.INI");
  EXPECT_LE(file.size(), 511u);
  for (const char* line : {"   VELOCIDADE = DETECTAR\r\n", "   CONTROLE_DE_FLUXO = NENHUM\r\n",
                           "   TABULACAO = \"9999999999999999999\"\r\n",
                           "   METODO_DE_COMUNICACAO = \"MMMMMMMMM\"\r\n", "LOG = N\r\n"}) {
    EXPECT_NE(std::string::npos, file.find(line)) << line;
  }
}

TEST_F(IniWriteTest, FailedWriteKeepsTheRecordAndReportsIt) {
  // A directory in the way of the file cannot be created as a file, even by root.
  ASSERT_EQ(0, mkdir("CONVERSOR.INI", 0755));
  config().port = 9;
  std::snprintf(config().tabulacao, sizeof config().tabulacao, "%s", "1,2");
  LogCapture logs;
  EXPECT_FALSE(master().salvarArquivoINI());
  ASSERT_EQ((std::vector<std::string>{"Iniciando a grava\xE7\xE3o do arquivo Conversor.ini",
                                      "Falha em gravar arquivo Conversor.ini"}),
            logs.messages());
  EXPECT_EQ(LOG_ERROR, logs.lines().back().level);
  EXPECT_EQ("MasterController::salvarArquivoINI", logs.lines().back().where);
  EXPECT_EQ(9, config().port);
  EXPECT_STREQ("1,2", config().tabulacao);

  logs.clear();
  EXPECT_FALSE(master().criarArquivoINI());
  const char* failed = "Falha na cria\xE7\xE3o do arquivo Conversor.INI com valores padr\xF5" "es.";
  EXPECT_EQ((std::vector<std::string>{kCreateStart, failed, kCreateEnd}), logs.messages());
  EXPECT_TRUE(logs.has(failed, LOG_ERROR));
  // the defaults are in memory even though the file could not be written
  EXPECT_EQ(1, config().port);
}

}  // namespace
