// ImprimeTextoTest.cpp - the text loop and the parser: characters, limits,
// final line feed, stops and the table of tags.
#include <algorithm>
#include <memory>

#include "TextoTeste.h"
#include "connection/PrinterController.h"
#include "log/Log.h"

namespace {

const char kMaisDe2000[] = "Par\xE2metro inv\xE1lido. Mais de 2000 caracteres.";
const char kDeclaradoMaior[] = "Par\xE2metro invalido. Quantidade de caracteres maior que 2000.";
const char kNaoEnviado[] =
    "N\xE3o foi poss\xEDvel enviar o caractere para a impress\xE3o. Var Res = 0x00";
const char kComando[] = "N\xE3o permitido enviar comandos.";

class ImprimeTextoTest : public TextoTeste {};

struct Caso {
  const char* nome;
  std::string texto;
  int n;
  char enter;              // ENTERAUTOMATICO
  RecordingPipe::Script script;
  int resultado;
  Escritas escritas;
  const char* linha;       // a log line said, or nullptr
};

TEST_F(ImprimeTextoTest, CharactersLimitsAndFinalLineFeed) {
  const RecordingPipe::Script ok;
  const RecordingPipe::Script recusa2{2, 0, 1};   // the third write returns 0
  const RecordingPipe::Script recusa3{3, 0, 1};   // the fourth write returns 0
  const RecordingPipe::Script curta{-1, 1, 1};    // every write one byte short
  const std::string a2000(2000, 'a'), a3000(3000, 'a');
  const Caso casos[] = {
      {"plain text", "abc", 0, '0', ok, 1, {{0x61}, {0x62}, {0x63}}, nullptr},
      {"final line feed", "abc", 0, '1', ok, 1, {{0x61}, {0x62}, {0x63}, {0x0A}}, nullptr},
      {"final line feed, declared", "abc", 3, '1', ok, 1, {{0x61}, {0x62}, {0x63}, {0x0A}},
       nullptr},
      {"Latin-1 unchanged", "Ol\xE1", 0, '0', ok, 1, {{0x4F}, {0x6C}, {0xE1}}, nullptr},
      {"tab refused", "A\tB", 0, '0', ok, 1, {{0x41}, {0x42}}, kComando},
      {"escape refused", "A\x1B@B", 0, '0', ok, 1, {{0x41}, {0x40}, {0x42}}, kComando},
      {"CR and LF pass", "a\r\nb", 0, '0', ok, 1, {{0x61}, {0x0D}, {0x0A}, {0x62}}, nullptr},
      {"unknown tag printed", "<zz>", 0, '0', ok, 1, {{0x3C}, {0x7A}, {0x7A}, {0x3E}},
       "N\xE3o encontrou Tag, string enviada."},
      {"lone < at the end", "ab<", 0, '0', ok, 1, {{0x61}, {0x62}, {0x3C}}, nullptr},
      {"empty text", "", 0, '1', ok, -99, {}, nullptr},
      {"declared over 2000", "abc", 2001, '0', ok, -99, {}, kDeclaradoMaior},
      {"2000 in measure mode", a2000, 0, '0', ok, 1, Escritas(2000, Bytes{0x61}), nullptr},
      {"2001 in measure mode", a2000 + "a", 0, '0', ok, -99, {}, kMaisDe2000},
      // A declared count up to 2000 passes whatever the length, and all prints.
      {"declared 5", a3000, 5, '0', ok, 1, Escritas(3000, Bytes{0x61}), nullptr},
      {"declared 2000", a3000, 2000, '0', ok, 1, Escritas(3000, Bytes{0x61}), nullptr},
      {"refused character", "abc", 0, '1', recusa2, 0, {{0x61}, {0x62}, {0x63}}, kNaoEnviado},
      {"short character write", "<b>A", 0, '0', curta, 0, {{0x1B, 0x45, 0x01}, {0x41}},
       kNaoEnviado},
      {"refused final line feed", "abc", 0, '1', recusa3, 0,
       {{0x61}, {0x62}, {0x63}, {0x0A}}, nullptr},
      {"refused final line feed, declared", "abc", 3, '1', recusa3, 0,
       {{0x61}, {0x62}, {0x63}, {0x0A}}, nullptr},
      // A '<' that cannot be sent stops the text: the last character sent
      // decides in measure mode, the line feed follows the setting.
      {"stop, no line feed", "ab<zz", 0, '0', recusa2, 1, {{0x61}, {0x62}, {0x3C}}, nullptr},
      {"stop, line feed refused", "ab<zz", 0, '1', recusa2, 0,
       {{0x61}, {0x62}, {0x3C}, {0x0A}}, nullptr},
      {"stop, declared", "ab<zz", 5, '1', recusa2, 1, {{0x61}, {0x62}, {0x3C}, {0x0A}}, nullptr},
      {"stop, declared, no line feed", "ab<zz", 5, '0', recusa2, 1, {{0x61}, {0x62}, {0x3C}},
       nullptr},
      // A tag error stops everything, the final line feed too.
      {"tag error stops", "a<sl>0</sl>b", 0, '1', ok, -99, {{0x61}},
       "Parametro inv\xE1lido."},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.nome);
    configurar(c.enter, "4");
    LogCapture logs;
    EXPECT_EQ(imprimir(c.texto, c.n, c.script), c.resultado);
    EXPECT_EQ(escritas_, c.escritas);
    if (c.linha) {
      EXPECT_TRUE(logs.has(c.linha, LOG_ERROR) || logs.has(c.linha, LOG_INFO));
    }
  }
}

