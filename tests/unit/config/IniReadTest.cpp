// IniReadTest.cpp - how CONVERSOR.INI lines are normalised and understood.
#include <gtest/gtest.h>

#include <string>

#include "support/TestSupport.h"
#include "config/MasterController.h"

namespace {

// A text with zero bytes inside, all of it.
template <size_t N>
std::string withZero(const char (&text)[N]) {
  return std::string(text, N - 1);
}

class IniReadTest : public ::testing::Test {
 protected:
  void SetUp() override { saved_ = config(); }
  void TearDown() override { config() = saved_; }
  static Configuracao& config() { return MasterController::getInstance().config(); }
  // Writes the file and reads it back into the record.
  const Configuracao& read(const std::string& content) {
    scratch_.write("CONVERSOR.INI", content);
    EXPECT_TRUE(MasterController::getInstance().lerArquivoINI());
    return config();
  }

  ScratchDir scratch_;
  Configuracao saved_{};
};

TEST_F(IniReadTest, NumberKeys) {
  struct Case {
    const char* name;
    std::string file;
    int Configuracao::*field;
    int expected;
  };
  const Case kCases[] = {
      {"port, lower case and spaces", "[TQ587]\r\n porta = com 3 \r\n", &Configuracao::port, 3},
      {"port, no digits", "[TQ587]\nPORTA=COM\n", &Configuracao::port, 0},
      {"port, no COM", "[TQ587]\nPORTA=7\n", &Configuracao::port, 7},
      {"port, colon", "[TQ587]\nPORTA:COM12\n", &Configuracao::port, 12},
      {"port, too many digits", "[TQ587]\nPORTA=COM99999999999999999999\n", &Configuracao::port,
       2147483647},
      {"port, last line without line feed", "[TQ587]\nPORTA=COM4", &Configuracao::port, 4},
      {"port under SISTEMA is ignored", "[SISTEMA]\nPORTA=COM3\n", &Configuracao::port, 0},
      {"port before any section is ignored", "PORTA=COM3\n[TQ587]\n", &Configuracao::port, 0},
      {"port under an unknown section is ignored", "[TQ587]\n[OUTRA]\nPORTA=COM3\n",
       &Configuracao::port, 0},
      {"commented port", "[TQ587]\n   ; PORTA=COM3\n", &Configuracao::port, 0},
      {"section names are case blind", "[tq587]\nporta=com8\n", &Configuracao::port, 8},
      {"speed 19.200", "[TQ587]\nVELOCIDADE = 19.200\n", &Configuracao::velocidadeIndex, 4},
      {"speed 2.400", "[TQ587]\nVELOCIDADE=2.400\n", &Configuracao::velocidadeIndex, 1},
      {"speed prefix of 115200", "[TQ587]\nVELOCIDADE=1152000\n", &Configuracao::velocidadeIndex, 7},
      {"speed 300", "[TQ587]\nVELOCIDADE = 300\n", &Configuracao::velocidadeIndex, 0},
      {"flow nenhum", "[TQ587]\nCONTROLE_DE_FLUXO = nenhum\n", &Configuracao::flowControl, 2},
      {"flow desabilitado", "[TQ587]\nCONTROLE_DE_FLUXO=DESABILITADO\n", &Configuracao::flowControl,
       2},
      {"flow N\xC3O", "[TQ587]\nCONTROLE_DE_FLUXO=N\xC3O\n", &Configuracao::flowControl, 2},
      {"flow nao", "[TQ587]\nCONTROLE_DE_FLUXO=nao\n", &Configuracao::flowControl, 2},
      {"flow hardware", "[TQ587]\nCONTROLE_DE_FLUXO=hardware\n", &Configuracao::flowControl, 0},
      {"flow unknown", "[TQ587]\nCONTROLE_DE_FLUXO=talvez\n", &Configuracao::flowControl, 0},
      {"qr 16", "[TQ587]\nTAMANHO_QRCODE = 16\n", &Configuracao::qrModuleSize, 16},
      {"qr 0", "[TQ587]\nTAMANHO_QRCODE = 0\n", &Configuracao::qrModuleSize, 5},
      {"qr 17", "[TQ587]\nTAMANHO_QRCODE = 17\n", &Configuracao::qrModuleSize, 5},
      {"qr letter", "[TQ587]\nTAMANHO_QRCODE = A\n", &Configuracao::qrModuleSize, 5},
      {"qr empty", "[TQ587]\nTAMANHO_QRCODE =\n", &Configuracao::qrModuleSize, 5},
      {"qr with a remark", "[TQ587]\nTAMANHO_QRCODE = 12 (1 a 16)\n", &Configuracao::qrModuleSize,
       12},
      {"qr huge", "[TQ587]\nTAMANHO_QRCODE = 99999999999999999999\n", &Configuracao::qrModuleSize,
       5},
      {"qr absent stays 0", "[TQ587]\n", &Configuracao::qrModuleSize, 0},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.expected, read(c.file).*c.field);
  }
}

