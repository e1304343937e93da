// Tags.h - the tag table: every tag of the mark-up, the class that serves it
// (whose name also names its log lines), its open and close texts, how many
// characters the parser steps over after each, its marks, and the order in
// which the parser tries them. A fixed tag needs no class of its own: its
// row holds its two commands.
#pragma once

#include <iterator>
#include <memory>

#include "common/EscPos.h"
#include "text/FixedTag.h"
#include "text/MiscTags.h"
#include "text/ParameterTag.h"
#include "text/Tag_ibmp.h"
#include "text/barcode/Barcode2D.h"
#include "text/barcode/BarcodeGsK.h"
#include "text/barcode/CodebarAltura.h"
#include "text/barcode/SilentBarcode.h"

namespace tags {

constexpr int length(const char* text) {
  int n = 0;
  while (text[n] != '\0') ++n;
  return n;
}

template <class Tag>
std::unique_ptr<ProtocolGeneric> make(const TagRow& row) {
  return std::make_unique<Tag>(row);
}

// A tag served by its class, with an open and a close tag, each stepped over
// whole.
template <class Tag>
constexpr TagRow paired(const char* className, const char* openText, const char* closeText,
                        unsigned marks = 0) {
  return {className, openText, closeText,  length(openText), length(closeText),
          make<Tag>, marks,    kNoCommand, kNoCommand};
}
// A tag written as one token ("<dt></dt>"): its close text "1" is never met
// at a '<'.
template <class Tag>
constexpr TagRow token(const char* className, const char* text, unsigned marks = 0) {
  return {className, text, "1", length(text), 0, make<Tag>, marks, kNoCommand, kNoCommand};
}
// A fixed tag: the command of its open tag and of its close tag (an empty
// one sends nothing).
template <class Tag = FixedTag>
constexpr TagRow fixed(const char* className, const char* openText, const char* closeText,
                       CommandBytes openCommand, CommandBytes closeCommand, unsigned marks = 0) {
  TagRow row = paired<Tag>(className, openText, closeText, marks);
  row.openCommand = openCommand;
  row.closeCommand = closeCommand;
  return row;
}
template <class Tag = FixedTag>
constexpr TagRow fixedToken(const char* className, const char* text,
                            CommandBytes openCommand = kNoCommand, unsigned marks = 0) {
  TagRow row = token<Tag>(className, text, marks);
  row.openCommand = openCommand;
  return row;
}
// The row, its open tag stepping over step characters.
constexpr TagRow withStep(TagRow row, int step) {
  row.openLength = step;
  return row;
}

// clang-format off

// The tags in the order the parser tries them: at a '<' it converts the
// first whose open or close text starts the text there. Each file has its
// own copy (not inline): the rows point at EscPos.h's command arrays, of
// which each file has its own too.
constexpr TagRow kTable[] = {
    paired<CodebarCode11>("CodebarCode11", "<code11>", "</code11>"),
    paired<CodebarS2of5>("CodebarS2of5", "<s2of5>", "</s2of5>"),
    paired<CodebarMsi>("CodebarMsi", "<msi>", "</msi>"),
    paired<CodebarPdf>("CodebarPdf", "<pdf>", "</pdf>"),
    paired<CodebarCodabar>("CodebarCodabar", "<codabar>", "</codabar>"),
    // Centring and right alignment start a new line unless the text began with
    // one of the clearing tags; their close ends the line and goes back left.
    fixed("Centralizar", "<ce>", "</ce>", escpos::kAlignCentre, escpos::kNewLineAlignLeft,
          kStartsLine | kLineBreak | kAllocationOnClose),
    fixed("Sublinhar", "<s>", "</s>", escpos::kUnderlineOn, escpos::kUnderlineOff,
          kAllocationOnClose),
    fixed("Negrito", "<b>", "</b>", escpos::kBoldOn, escpos::kBoldOff),
    paired<Tagtc>("Tagtc", "<tc>", "</tc>", kStartsLine | kParameter),
    paired<Tag_sp>("Tag_sp", "<sp>", "</sp>", kParameter),
    paired<CodebarItf>("CodebarItf", "<i2of5>", "</i2of5>"),
    fixedToken("Tag_bm", "<bm></bm>", kNoCommand, kSilent),
    fixedToken<Tag_gui>("Tag_gui", "<gui></gui>", escpos::kCutPaper, kSilent),
    fixed("Tag_a", "<a>", "</a>", kNoCommand, kNoCommand, kSilent),
    fixedToken("Tag_g", "<g></g>", escpos::kDrawerKick, kSilent),
    paired<TagSN>("TagSN", "<sn>", "</sn>", kParameter),
    token<DataAtual>("DataAtual", "<dt></dt>"),
    paired<CodebarEan8>("CodebarEan8", "<ean8>", "</ean8>"),
    paired<Tag_configui>("Tag_configui", "<confgui>", "</confgui>", kParameter),
    paired<EnterCustom>("EnterCustom", "<sl>", "</sl>", kParameter),
    token<HoraAtual>("HoraAtual", "<hr></hr>"),
    paired<CodebarAltura>("CodebarAltura", "<altbarras>", "</altbarras>"),
    paired<CodebarEan13>("CodebarEan13", "<ean13>", "</ean13>"),
    paired<CodebarUpca>("CodebarUpca", "<upc-a>", "</upc-a>"),
    paired<CodebarCode93>("CodebarCode93", "<code93>", "</code93>"),
    paired<CodebarCode39>("CodebarCode39", "<code39>", "</code39>"),
    paired<CodebarCode128>("CodebarCode128", "<code128>", "</code128>"),
    paired<CodebarQrcode>("CodebarQrcode", "<qrcode>", "</qrcode>"),
    paired<Tag_ibmp>("Tag_ibmp", "<ibmp>", "</ibmp>", kParameter),
    paired<Tag_cespl>("Tag_cespl", "<cespl>", "</cespl>", kParameter),
    paired<Tag_slm>("Tag_slm", "<slm>", "</slm>", kParameter),
    paired<Tag_mg>("Tag_mg", "<mg>", "</mg>", kStartsLine | kParameter),
    fixed("AlinharDireita", "<ad>", "</ad>", escpos::kAlignRight, escpos::kNewLineAlignLeft,
          kStartsLine | kLineBreak),
    fixed("Expandido", "<e>", "</e>", escpos::kDoubleWidth, escpos::kModesOff),
    fixed("Condensado", "<c>", "</c>", escpos::kSmallFontOn, escpos::kSmallFontOff),
    fixed("Normal", "<n>", "</n>", escpos::kModesOff, escpos::kModesOff),
    // Extra large is the double-width command.
    fixed("ExtraGrande", "<xl>", "</xl>", escpos::kDoubleWidth, escpos::kModesOff),
    fixed("DuplaAltura", "<da>", "</da>", escpos::kDoubleHeight, escpos::kModesOff),
    // Met by "<bmp>" and stepped over as the whole "<bmp></bmp>".
    withStep(fixedToken("NvBitmap", "<bmp>", escpos::kStoredImage1), length("<bmp></bmp>")),
    fixedToken("PularUmaLinha", "<l></l>", escpos::kLineFeed),
    fixedToken("iDataAtual", "<dti></dti>"),
    fixedToken("iHoraAtual", "<hri></hri>"),
    // HT: the next tab stop set by the TABULACAO setting; </tb> sends nothing.
    fixed("Tabulacao", "<tb>", "</tb>", escpos::kTab, kNoCommand),
};

// clang-format on

}  // namespace tags