TEST_F(ImprimeTextoTest, LogLinesOfTheLoop) {
  LogCapture logs;
  EXPECT_EQ(imprimir(""), -99);
  EXPECT_TRUE(logs.lines().empty());
  imprimir("A\tB");  // once, from the loop
  const std::vector<LogCapture::Line>& l = logs.lines();
  EXPECT_EQ(std::count_if(l.begin(), l.end(), [](const LogCapture::Line& x) {
              return x.message == kComando && x.where == "ImprimeTexto::tratarTexto";
            }), 1);
  const std::vector<std::string> m = logs.messages();
  EXPECT_EQ(std::count(m.begin(), m.end(), kComando), 1);
}

TEST_F(ImprimeTextoTest, LongTextAfterAParameterTag) {
  // Each tag copies at most 4999 characters of the rest of the text.
  const std::string texto = "<sp>3</sp>" + std::string(6000, 'a') + "<sp>";
  EXPECT_EQ(imprimir(texto, 1), 1);
  ASSERT_EQ(escritas_.size(), 2u + 6000u + 1u);
  EXPECT_EQ(escritas_[1], repetidos(3, 0x20));
  EXPECT_EQ(escritas_[2], Bytes{0x61});
}

// A printer that is not there: the connection never starts.
class PipeAusente : public AbstractCommunicationPipe {
 public:
  int startCommunication() override { return 0; }
  int read(uint8_t*, int32_t) override { return 0; }
  int write(const uint8_t*, int32_t) override { return 0; }
  int close() override { return 1; }
};
std::unique_ptr<AbstractCommunicationPipe> pipeAusente() { return std::make_unique<PipeAusente>(); }

TEST_F(ImprimeTextoTest, PrinterNotReachable) {
  removePipe();
  PrinterController::getInstance().setPipeFactories(pipeAusente, pipeAusente);
  ImprimeTexto engine;
  EXPECT_EQ(engine.tratarTexto("abc", 0), 0);
  EXPECT_EQ(PrinterController::getInstance().pipe(), nullptr);
}

TEST_F(ImprimeTextoTest, ParserAnswers) {
  struct Linha {
    const char* texto;
    int passo;
    Escritas escritas;
    const char* log;
  };
  const Linha linhas[] = {
      {"<b>abc", 3, {{0x1B, 0x45, 0x01}}, "M\xE9todo enviado."},
      {"</b>", 4, {{0x1B, 0x45, 0x00}}, "M\xE9todo enviado."},
      {"<zz>", 1, {{0x3C}}, "N\xE3o encontrou Tag, string enviada."},
      // A tag that sends nothing is still a write of nothing, and handled.
      {"<code11>123</code11>", 8, {{}}, "M\xE9todo enviado."},
      // Matching is by prefix: <bm></bm> is not <bmp>, <bmp>... is.
      {"<bm></bm>x", 9, {{}}, nullptr},
      {"<bmp>abcdef", 11, {{0x1C, 0x70, 0x01, 0x00}}, nullptr},
      {"<gui></gui>x", 11, {{0x1B, 0x40, 0x1D, 0x56, 0x42, 0x00, 0x1B, 0x40}}, nullptr},
      {"<sl>0</sl>", -99, {}, "Parametro inv\xE1lido."},
  };
  for (const Linha& l : linhas) {
    SCOPED_TRACE(l.texto);
    RecordingPipe& pipe = installRecordingPipe();
    LogCapture logs;
    ImprimeTexto engine;
    EXPECT_EQ(engine.convertTag(l.texto), l.passo);
    EXPECT_EQ(pipe.writes, l.escritas);
    if (l.log) {
      EXPECT_TRUE(logs.has(l.log));
    }
  }
}

TEST_F(ImprimeTextoTest, TableOfTags) {
  ImprimeTexto engine;
  const std::vector<ProtocolGeneric*>& tabela = engine.tabela();
  ASSERT_EQ(tabela.size(), 43u);
  EXPECT_NE(dynamic_cast<CodebarCode11*>(tabela.front()), nullptr);
  EXPECT_NE(dynamic_cast<Tabulacao*>(tabela.back()), nullptr);
  EXPECT_NE(dynamic_cast<Centralizar*>(tabela[5]), nullptr);
  EXPECT_NE(dynamic_cast<NvBitmap*>(tabela[38]), nullptr);
  for (size_t i = 0; i < tabela.size(); ++i) {
    for (size_t j = i + 1; j < tabela.size(); ++j) EXPECT_NE(tabela[i], tabela[j]);
  }
}

}  // namespace
