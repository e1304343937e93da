// Tags.h - the tag table: every tag of the mark-up, the class that serves it
// (whose name also names its log lines), its open and close texts, how many
// characters the parser steps over after each, its marks, and the order in
// which the parser tries them. A fixed tag needs no class of its own: its
// row holds its two commands.
#pragma once

#include <iterator>
#include <memory>

#include "common/EscPos.h"
#include "text/TagFixa.h"
#include "text/TagParametro.h"
#include "text/Tag_ibmp.h"
#include "text/TagsDiversas.h"
#include "text/barcode/CodebarAltura.h"
#include "text/barcode/CodebarGsK.h"
#include "text/barcode/CodebarMudo.h"
#include "text/barcode/CodebarSimbolo.h"

namespace tags {

constexpr int comprimento(const char* texto) {
  int n = 0;
  while (texto[n] != '\0') ++n;
  return n;
}

template <class Tag>
std::unique_ptr<ProtocolGeneric> fabricar(const IdentidadeTag& identidade) {
  return std::make_unique<Tag>(identidade);
}

// A tag served by its class, with an open and a close tag, each stepped over
// whole.
template <class Tag>
constexpr IdentidadeTag par(const char* classe, const char* abertura, const char* fechamento,
                            unsigned marcas = 0) {
  return {classe,         abertura, fechamento, comprimento(abertura), comprimento(fechamento),
          fabricar<Tag>, marcas,   kSemComando, kSemComando};
}
// A tag written as one token ("<dt></dt>"): its close text "1" is never met
// at a '<'.
template <class Tag>
constexpr IdentidadeTag token(const char* classe, const char* texto, unsigned marcas = 0) {
  return {classe,        texto,  "1",         comprimento(texto), 0,
          fabricar<Tag>, marcas, kSemComando, kSemComando};
}
// A fixed tag: the command of its open tag and of its close tag (an empty
// one sends nothing).
template <class Tag = TagFixa>
constexpr IdentidadeTag fixa(const char* classe, const char* abertura, const char* fechamento,
                             Comando abre, Comando fecha, unsigned marcas = 0) {
  IdentidadeTag linha = par<Tag>(classe, abertura, fechamento, marcas);
  linha.abre = abre;
  linha.fecha = fecha;
  return linha;
}
template <class Tag = TagFixa>
constexpr IdentidadeTag fixaToken(const char* classe, const char* texto, Comando abre = kSemComando,
                                  unsigned marcas = 0) {
  IdentidadeTag linha = token<Tag>(classe, texto, marcas);
  linha.abre = abre;
  return linha;
}
// The row, its open tag stepping over passo characters.
constexpr IdentidadeTag comPasso(IdentidadeTag linha, int passo) {
  linha.tamanhoAbertura = passo;
  return linha;
}

// clang-format off

// The tags in the order the parser tries them: at a '<' it converts the
// first whose open or close text starts the text there.
inline constexpr IdentidadeTag kTabela[] = {
    par<CodebarCode11>("CodebarCode11", "<code11>", "</code11>"),
    par<CodebarS2of5>("CodebarS2of5", "<s2of5>", "</s2of5>"),
    par<CodebarMsi>("CodebarMsi", "<msi>", "</msi>"),
    par<CodebarPdf>("CodebarPdf", "<pdf>", "</pdf>"),
    par<CodebarCodabar>("CodebarCodabar", "<codabar>", "</codabar>"),
    // Centring and right alignment start a new line unless the text began with
    // one of the clearing tags; their close ends the line and goes back left.
    fixa("Centralizar", "<ce>", "</ce>", escpos::kAlignCentre, escpos::kNewLineAlignLeft,
         kComecaLinha | kQuebraLinha | kAlocacaoAoFechar),
    fixa("Sublinhar", "<s>", "</s>", escpos::kUnderlineOn, escpos::kUnderlineOff, kAlocacaoAoFechar),
    fixa("Negrito", "<b>", "</b>", escpos::kBoldOn, escpos::kBoldOff),
    par<Tagtc>("Tagtc", "<tc>", "</tc>", kComecaLinha | kParametro),
    par<Tag_sp>("Tag_sp", "<sp>", "</sp>", kParametro),
    par<CodebarItf>("CodebarItf", "<i2of5>", "</i2of5>"),
    fixaToken("Tag_bm", "<bm></bm>", kSemComando, kSilenciosa),
    fixaToken<Tag_gui>("Tag_gui", "<gui></gui>", escpos::kCutPaper, kSilenciosa),
    fixa("Tag_a", "<a>", "</a>", kSemComando, kSemComando, kSilenciosa),
    fixaToken("Tag_g", "<g></g>", escpos::kDrawerKick, kSilenciosa),
    par<TagSN>("TagSN", "<sn>", "</sn>", kParametro),
    token<DataAtual>("DataAtual", "<dt></dt>"),
    par<CodebarEan8>("CodebarEan8", "<ean8>", "</ean8>"),
    par<Tag_configui>("Tag_configui", "<confgui>", "</confgui>", kParametro),
    par<EnterCustom>("EnterCustom", "<sl>", "</sl>", kParametro),
    token<HoraAtual>("HoraAtual", "<hr></hr>"),
    par<CodebarAltura>("CodebarAltura", "<altbarras>", "</altbarras>"),
    par<CodebarEan13>("CodebarEan13", "<ean13>", "</ean13>"),
    par<CodebarUpca>("CodebarUpca", "<upc-a>", "</upc-a>"),
    par<CodebarCode93>("CodebarCode93", "<code93>", "</code93>"),
    par<CodebarCode39>("CodebarCode39", "<code39>", "</code39>"),
    par<CodebarCode128>("CodebarCode128", "<code128>", "</code128>"),
    par<CodebarQrcode>("CodebarQrcode", "<qrcode>", "</qrcode>"),
    par<Tag_ibmp>("Tag_ibmp", "<ibmp>", "</ibmp>", kParametro),
    par<Tag_cespl>("Tag_cespl", "<cespl>", "</cespl>", kParametro),
    par<Tag_slm>("Tag_slm", "<slm>", "</slm>", kParametro),
    par<Tag_mg>("Tag_mg", "<mg>", "</mg>", kComecaLinha | kParametro),
    fixa("AlinharDireita", "<ad>", "</ad>", escpos::kAlignRight, escpos::kNewLineAlignLeft,
         kComecaLinha | kQuebraLinha),
    fixa("Expandido", "<e>", "</e>", escpos::kDoubleWidth, escpos::kModesOff),
    fixa("Condensado", "<c>", "</c>", escpos::kSmallFontOn, escpos::kSmallFontOff),
    fixa("Normal", "<n>", "</n>", escpos::kModesOff, escpos::kModesOff),
    // Extra large is the double-width command.
    fixa("ExtraGrande", "<xl>", "</xl>", escpos::kDoubleWidth, escpos::kModesOff),
    fixa("DuplaAltura", "<da>", "</da>", escpos::kDoubleHeight, escpos::kModesOff),
    // Met by "<bmp>" and stepped over as the whole "<bmp></bmp>".
    comPasso(fixaToken("NvBitmap", "<bmp>", escpos::kStoredImage1), comprimento("<bmp></bmp>")),
    fixaToken("PularUmaLinha", "<l></l>", escpos::kLineFeed),
    fixaToken("iDataAtual", "<dti></dti>"),
    fixaToken("iHoraAtual", "<hri></hri>"),
    // HT: the next tab stop set by the TABULACAO setting; </tb> sends nothing.
    fixa("Tabulacao", "<tb>", "</tb>", escpos::kTab, kSemComando),
};

// clang-format on

}  // namespace tags
