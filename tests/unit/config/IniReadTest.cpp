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
std::string tq(const std::string& lines) { return "[TQ587]\n" + lines; }
std::string sis(const std::string& lines) { return "[SISTEMA]\n" + lines; }

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

enum Field { kPort, kSpeed, kFlow, kQr, kCodePage, kEnter, kDrawer, kDaily, kLog, kDailySeen,
             kLogSeen, kTab, kMethod, kDirectory };

// One field of the record as text; a zero character reads as "".
std::string fieldText(const Configuracao& c, Field field) {
  auto ch = [](char v) { return v ? std::string(1, v) : std::string(); };
  switch (field) {
    case kPort: return std::to_string(c.port);
    case kSpeed: return std::to_string(c.velocidadeIndex);
    case kFlow: return std::to_string(c.flowControl);
    case kQr: return std::to_string(c.qrModuleSize);
    case kCodePage: return ch(c.codePageAutomatico);
    case kEnter: return ch(c.enterAutomatico);
    case kDrawer: return ch(c.gavetaInvertida);
    case kDaily: return ch(c.logDiario);
    case kLog: return ch(c.log);
    case kDailySeen: return c.logDiarioPresent ? "present" : "absent";
    case kLogSeen: return c.logPresent ? "present" : "absent";
    case kTab: return c.tabulacao;
    case kMethod: return c.metodo;
    case kDirectory: return c.directory;
  }
  return "?";
}

TEST_F(IniReadTest, Keys) {
  struct Case {
    const char* name;
    std::string file;
    Field field;
    std::string expected;
  };
  const Case kCases[] = {
      {"port, lower case and spaces", "[tq587]\r\n porta = com 3 \r\n", kPort, "3"},
      {"port, colon, no COM, no final line feed", tq("PORTA:7"), kPort, "7"},
      {"port, too many digits", tq("PORTA=COM99999999999999999999\n"), kPort, "2147483647"},
      {"port under SISTEMA is ignored", sis("PORTA=COM3\n"), kPort, "0"},
      {"port before any section is ignored", "PORTA=COM3\n[TQ587]\n", kPort, "0"},
      {"port under an unknown section is ignored", tq("[OUTRA]\nPORTA=COM3\n"), kPort, "0"},
      {"commented port", tq("   ; PORTA=COM3\n"), kPort, "0"},
      {"speed 19.200", tq("VELOCIDADE = 19.200\n"), kSpeed, "4"},
      {"speed prefix of 115200", tq("VELOCIDADE=1152000\n"), kSpeed, "7"},
      {"speed 300", tq("VELOCIDADE = 300\n"), kSpeed, "0"},
      {"flow N\xC3O", tq("CONTROLE_DE_FLUXO=N\xC3O\n"), kFlow, "2"},
      {"flow nao", tq("CONTROLE_DE_FLUXO=nao\n"), kFlow, "2"},
      {"flow hardware", tq("CONTROLE_DE_FLUXO=hardware\n"), kFlow, "0"},
      {"flow unknown", tq("CONTROLE_DE_FLUXO=talvez\n"), kFlow, "0"},
      {"qr 16", tq("TAMANHO_QRCODE = 16\n"), kQr, "16"},
      {"qr 0", tq("TAMANHO_QRCODE = 0\n"), kQr, "5"},
      {"qr 17", tq("TAMANHO_QRCODE = 17\n"), kQr, "5"},
      {"qr letter", tq("TAMANHO_QRCODE = A\n"), kQr, "5"},
      {"qr with a remark", tq("TAMANHO_QRCODE = 12 (1 a 16)\n"), kQr, "12"},
      {"qr huge", tq("TAMANHO_QRCODE = 99999999999999999999\n"), kQr, "5"},
      {"qr absent stays 0", tq(""), kQr, "0"},
      {"code page first character", tq("CODEPAGE_AUTOMATICO = 0abc\n"), kCodePage, "0"},
      {"code page other", tq("CODEPAGE_AUTOMATICO=X\n"), kCodePage, "1"},
      {"enter 0", tq("ENTERAUTOMATICO = 0\n"), kEnter, "0"},
      {"enter other", tq("ENTERAUTOMATICO = 2\n"), kEnter, "1"},
      {"drawer upper cased", tq("GAVETA_INVERTIDA = x\n"), kDrawer, "X"},
      {"drawer empty", tq("GAVETA_INVERTIDA =\n"), kDrawer, ""},
      {"daily log", sis("logdiario = s\n"), kDaily, "S"},
      {"port log", sis("LOG=1\n"), kLog, "1"},
      {"daily seen", sis("LOGDIARIO=N\n"), kDailySeen, "present"},
      {"daily is not the port log", sis("LOGDIARIO=N\n"), kLogSeen, "absent"},
      {"empty port log still seen", sis("LOG=\n"), kLogSeen, "present"},
      {"port log under TQ587 unseen", tq("LOG=S\n"), kLogSeen, "absent"},
      {"tabs keep their spaces", tq("TABULACAO = \"8 16  24\"\n"), kTab, "8 16  24"},
      {"tabs unquoted read as empty", tq("TABULACAO = 05,10\n"), kTab, ""},
      {"tabs without closing quote", tq("TABULACAO = \"05,10\n"), kTab, "05,10"},
      {"tabs cut to 19", tq("TABULACAO = \"01,02,03,04,05,06,07,08\"\n"), kTab,
       "01,02,03,04,05,06,0"},
      {"tabs zero byte ends the text", withZero("[TQ587]\nTABULACAO=\"1\0 2\"\n"), kTab, "1"},
      {"method keeps its case", tq("metodo_de_comunicacao = \"serial\"\n"), kMethod, "serial"},
      {"directory with spaces", sis("DIRETORIO = \"C:\\Meus Dados\"\n"), kDirectory,
       "C:\\Meus Dados"},
      {"directory double backslash", sis("DIRETORIO = \"C:\\\\x\"\n"), kDirectory, "C:\\x"},
      {"directory escaped quote at the end", sis("DIRETORIO = \"a\\\"\n"), kDirectory, "a"},
      {"directory backslash before an inner quote", sis("DIRETORIO = \"a\\\"b\"\n"), kDirectory,
       "a\\"},
      {"directory cut to 255", sis("DIRETORIO = \"" + std::string(300, 'd') + "\"\n"),
       kDirectory, std::string(255, 'd')},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.expected, fieldText(read(c.file), c.field));
  }
}

TEST_F(IniReadTest, LongLinesAreSplitAt1199Bytes) {
  // 1199 bytes of comment, then the key: the key is a line of its own.
  EXPECT_EQ(6, read(tq(std::string(1199, ';') + "PORTA=COM6\n")).port);
  // One byte less and the P stays with the comment: ORTA=COM6 is nothing.
  EXPECT_EQ(0, read(tq(std::string(1198, ';') + "PORTA=COM6\n")).port);
}

TEST_F(IniReadTest, EveryReadStartsFromZeros) {
  read(tq("PORTA=COM3\nTABULACAO=\"1,2\"\n[SISTEMA]\nLOG=S\n"));
  const Configuracao& config = read(tq(""));
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
  read(binary);
  read(std::string(100 * 1024, 'A'));
  read(sis("DIRETORIO=\"" + std::string(100 * 1024, 'x')));
  read(std::string(3000, '"') + std::string(3000, '\\'));
  // the zero byte between COM and 9 is dropped like any control byte
  EXPECT_EQ(9, read(std::string(2000, '\0') + withZero("[TQ587]\nPORTA=COM\0" "9\n")).port);
}

}  // namespace