TEST_F(IniReadTest, CharacterKeys) {
  struct Case {
    const char* name;
    std::string file;
    char Configuracao::*field;
    char expected;
  };
  const Case kCases[] = {
      {"code page 0", "[TQ587]\nCODEPAGE_AUTOMATICO = 0\n", &Configuracao::codePageAutomatico, '0'},
      {"code page other", "[TQ587]\nCODEPAGE_AUTOMATICO=X\n", &Configuracao::codePageAutomatico, '1'},
      {"code page empty", "[TQ587]\nCODEPAGE_AUTOMATICO=\n", &Configuracao::codePageAutomatico, '1'},
      {"code page first character", "[TQ587]\nCODEPAGE_AUTOMATICO=0abc\n",
       &Configuracao::codePageAutomatico, '0'},
      {"enter 0", "[TQ587]\nENTERAUTOMATICO = 0\n", &Configuracao::enterAutomatico, '0'},
      {"enter other", "[TQ587]\nENTERAUTOMATICO = 2\n", &Configuracao::enterAutomatico, '1'},
      {"drawer any character, upper cased", "[TQ587]\nGAVETA_INVERTIDA = x\n",
       &Configuracao::gavetaInvertida, 'X'},
      {"drawer empty", "[TQ587]\nGAVETA_INVERTIDA =\n", &Configuracao::gavetaInvertida, '\0'},
      {"daily log", "[SISTEMA]\nlogdiario = s\n", &Configuracao::logDiario, 'S'},
      {"daily log is not the port log", "[SISTEMA]\nLOGDIARIO = S\n", &Configuracao::log, '\0'},
      {"port log", "[SISTEMA]\nLOG=1\n", &Configuracao::log, '1'},
      {"port log under TQ587 is ignored", "[TQ587]\nLOG=1\n", &Configuracao::log, '\0'},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.expected, read(c.file).*c.field);
  }
}

TEST_F(IniReadTest, LogKeysMarkThemselvesPresent) {
  struct Case {
    const char* name;
    std::string file;
    bool logDiario;
    bool log;
  };
  const Case kCases[] = {
      {"none", "[SISTEMA]\n", false, false},
      {"daily only", "[SISTEMA]\nLOGDIARIO=N\n", true, false},
      {"port only", "[SISTEMA]\nLOG=N\n", false, true},
      {"both", "[SISTEMA]\nLOG=S\nLOGDIARIO=S\n", true, true},
      {"empty value still present", "[SISTEMA]\nLOG=\n", false, true},
      {"under the wrong section", "[TQ587]\nLOG=S\nLOGDIARIO=S\n", false, false},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    const Configuracao& config = read(c.file);
    EXPECT_EQ(c.logDiario, config.logDiarioPresent);
    EXPECT_EQ(c.log, config.logPresent);
  }
}

