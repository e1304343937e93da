// SettersTest.cpp - the four settings: what they accept, what they store in
// CONVERSOR.INI and what they send to the printer.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <memory>
#include <string>

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
    const char* value;
  };
  const Case kCases[] = {
      {"code page null", regCodePageAutomatico, nullptr},
      {"code page empty", regCodePageAutomatico, ""},
      {"code page 2", regCodePageAutomatico, "2"},
      {"code page letter", regCodePageAutomatico, "S"},
      {"enter null", regEnterFinal, nullptr},
      {"enter empty", regEnterFinal, ""},
      {"enter 1 and a space", regEnterFinal, "1 "},
      {"enter 10", regEnterFinal, "10"},
      {"enter 2", regEnterFinal, "2"},
      {"drawer null", regModoGaveta, nullptr},
      {"drawer letter", regModoGaveta, "x1"},
      {"drawer empty", regModoGaveta, ""},
      {"tabs null", regTabulacao, nullptr},
      {"tabs empty", regTabulacao, ""},
      {"tabs leading 0", regTabulacao, "0,5"},
      {"tabs leading letter", regTabulacao, "a,5"},
      {"tabs negative", regTabulacao, "-5,10"},
      {"tabs leading separator", regTabulacao, ",5"},
      {"tabs 20 characters", regTabulacao, "05,10,15,20,25,35,40"},
      {"tabs very long", regTabulacao, "1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21,22"},
      // a number of more than four digits is refused, not cut
      {"tabs five digits first", regTabulacao, "12345"},
      {"tabs five digits later", regTabulacao, "5,10,00015"},
  };
  scratch_.write("CONVERSOR.INI", kOldFile);
  RecordingPipe& pipe = installRecordingPipe();
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(-99, c.setter(c.value));
  }
  EXPECT_EQ(kOldFile, scratch_.read("CONVERSOR.INI"));
  EXPECT_TRUE(pipe.writes.empty());
}

TEST_F(SettersTest, StoredAndSent) {
  struct Case {
    const char* name;
    Setter setter;
    const char* value;
    std::string file;
    Bytes sent;
  };
  const Case kCases[] = {
      {"code page 1", regCodePageAutomatico, "1", rewritten("1", " ", " ", "9"),
       {0x1B, 0x74, 0x10, 0x0A}},
      {"code page 0", regCodePageAutomatico, "0", rewritten("0", " ", " ", "9"),
       {0x1B, 0x74, 0x00, 0x0A}},
      {"code page 1 and letters", regCodePageAutomatico, "1abc", rewritten("1", " ", " ", "9"),
       {0x1B, 0x74, 0x10, 0x0A}},
      {"enter 0", regEnterFinal, "0", rewritten(" ", "0", " ", "9"), {}},
      {"enter 1", regEnterFinal, "1", rewritten(" ", "1", " ", "9"), {}},
      {"drawer 0", regModoGaveta, "0", rewritten(" ", " ", "0", "9"), {}},
      {"drawer 1 and more", regModoGaveta, "1xyz", rewritten(" ", " ", "1", "9"), {}},
      {"tabs with commas", regTabulacao, "05,10,15,20,25,35",
       rewritten(" ", " ", " ", "05,10,15,20,25,35"),
       {0x1B, 0x44, 0x05, 0x0A, 0x0F, 0x14, 0x19, 0x23, 0x00, 0x00, 0x00,
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},
      {"tabs with spaces", regTabulacao, "8 16 24", rewritten(" ", " ", " ", "8 16 24"),
       {0x1B, 0x44, 0x08, 0x10, 0x18, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},
      {"two separators give a 0 position", regTabulacao, "1,,3", rewritten(" ", " ", " ", "1,,3"),
       {0x1B, 0x44, 0x01, 0x00, 0x03, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},
      {"trailing separator sends nothing more", regTabulacao, "7,",
       rewritten(" ", " ", " ", "7,"),
       {0x1B, 0x44, 0x07, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},
      {"low 8 bits of four digits", regTabulacao, "300,1234",
       rewritten(" ", " ", " ", "300,1234"),
       {0x1B, 0x44, 0x2C, 0xD2, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},
      // 18 spaces and a 5: nineteen positions fill the 22 bytes exactly
      {"nineteen positions", regTabulacao, "                  5",
       rewritten(" ", " ", " ", "                  5"),
       {0x1B, 0x44, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x05, 0x00}},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    scratch_.write("CONVERSOR.INI", kOldFile);
    RecordingPipe& pipe = installRecordingPipe();
    EXPECT_EQ(1, c.setter(c.value));
    EXPECT_EQ(c.file, scratch_.read("CONVERSOR.INI"));
    if (c.sent.empty()) {
      EXPECT_TRUE(pipe.writes.empty());
    } else {
      ASSERT_EQ(1u, pipe.writes.size());
      EXPECT_EQ(c.sent, pipe.writes[0]);
    }
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
    const char* error;  // the setter's own ERROR line, if any
  };
  const Case kCases[] = {
      {"code page sends nothing", regCodePageAutomatico, "1", -1, 0, nullptr},
      // neither read nor created: no configuration at all
      {"enter", regEnterFinal, "1", 0, 0, nullptr},
      {"drawer", regModoGaveta, "0", -1, 0, "N\xE3o foi poss\xEDvel atualizar arquivo!"},
      {"tabs still sends its command", regTabulacao, "5,10", -1, 1, nullptr},
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
    if (c.result == -1) {
      EXPECT_TRUE(logs.has("Falha em gravar arquivo Conversor.ini", LOG_ERROR));
    }
    if (c.error) {
      const LogCapture::Line& last = logs.lines().back();
      EXPECT_EQ(c.error, last.message);
      EXPECT_EQ(LOG_ERROR, last.level);
      EXPECT_EQ("RegModoGaveta::atualizarCampo", last.where);
    }
  }
}

TEST_F(SettersTest, PrinterAbsentOrRefusingLeavesTheFileRewritten) {
  struct Case {
    const char* name;
    Setter setter;
    const char* value;
    bool reachable;
    const char* line;
  };
  const Case kCases[] = {
      {"code page, no printer", regCodePageAutomatico, "0", false, "   CODEPAGE_AUTOMATICO = 0\r\n"},
      {"tabs, no printer", regTabulacao, "4,8", false, "   TABULACAO = \"4,8\"\r\n"},
      {"code page refused", regCodePageAutomatico, "1", true, "   CODEPAGE_AUTOMATICO = 1\r\n"},
      {"tabs refused", regTabulacao, "4,9", true, "   TABULACAO = \"4,9\"\r\n"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    scratch_.write("CONVERSOR.INI", kOldFile);
    removePipe();
    PrinterController::getInstance().setPipeFactories(absentPipe, absentPipe);
    if (c.reachable) installRecordingPipe().script.failFromWrite = 0;
    EXPECT_EQ(0, c.setter(c.value));
    EXPECT_NE(std::string::npos, scratch_.read("CONVERSOR.INI").find(c.line));
  }
}

}  // namespace
