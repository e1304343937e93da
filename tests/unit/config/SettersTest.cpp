// SettersTest.cpp - the four settings: what they accept, what they store in
// CONVERSOR.INI and what they send to the printer.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <memory>
#include <string>
#include <vector>

#include "support/TestSupport.h"
#include "config/MasterController.h"
#include "config/Setters.h"
#include "connection/PrinterController.h"
#include "log/Log.h"

namespace {

using Setter = int (*)(const char*);

// A printer that is not there: the connection never starts.
class AbsentPipe : public AbstractCommunicationPipe {
 public:
  int startCommunication() override { return 0; }
  int read(uint8_t*, int32_t) override { return 0; }
  int write(const uint8_t*, int32_t) override { return 0; }
  int close() override { return 1; }
};
std::unique_ptr<AbstractCommunicationPipe> absentPipe() { return std::make_unique<AbsentPipe>(); }

const std::string kOldFile =
    "; comentario\r\n[TQ587]\r\nPORTA=COM3\r\nCHAVE_DESCONHECIDA=1\r\n"
    "METODO_DE_COMUNICACAO=\"SERIAL\"\r\nTABULACAO=\"9\"\r\n";

// The old file after a rewrite, with the one line a setter changed.
std::string rewritten(const std::string& codePage, const std::string& enter,
                      const std::string& drawer, const std::string& tabs) {
  return "\r\n\r\n[TQ587]\r\n   PORTA = COM3\r\n   VELOCIDADE = DETECTAR\r\n"
         "   CONTROLE_DE_FLUXO = DTR/DSR\r\n   CODEPAGE_AUTOMATICO = " + codePage +
         "\r\n   ENTERAUTOMATICO = " + enter + "\r\n   GAVETA_INVERTIDA = " + drawer +
         "\r\n   TABULACAO = \"" + tabs +
         "\"\r\n   METODO_DE_COMUNICACAO = \"SERIAL\"\r\n   TAMANHO_QRCODE = 0\r\n";
}

class SettersTest : public ::testing::Test {
 protected:
  void SetUp() override { saved_ = config(); }
  void TearDown() override {
    removePipe();
    config() = saved_;
  }
  static Configuracao& config() { return MasterController::getInstance().config(); }

