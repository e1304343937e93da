// Formatacao.cpp - the commands of the character-mode and layout tags.
#include "text/Formatacao.h"

#include "common/EscPos.h"

using C = ComandosTagFixa;

namespace {
// ESC ! 0 turns every print mode off: the close of <e>, <da>, <xl> and <n>.
constexpr Comando kModosDesligados = comando(escpos::kModesOff);
}  // namespace

// clang-format off
Negrito::Negrito() : TagFixa(tags::kNegrito,
    {comando(escpos::kBoldOn), comando(escpos::kBoldOff), C::kSimples}) {}
Sublinhar::Sublinhar() : TagFixa(tags::kSublinhar,
    {comando(escpos::kUnderlineOn), comando(escpos::kUnderlineOff), C::kAlocacaoAoFechar}) {}
Expandido::Expandido() : TagFixa(tags::kExpandido,
    {comando(escpos::kDoubleWidth), kModosDesligados, C::kSimples}) {}
Condensado::Condensado() : TagFixa(tags::kCondensado,
    {comando(escpos::kSmallFontOn), comando(escpos::kSmallFontOff), C::kSimples}) {}
DuplaAltura::DuplaAltura() : TagFixa(tags::kDuplaAltura,
    {comando(escpos::kDoubleHeight), kModosDesligados, C::kSimples}) {}
// Extra large is the double-width command.
ExtraGrande::ExtraGrande() : TagFixa(tags::kExtraGrande,
    {comando(escpos::kDoubleWidth), kModosDesligados, C::kSimples}) {}
Normal::Normal() : TagFixa(tags::kNormal, {kModosDesligados, kModosDesligados, C::kSimples}) {}
// Centring and right alignment start a new line unless the text began with
// one of the clearing tags; their close ends the line and goes back left.
Centralizar::Centralizar() : TagFixa(tags::kCentralizar, {comando(escpos::kAlignCentre),
    comando(escpos::kNewLineAlignLeft), C::kQuebraLinha | C::kAlocacaoAoFechar}) {}
AlinharDireita::AlinharDireita() : TagFixa(tags::kAlinharDireita,
    {comando(escpos::kAlignRight), comando(escpos::kNewLineAlignLeft), C::kQuebraLinha}) {}
PularUmaLinha::PularUmaLinha() : TagFixa(tags::kPularUmaLinha,
    {comando(escpos::kLineFeed), kSemComando, C::kSimples}) {}
// HT: the next tab stop set by the TABULACAO setting; </tb> sends nothing.
Tabulacao::Tabulacao() : TagFixa(tags::kTabulacao,
    {comando(escpos::kTab), kSemComando, C::kSimples}) {}
// clang-format on
