// CodebarTest.cpp - the barcode, QR code and PDF417 tags: their commands,
// the content lengths they accept and their log lines.
#include "TextoTeste.h"
#include "log/Log.h"

namespace {

struct Tamanho {
  int k;  // characters of content
  int resultado;
  size_t bytes;
  uint8_t pL, pH;
};

class CodebarTest : public TextoTeste {
 protected:
  // k copies of c inside <tag>: the command's length, and the store-data
  // header (function fn) at pos followed by the content.
  void tamanhos(const std::string& tag, char c, size_t pos, uint8_t fn,
                std::initializer_list<Tamanho> linhas) {
    for (const Tamanho& t : linhas) {
      SCOPED_TRACE(t.k);
      const std::string dados(static_cast<size_t>(t.k), c);
      EXPECT_EQ(imprimir("<" + tag + ">" + dados + "</" + tag + ">", 1), t.resultado);
      if (t.resultado != 1) {
        EXPECT_TRUE(escritas_.empty());
        continue;
      }
      ASSERT_EQ(escritas_.size(), 2u);
      ASSERT_EQ(escritas_[0].size(), t.bytes);
      EXPECT_EQ(Bytes(escritas_[0].begin() + pos, escritas_[0].begin() + pos + 9),
                (Bytes{0x1D, 0x28, 0x6B, t.pL, t.pH, fn, 0x50, 0x30, uint8_t(c)}));
    }
  }
};

Bytes texto(const std::string& s) { return bytesOf(s); }

// GS ( k parts of a QR code with module size s and content abc.
Bytes qrAbc(uint8_t s) {
  return {0x1D, 0x28, 0x6B, 0x04, 0x00, 0x31, 0x41, 0x32, 0x00,  // model 2
          0x1D, 0x28, 0x6B, 0x03, 0x00, 0x31, 0x43, s,           // module size
          0x1D, 0x28, 0x6B, 0x03, 0x00, 0x31, 0x45, 0x30,        // correction level
          0x1D, 0x28, 0x6B, 0x06, 0x00, 0x31, 0x50, 0x30, 0x61, 0x62, 0x63,
          0x1D, 0x28, 0x6B, 0x03, 0x00, 0x31, 0x51, 0x30, 0x00, 0x00};
}

// GS ( k parts of a PDF417 with content abc.
const Bytes kPdfAbc = {0x1D, 0x28, 0x6B, 0x03, 0x00, 0x30, 0x41, 0x00,
                       0x1D, 0x28, 0x6B, 0x03, 0x00, 0x30, 0x42, 0x00,
                       0x1D, 0x28, 0x6B, 0x03, 0x00, 0x30, 0x43, 0x03,
                       0x1D, 0x28, 0x6B, 0x03, 0x00, 0x30, 0x44, 0x03,
                       0x1D, 0x28, 0x6B, 0x04, 0x00, 0x30, 0x45, 0x31, 0x01,
                       0x1D, 0x28, 0x6B, 0x06, 0x00, 0x30, 0x50, 0x30, 0x61, 0x62, 0x63,
                       0x1D, 0x28, 0x6B, 0x03, 0x00, 0x30, 0x51, 0x30};

TEST_F(CodebarTest, Barcodes) {
  const Bytes nada;
  const char kEan13[] = "Codebar Ean13: Par\xE2metro inv\xE1lido.";
  const std::string a255(255, 'A');
  conferir({
      {"ean13 of 12", "<ean13>789100031550</ean13>", 1,
       {juntar({{0x1D, 0x6B, 0x43, 0x0C}, texto("789100031550")}), nada}, nullptr},
      {"ean13 of 13", "<ean13>7891000315507</ean13>", 1,
       {juntar({{0x1D, 0x6B, 0x43, 0x0D}, texto("7891000315507")}), nada}, nullptr},
      {"ean13 of 14", "<ean13>78910003155012</ean13>", -99, {}, kEan13},
      {"ean13 of 11", "<ean13>78910003155</ean13>", -99, {}, kEan13},
      {"ean13 letters unchanged", "<ean13>ABCDEFGHIJKL</ean13>", 1,
       {juntar({{0x1D, 0x6B, 0x43, 0x0C}, texto("ABCDEFGHIJKL")}), nada}, nullptr},
      {"ean13 close in capitals", "<ean13>789100031550</EAN13>", -99, {}, kEan13},
      {"ean13 at the text's end", "<ean13>789100031550", -99, {}, kEan13},
      {"ean8 of 7", "<ean8>1234567</ean8>", 1,
       {juntar({{0x1D, 0x6B, 0x44, 0x07}, texto("1234567")}), nada}, nullptr},
      {"ean8 of 8", "<ean8>12345678</ean8>", 1,
       {juntar({{0x1D, 0x6B, 0x44, 0x08}, texto("12345678")}), nada}, nullptr},
      {"ean8 of 9", "<ean8>123456789</ean8>", -99, {}, "Codebar Ean8: Par\xE2metro inv\xE1lido."},
      {"ean8 of 6", "<ean8>123456</ean8>", -99, {}, nullptr},
      {"upc-a of 11", "<upc-a>12345678901</upc-a>", 1,
       {juntar({{0x1D, 0x6B, 0x41, 0x0B}, texto("12345678901")}), nada}, nullptr},
      {"upc-a of 13", "<upc-a>1234567890123</upc-a>", 1,
       {juntar({{0x1D, 0x6B, 0x41, 0x0D}, texto("1234567890123")}), nada}, nullptr},
      {"upc-a of 10", "<upc-a>1234567890</upc-a>", -99, {}, nullptr},
      {"upc-a of 14", "<upc-a>12345678901234</upc-a>", -99, {}, nullptr},
      {"code39 empty", "<code39></code39>", -99, {}, "Codebar Code39: Par\xE2metro inv\xE1lido."},
      {"code39 of 255", "<code39>" + a255 + "</code39>", 1,
       {juntar({{0x1D, 0x6B, 0x45, 0xFF}, texto(a255)}), nada}, nullptr},
      {"code39 of 256", "<code39>" + a255 + "A</code39>", -99, {}, nullptr},
      {"code93", "<code93>A</code93>", 1, {{0x1D, 0x6B, 0x48, 0x01, 0x41}, nada}, nullptr},
      {"codabar", "<codabar>A1B</codabar>", 1,
       {{0x1D, 0x6B, 0x47, 0x03, 0x41, 0x31, 0x42}, nada}, nullptr},
      {"code128 of 2", "<code128>AB</code128>", 1,
       {{0x1D, 0x6B, 0x49, 0x02, 0x41, 0x42}, nada}, nullptr},
      {"code128 of 1", "<code128>A</code128>", -99, {},
       "Codebar Code128: Par\xE2metro inv\xE1lido."},
      {"i2of5 odd length", "<i2of5>123</i2of5>", 1,
       {{0x1D, 0x6B, 0x46, 0x03, 0x31, 0x32, 0x33}, nada}, nullptr},
      {"i2of5 empty", "<i2of5></i2of5>", -99, {}, "Par\xE2metro inv\xE1lido."},
      {"code11 prints its content", "<code11>123</code11>", 1,
       {nada, {0x31}, {0x32}, {0x33}, nada}, nullptr},
      {"msi prints its content", "<msi>1</msi>", 1, {nada, {0x31}, nada}, nullptr},
      {"s2of5 prints its content", "<s2of5>1</s2of5>", 1, {nada, {0x31}, nada}, nullptr},
      {"height 255", "<altbarras>255</altbarras>", 1, {{0x1D, 0x68, 0xFF}, nada}, nullptr},
      {"height 0", "<altbarras>0</altbarras>", -99, {}, "Parametro Inv\xE1lido"},
      {"height 256", "<altbarras>256</altbarras>", -99, {}, "Parametro Inv\xE1lido"},
      {"height of four characters", "<altbarras>0080</altbarras>", -99, {},
       "N\xFAmero muito extenso"},
      {"height at the text's end", "<altbarras>80", -99, {}, "N\xFAmero muito extenso"},
      {"qrcode", "<qrcode>abc</qrcode>", 1, {qrAbc(0x04), nada}, nullptr},
      {"qrcode empty", "<qrcode></qrcode>", -99, {}, "Qrcode: Par\xE2metro inv\xE1lido."},
      {"qrcode at the text's end", "<qrcode>abc", -99, {}, nullptr},
      {"pdf417", "<pdf>abc</pdf>", 1, {kPdfAbc, nada}, nullptr},
      {"pdf417 empty", "<pdf></pdf>", -99, {}, "PDF417: Par\xE2metro inv\xE1lido."},
  }, LOG_ERROR);
}

TEST_F(CodebarTest, BarcodeLogLines) {
  LogCapture logs;
  imprimir("<ean8>1234567</ean8>");
  std::vector<std::string> linhas;
  for (const LogCapture::Line& l : logs.lines()) {
    if (l.where.rfind("CodebarEan8::", 0) == 0) linhas.push_back(l.message);
  }
  EXPECT_EQ(linhas, (std::vector<std::string>{
                        "Codebar Ean8: Iniciando",
                        "Limpar posi\xE7\xF5" "es da mem\xF3ria OK.",
                        "Codebar Ean8: Conteudo do codigo de barras armazenado.",
                        "Codebar Ean8: Retornando bytes.",
                        "Codebar Ean8: retornando tamanho = 0 e bytes = 0 .",
                    }));
}

TEST_F(CodebarTest, QrCodeSizeAndLongContents) {
  tamanhos("qrcode", '<', 25, 0x31,  // a '<' is content too
           {{1990, 1, 2033, 0xC9, 0x07}, {1991, -99, 0, 0, 0}, {253, 1, 296, 0x00, 0x01}});
  tamanhos("pdf", 'x', 41, 0x30,
           {{1990, 1, 2047, 0xC9, 0x07}, {1991, -99, 0, 0, 0}, {254, 1, 311, 0x01, 0x01}});
  configurar('0', "");  // no TAMANHO_QRCODE: the size byte is 3
  EXPECT_EQ(imprimir("<qrcode>abc</qrcode>"), 1);
  EXPECT_EQ(escritas_, (Escritas{qrAbc(0x03), Bytes{}}));
}

}  // namespace
