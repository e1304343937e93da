// Formatacao.cpp - the commands of the character-mode and layout tags.
#include "text/Formatacao.h"

#include "common/EscPos.h"

using escpos::kAlignCentre;
using escpos::kAlignRight;
using escpos::kNewLineAlignLeft;
using D = DefinicaoTagFixa;

namespace {
// ESC ! 0 turns every print mode off: the close of <e>, <da>, <xl> and <n>.
constexpr Comando kModosDesligados = comando(escpos::kModesOff);
}  // namespace

// clang-format off
Negrito::Negrito() : TagFixa({"Negrito", "<b>", "</b>", 3, 4,
    comando(escpos::kBoldOn), comando(escpos::kBoldOff), D::kSimples}) {}
Sublinhar::Sublinhar() : TagFixa({"Sublinhar", "<s>", "</s>", 3, 4,
    comando(escpos::kUnderlineOn), comando(escpos::kUnderlineOff), D::kAlocacaoAoFechar}) {}
Expandido::Expandido() : TagFixa({"Expandido", "<e>", "</e>", 3, 4,
    comando(escpos::kDoubleWidth), kModosDesligados, D::kSimples}) {}
Condensado::Condensado() : TagFixa({"Condensado", "<c>", "</c>", 3, 4,
    comando(escpos::kSmallFontOn), comando(escpos::kSmallFontOff), D::kSimples}) {}
DuplaAltura::DuplaAltura() : TagFixa({"DuplaAltura", "<da>", "</da>", 4, 5,
    comando(escpos::kDoubleHeight), kModosDesligados, D::kSimples}) {}
// Extra large is the double-width command.
ExtraGrande::ExtraGrande() : TagFixa({"ExtraGrande", "<xl>", "</xl>", 4, 5,
    comando(escpos::kDoubleWidth), kModosDesligados, D::kSimples}) {}
Normal::Normal() : TagFixa({"Normal", "<n>", "</n>", 3, 4,
    kModosDesligados, kModosDesligados, D::kSimples}) {}
// Centring and right alignment start a new line unless the text began with
// one of the clearing tags; their close ends the line and goes back left.
Centralizar::Centralizar() : TagFixa({"Centralizar", "<ce>", "</ce>", 4, 5,
    comando(kAlignCentre), comando(kNewLineAlignLeft), D::kQuebraLinha | D::kAlocacaoAoFechar}) {}
AlinharDireita::AlinharDireita() : TagFixa({"AlinharDireita", "<ad>", "</ad>", 4, 5,
    comando(kAlignRight), comando(kNewLineAlignLeft), D::kQuebraLinha}) {}
PularUmaLinha::PularUmaLinha() : TagFixa({"PularUmaLinha", "<l></l>", "1", 7, 0,
    comando(escpos::kLineFeed), kSemComando, D::kSimples}) {}
// HT: the next tab stop set by the TABULACAO setting; </tb> sends nothing.
Tabulacao::Tabulacao() : TagFixa({"Tabulacao", "<tb>", "</tb>", 4, 5,
    comando(escpos::kTab), kSemComando, D::kSimples}) {}
// clang-format on