  ScratchDir scratch_;
  Configuracao saved_{};
};

TEST_F(SettersTest, InvalidArgumentsChangeNothing) {
  struct Case {
    const char* name;
    Setter setter;
    std::vector<const char*> values;
  };
  const Case kCases[] = {
      {"code page", regCodePageAutomatico, {nullptr, "", "2", "S"}},
      {"enter", regEnterFinal, {nullptr, "2", "1 ", "10"}},
      {"drawer", regModoGaveta, {nullptr, "x1"}},
      // 20 characters; a leading 0, sign or separator; more than four digits, even zeros
      {"tabs", regTabulacao,
       {nullptr, "", "05,10,15,20,25,35,40", "0,5", "-5,10", ",5", "5,10,00015"}},
  };
  scratch_.write("CONVERSOR.INI", kOldFile);
  RecordingPipe& pipe = installRecordingPipe();
  for (const Case& c : kCases) {
    for (const char* value : c.values) {
      SCOPED_TRACE(std::string(c.name) + " " + (value ? value : "null"));
      EXPECT_EQ(-99, c.setter(value));
    }
  }
  EXPECT_EQ(kOldFile, scratch_.read("CONVERSOR.INI"));
  EXPECT_TRUE(pipe.writes.empty());
}

TEST_F(SettersTest, StoredAndSent) {
  enum Printer { kPresent, kAbsent, kRefusing };
  struct Case {
    const char* name;
    Setter setter;
    const char* value;
    Printer printer;
    int result;
    std::string file;
    std::vector<Bytes> writes;
  };
  const std::string _ = " ";
  const Case kCases[] = {
      {"code page 0", regCodePageAutomatico, "0", kPresent, 1, rewritten("0", _, _, "9"),
       {{0x1B, 0x74, 0x00, 0x0A}}},
      {"code page 1 and letters, refused", regCodePageAutomatico, "1abc", kRefusing, 0,
       rewritten("1", _, _, "9"), {{0x1B, 0x74, 0x10, 0x0A}}},
      {"code page, no printer", regCodePageAutomatico, "1", kAbsent, 0, rewritten("1", _, _, "9"),
       {}},
      {"enter 0", regEnterFinal, "0", kPresent, 1, rewritten(_, "0", _, "9"), {}},
      {"drawer 1 and more", regModoGaveta, "1xyz", kPresent, 1, rewritten(_, _, "1", "9"), {}},
      // both separators, an empty run gives 0, the low 8 bits of 1234
      {"tabs", regTabulacao, "05,10 15,,1234", kPresent, 1, rewritten(_, _, _, "05,10 15,,1234"),
       {{0x1B, 0x44, 0x05, 0x0A, 0x0F, 0x00, 0xD2, 0x00, 0x00, 0x00, 0x00,
         0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}}},
      // 18 spaces and a 5: nineteen positions fill the 22 bytes exactly
      {"tabs, nineteen positions, refused", regTabulacao, "                  5", kRefusing, 0,
       rewritten(_, _, _, "                  5"),
       {{0x1B, 0x44, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
         0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x05, 0x00}}},
      {"tabs, no printer", regTabulacao, "4,8", kAbsent, 0, rewritten(_, _, _, "4,8"), {}},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    scratch_.write("CONVERSOR.INI", kOldFile);
    removePipe();
    PrinterController::getInstance().setPipeFactories(absentPipe, absentPipe);
    RecordingPipe* pipe = c.printer == kAbsent ? nullptr : &installRecordingPipe();
    if (c.printer == kRefusing) pipe->script.failFromWrite = 0;
    EXPECT_EQ(c.result, c.setter(c.value));
    EXPECT_EQ(c.file, scratch_.read("CONVERSOR.INI"));
    EXPECT_EQ(c.writes, pipe ? pipe->writes : std::vector<Bytes>{});
  }
}

TEST_F(SettersTest, MissingFileIsCreatedWithDefaultsFirst) {
  installRecordingPipe();
  EXPECT_EQ(1, regEnterFinal("0"));
  const std::string file = scratch_.read("CONVERSOR.INI");
  EXPECT_NE(std::string::npos, file.find("   ENTERAUTOMATICO = 0\r\n"));
  EXPECT_NE(std::string::npos, file.find("   TABULACAO = \"05,10,15,20,25,35\"\r\n"));
}

TEST_F(SettersTest, FileThatCannotBeWritten) {
  struct Case {
    const char* name;
    Setter setter;
    const char* value;
    int result;
    size_t writes;
  };
  const Case kCases[] = {
      {"code page sends nothing", regCodePageAutomatico, "1", -1, 0},
      // neither read nor created: no configuration at all
      {"enter", regEnterFinal, "1", 0, 0},
      {"drawer", regModoGaveta, "0", -1, 0},
      {"tabs still sends its command", regTabulacao, "5,10", -1, 1},
  };
  // A directory in the way: it cannot be opened as the file nor created, even by root.
  ASSERT_EQ(0, mkdir("CONVERSOR.INI", 0755));
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    RecordingPipe& pipe = installRecordingPipe();
    LogCapture logs;
    EXPECT_EQ(c.result, c.setter(c.value));
    EXPECT_EQ(c.writes, pipe.writes.size());
    EXPECT_TRUE(logs.has("Falha na cria\xE7\xE3o do arquivo Conversor.INI com valores padr\xF5" "es.",
                         LOG_ERROR));
    EXPECT_EQ(c.result == -1, logs.has("Falha em gravar arquivo Conversor.ini", LOG_ERROR));
    // only the drawer says so itself, last
    const bool drawer = c.setter == regModoGaveta;
    EXPECT_EQ(drawer, logs.has("N\xE3o foi poss\xEDvel atualizar arquivo!", LOG_ERROR));
    EXPECT_EQ(drawer, logs.lines().back().where == "RegModoGaveta::atualizarCampo");
  }
}

}  // namespace