TEST_F(IniReadTest, TextKeys) {
  enum Field { kTab, kMethod, kDirectory };
  struct Case {
    const char* name;
    std::string file;
    Field field;
    std::string expected;
  };
  const Case kCases[] = {
      {"tabs quoted", "[TQ587]\nTABULACAO = \"05,10,15\"\n", kTab, "05,10,15"},
      {"tabs keep their spaces", "[TQ587]\nTABULACAO = \"8 16  24\"\n", kTab, "8 16  24"},
      {"tabs unquoted read as empty", "[TQ587]\nTABULACAO = 05,10\n", kTab, ""},
      {"tabs without closing quote", "[TQ587]\nTABULACAO = \"05,10\n", kTab, "05,10"},
      {"tabs cut to 19", "[TQ587]\nTABULACAO = \"01,02,03,04,05,06,07,08\"\n", kTab,
       "01,02,03,04,05,06,0"},
      {"tabs zero byte inside quotes ends the text", withZero("[TQ587]\nTABULACAO=\"1\0 2\"\n"),
       kTab, "1"},
      {"method quoted", "[TQ587]\nMETODO_DE_COMUNICACAO = \"USB\"\n", kMethod, "USB"},
      {"method unquoted reads as empty", "[TQ587]\nMETODO_DE_COMUNICACAO = SERIAL\n", kMethod, ""},
      {"method keeps its case", "[TQ587]\nmetodo_de_comunicacao = \"serial\"\n", kMethod, "serial"},
      {"directory with spaces", "[SISTEMA]\nDIRETORIO = \"C:\\Meus Dados\"\n", kDirectory,
       "C:\\Meus Dados"},
      {"directory double backslash", "[SISTEMA]\nDIRETORIO = \"C:\\\\x\"\n", kDirectory, "C:\\x"},
      {"directory escaped quote at the end of the line", "[SISTEMA]\nDIRETORIO = \"a\\\"\n",
       kDirectory, "a"},
      {"directory backslash before a quote inside the line", "[SISTEMA]\nDIRETORIO = \"a\\\"b\"\n",
       kDirectory, "a\\"},
      {"directory of 300 bytes cut to 255",
       "[SISTEMA]\nDIRETORIO = \"" + std::string(300, 'd') + "\"\n", kDirectory,
       std::string(255, 'd')},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    const Configuracao& config = read(c.file);
    const char* text = c.field == kTab ? config.tabulacao
                       : c.field == kMethod ? config.metodo
                                            : config.directory;
    EXPECT_EQ(c.expected, text);
  }
}

TEST_F(IniReadTest, LongLinesAreSplitAt1199Bytes) {
  // 1199 bytes of comment, then the key: the key is a line of its own.
  EXPECT_EQ(6, read("[TQ587]\n" + std::string(1199, ';') + "PORTA=COM6\n").port);
  // One byte less and the P stays with the comment: ORTA=COM6 is nothing.
  EXPECT_EQ(0, read("[TQ587]\n" + std::string(1198, ';') + "PORTA=COM6\n").port);
}

TEST_F(IniReadTest, EveryReadStartsFromZeros) {
  read("[TQ587]\nPORTA=COM3\nTABULACAO=\"1,2\"\n[SISTEMA]\nLOG=S\n");
  const Configuracao& config = read("[TQ587]\n");
  EXPECT_EQ(0, config.port);
  EXPECT_STREQ("", config.tabulacao);
  EXPECT_EQ('\0', config.log);
  EXPECT_FALSE(config.logPresent);
}

TEST_F(IniReadTest, MissingFileFailsWithoutTouchingTheDisk) {
  EXPECT_FALSE(MasterController::getInstance().lerArquivoINI());
  EXPECT_EQ("", scratch_.read("CONVERSOR.INI"));
}

TEST_F(IniReadTest, GarbageNeverBreaksTheReader) {
  std::string binary;
  for (int i = 0; i < 4096; ++i) binary.push_back(static_cast<char>((i * 7919 + 13) & 0xFF));
  std::string zeros(2000, '\0');
  zeros += withZero("[TQ587]\nPORTA=COM\0" "9\n");
  struct Case {
    const char* name;
    std::string file;
  };
  const Case kCases[] = {
      {"binary bytes", binary},
      {"100 KB line", std::string(100 * 1024, 'A')},
      {"100 KB quoted line", "[SISTEMA]\nDIRETORIO=\"" + std::string(100 * 1024, 'x')},
      {"no sections", "PORTA=COM3\nLOG=S\nqualquer coisa\n"},
      {"zero bytes", zeros},
      {"only quotes and backslashes", std::string(3000, '"') + std::string(3000, '\\')},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    read(c.file);
  }
  // the zero byte between COM and 9 is dropped like any control byte
  EXPECT_EQ(9, read(zeros).port);
}

}  // namespace
