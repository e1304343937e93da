// TagsTest.cpp - the formatting, layout, date, time and parameter tags, as
// the printer receives them from a whole text.
#include <cstdlib>
#include <ctime>

#include "TextoTeste.h"
#include "log/Log.h"

namespace {

class TagsTest : public TextoTeste {};

TEST_F(TagsTest, FormattingAndLayout) {
  const Bytes nada;
  conferir({
      {"bold", "<b>A</b>", 1, {{0x1B, 0x45, 0x01}, {0x41}, {0x1B, 0x45, 0x00}}, nullptr},
      {"underline", "<s>A</s>", 1, {{0x1B, 0x2D, 0x01}, {0x41}, {0x1B, 0x2D, 0x00}}, nullptr},
      {"double width", "<e>A</e>", 1, {{0x1B, 0x21, 0x20}, {0x41}, {0x1B, 0x21, 0x00}}, nullptr},
      {"extra large", "<xl>A</xl>", 1, {{0x1B, 0x21, 0x20}, {0x41}, {0x1B, 0x21, 0x00}}, nullptr},
      {"condensed", "<c>A</c>", 1, {{0x1B, 0x4D, 0x01}, {0x41}, {0x1B, 0x4D, 0x00}}, nullptr},
      {"double height", "<da>A</da>", 1, {{0x1B, 0x21, 0x10}, {0x41}, {0x1B, 0x21, 0x00}},
       nullptr},
      {"normal", "<n>A</n>", 1, {{0x1B, 0x21, 0x00}, {0x41}, {0x1B, 0x21, 0x00}}, nullptr},
      {"bold left on", "<b>abc", 1, {{0x1B, 0x45, 0x01}, {0x61}, {0x62}, {0x63}}, nullptr},
      {"centre after text", "x<ce>y</ce>", 1,
       {{0x78}, {0x0A, 0x1B, 0x61, 0x01}, {0x79}, {0x0A, 0x1B, 0x61, 0x00}}, nullptr},
      {"centre first", "<ce>y</ce>", 1, {{0x1B, 0x61, 0x01}, {0x79}, {0x0A, 0x1B, 0x61, 0x00}},
       nullptr},
      {"right after text", "x<ad>y</ad>", 1,
       {{0x78}, {0x0A, 0x1B, 0x61, 0x02}, {0x79}, {0x0A, 0x1B, 0x61, 0x00}}, nullptr},
      {"second right starts a line", "<ad>y</ad><ad>z</ad>", 1,
       {{0x1B, 0x61, 0x02}, {0x79}, {0x0A, 0x1B, 0x61, 0x00}, {0x0A, 0x1B, 0x61, 0x02}, {0x7A},
        {0x0A, 0x1B, 0x61, 0x00}},
       nullptr},
      {"line feed", "a<l></l>b", 1, {{0x61}, {0x0A}, {0x62}}, nullptr},
      {"tab", "a<tb>b</tb>", 1, {{0x61}, {0x09}, {0x62}, nada}, nullptr},
  }, 0);
}

TEST_F(TagsTest, CentringLeavesTheFlagSetForTheNextText) {
  imprimir("<ce>a</ce>");
  EXPECT_TRUE(precisaQuebraLinha);
  imprimir("<b><ad>y</ad>");
  ASSERT_EQ(escritas_.size(), 4u);
  EXPECT_EQ(escritas_[1], (Bytes{0x0A, 0x1B, 0x61, 0x02}));
}

TEST_F(TagsTest, ActionAndSilentTags) {
  const Bytes nada;
  const Bytes hifens = juntar({repetidos(41, 0x2D), {0x00}});
  const char kExtenso[] = "N\xFAmero muito extenso";
  conferir({
      {"feed 3", "<sl>3</sl>", 1, {{0x1B, 0x64, 0x03}, nada}, nullptr},
      {"feed 255", "<sl>255</sl>", 1, {{0x1B, 0x64, 0xFF}, nada}, nullptr},
      {"feed 0", "<sl>0</sl>", -99, {}, "Par\xE2metro inv\xE1lido."},
      {"feed 256", "<sl>256</sl>", -99, {}, "Par\xE2metro inv\xE1lido."},
      {"feed empty", "<sl></sl>", -99, {}, "Par\xE2metro inv\xE1lido."},
      {"feed 1000", "<sl>1000</sl>", -99, {}, kExtenso},
      {"feed at the text's end", "<sl>1", -99, {}, kExtenso},
      {"line of hyphens", "<tc>-</tc>", 1, {hifens, {0x2D}, nada}, nullptr},
      {"line after text", "x<tc>-</tc>", 1,
       {{0x78}, juntar({{0x0A}, hifens}), {0x2D}, nada}, nullptr},
      {"two characters", "<tc>ab</tc>", -99, {}, "Tag <tc>*</tc>: Par\xE2metro inv\xE1lido."},
      {"line at the text's end", "a<tc>", -99, {{0x61}}, nullptr},
      {"stored image at the end", "<bmp>", 1, {{0x1C, 0x70, 0x01, 0x00}}, nullptr},
      {"drawer", "<g></g>", 1, {{0x1B, 0x70, 0x00, 0x96, 0xFF}}, nullptr},
      {"cut resets bold", "<b><gui></gui>", 1,
       {{0x1B, 0x45, 0x01}, {0x1B, 0x40, 0x1D, 0x56, 0x42, 0x00, 0x1B, 0x40}}, nullptr},
      {"silent tags", "<dti></dti><hri></hri><bm></bm>", 1, {nada, nada, nada}, nullptr},
      {"config swallowed", "<confgui>abc</confgui>x", 1, {nada, nada, {0x78}}, nullptr},
      {"anchor prints", "<a>ab</a>", 1, {nada, {0x61}, {0x62}, nada}, nullptr},
  }, LOG_ERROR);
}

TEST_F(TagsTest, ParameterTags) {
  const Bytes nada;
  const char kSp[] = "Valor invalido para <sp></sp>";
  conferir({
      {"spaces", "<sp>5</sp>", 1, {nada, repetidos(5, 0x20)}, nullptr},
      {"spaces, not a number", "<sp>x</sp>", -99, {nada}, kSp},
      {"spaces, negative", "<sp>-3</sp>", 1, {nada, nada}, nullptr},
      {"spaces, whole buffer", "<sp>5000</sp>", 1, {nada, repetidos(5000, 0x20)}, nullptr},
      {"spaces, beyond the buffer", "<sp>5001</sp>", -99, {nada}, kSp},
      {"spaces, open at the end", "a<sp>", 1, {{0x61}, nada}, nullptr},
      {"content of 319", "<sp>" + std::string(318, '0') + "2</sp>", 1,
       {nada, repetidos(2, 0x20)}, nullptr},
      {"content of 320", "<sp>" + std::string(319, '0') + "2</sp>", -99, {}, kSp},
      {"1E run", "<sn>3</sn>", 1, {nada, {0x1E, 0x1E, 0x1E}}, nullptr},
      {"1E run of 0", "<sn>0</sn>", -99, {nada}, "parametro inv\xE1lido"},
      {"1E run, negative", "<sn>-2</sn>", 1, {nada, nada}, nullptr},
      {"1E run, beyond the buffer", "<sn>5001</sn>", -99, {nada}, "parametro inv\xE1lido"},
      {"line spacing", "<cespl>30</cespl>", 1, {nada, {0x1B, 0x33, 0x1E}}, nullptr},
      {"line spacing 0", "<cespl>0</cespl>", -99, {nada}, "Parametro inv\xE1lido."},
      {"dot feed, low byte", "<slm>300</slm>", 1, {nada, {0x1B, 0x4A, 0x2C}}, nullptr},
      {"dot feed, letter", "<slm>a</slm>", -99, {nada}, "Caractere inv\xE1lido."},
      {"margins first", "<mg>2;3</mg>", 1,
       {nada, {0x1D, 0x4C, 0x18, 0x00, 0x1D, 0x57, 0xC4, 0x01}}, nullptr},
      {"margins after text", "x<mg>2;3</mg>", 1,
       {{0x78}, nada, {0x0A, 0x1D, 0x4C, 0x18, 0x00, 0x1D, 0x57, 0xC4, 0x01}}, nullptr},
      {"margins with a bar", "<mg>0|1</mg>", 1,
       {nada, {0x1D, 0x4C, 0x00, 0x00, 0x1D, 0x57, 0xF4, 0x01}}, nullptr},
      {"margins nearly meeting", "<mg>21;21</mg>", 1,
       {nada, {0x1D, 0x4C, 0xFC, 0x00, 0x1D, 0x57, 0x08, 0x00}}, nullptr},
      {"margins overlap", "<mg>21;22</mg>", -99, {nada}, "Parametro inv\xE1lido."},
      {"right margin 0", "<mg>2;0</mg>", -99, {nada}, "Parametro inv\xE1lido."},
      {"one number", "<mg>5</mg>", -99, {nada}, "Parametro inv\xE1lido."},
      {"five digits", "<mg>00002;3</mg>", -99, {nada}, "Parametro inv\xE1lido."},
      {"three numbers", "<mg>1;2;3</mg>", -99, {nada}, "Parametro inv\xE1lido."},
  }, LOG_DEBUG);
}


TEST_F(TagsTest, DateAndTime) {
  setenv("TZ", "UTC", 1);
  tzset();
  auto relogio = std::make_unique<TestClock>(1796474096);  // 2026-12-05 12:34:56 UTC
  EXPECT_EQ(imprimir("<dt></dt>x"), 1);
  EXPECT_EQ(escritas_, (Escritas{{0x30, 0x35, 0x2F, 0x31, 0x32, 0x2F, 0x32, 0x36, 0x00}, {0x78}}));
  EXPECT_EQ(imprimir("<hr></hr>"), 1);
  EXPECT_EQ(escritas_, (Escritas{{0x31, 0x32, 0x3A, 0x33, 0x34, 0x3A, 0x35, 0x36, 0x00}}));
  relogio.reset();

  // The system clock: dd/mm/yy and hh:mm:ss, every digit read as 9.
  imprimir("<dt></dt><hr></hr>");
  for (Bytes& b : escritas_) for (uint8_t& x : b) if (x >= '0' && x <= '9') x = '9';
  EXPECT_EQ(escritas_, (Escritas{{0x39, 0x39, 0x2F, 0x39, 0x39, 0x2F, 0x39, 0x39, 0x00},
                                 {0x39, 0x39, 0x3A, 0x39, 0x39, 0x3A, 0x39, 0x39, 0x00}}));
}

}  // namespace
