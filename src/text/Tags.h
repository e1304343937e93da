// Tags.h - the identity of every tag of the mark-up: the class that serves
// it (and names its log lines), its open and close texts, and how many
// characters the parser steps over after each. The order in which the parser
// tries them is the engine's table (ImprimeTexto.cpp).
#pragma once

struct IdentidadeTag {
  const char* classe;
  const char* abertura;
  const char* fechamento;
  int tamanhoAbertura;
  int tamanhoFechamento;
};

namespace tags {

constexpr int comprimento(const char* texto) {
  int n = 0;
  while (texto[n] != '\0') ++n;
  return n;
}
// An open and a close tag, each stepped over whole.
constexpr IdentidadeTag par(const char* classe, const char* abertura, const char* fechamento) {
  return {classe, abertura, fechamento, comprimento(abertura), comprimento(fechamento)};
}
// A tag written as one token ("<dt></dt>"): its close text "1" is never met
// at a '<'.
constexpr IdentidadeTag token(const char* classe, const char* texto) {
  return {classe, texto, "1", comprimento(texto), 0};
}

constexpr IdentidadeTag kCodebarCode11 = par("CodebarCode11", "<code11>", "</code11>");
constexpr IdentidadeTag kCodebarS2of5 = par("CodebarS2of5", "<s2of5>", "</s2of5>");
constexpr IdentidadeTag kCodebarMsi = par("CodebarMsi", "<msi>", "</msi>");
constexpr IdentidadeTag kCodebarPdf = par("CodebarPdf", "<pdf>", "</pdf>");
constexpr IdentidadeTag kCodebarCodabar = par("CodebarCodabar", "<codabar>", "</codabar>");
constexpr IdentidadeTag kCentralizar = par("Centralizar", "<ce>", "</ce>");
constexpr IdentidadeTag kSublinhar = par("Sublinhar", "<s>", "</s>");
constexpr IdentidadeTag kNegrito = par("Negrito", "<b>", "</b>");
constexpr IdentidadeTag kTagtc = par("Tagtc", "<tc>", "</tc>");
constexpr IdentidadeTag kTag_sp = par("Tag_sp", "<sp>", "</sp>");
constexpr IdentidadeTag kCodebarItf = par("CodebarItf", "<i2of5>", "</i2of5>");
constexpr IdentidadeTag kTag_bm = token("Tag_bm", "<bm></bm>");
constexpr IdentidadeTag kTag_gui = token("Tag_gui", "<gui></gui>");
constexpr IdentidadeTag kTag_a = par("Tag_a", "<a>", "</a>");
constexpr IdentidadeTag kTag_g = token("Tag_g", "<g></g>");
constexpr IdentidadeTag kTagSN = par("TagSN", "<sn>", "</sn>");
constexpr IdentidadeTag kDataAtual = token("DataAtual", "<dt></dt>");
constexpr IdentidadeTag kCodebarEan8 = par("CodebarEan8", "<ean8>", "</ean8>");
constexpr IdentidadeTag kTag_configui = par("Tag_configui", "<confgui>", "</confgui>");
constexpr IdentidadeTag kEnterCustom = par("EnterCustom", "<sl>", "</sl>");
constexpr IdentidadeTag kHoraAtual = token("HoraAtual", "<hr></hr>");
constexpr IdentidadeTag kCodebarAltura = par("CodebarAltura", "<altbarras>", "</altbarras>");
constexpr IdentidadeTag kCodebarEan13 = par("CodebarEan13", "<ean13>", "</ean13>");
constexpr IdentidadeTag kCodebarUpca = par("CodebarUpca", "<upc-a>", "</upc-a>");
constexpr IdentidadeTag kCodebarCode93 = par("CodebarCode93", "<code93>", "</code93>");
constexpr IdentidadeTag kCodebarCode39 = par("CodebarCode39", "<code39>", "</code39>");
constexpr IdentidadeTag kCodebarCode128 = par("CodebarCode128", "<code128>", "</code128>");
constexpr IdentidadeTag kCodebarQrcode = par("CodebarQrcode", "<qrcode>", "</qrcode>");
constexpr IdentidadeTag kTag_ibmp = par("Tag_ibmp", "<ibmp>", "</ibmp>");
constexpr IdentidadeTag kTag_cespl = par("Tag_cespl", "<cespl>", "</cespl>");
constexpr IdentidadeTag kTag_slm = par("Tag_slm", "<slm>", "</slm>");
constexpr IdentidadeTag kTag_mg = par("Tag_mg", "<mg>", "</mg>");
constexpr IdentidadeTag kAlinharDireita = par("AlinharDireita", "<ad>", "</ad>");
constexpr IdentidadeTag kExpandido = par("Expandido", "<e>", "</e>");
constexpr IdentidadeTag kCondensado = par("Condensado", "<c>", "</c>");
constexpr IdentidadeTag kNormal = par("Normal", "<n>", "</n>");
constexpr IdentidadeTag kExtraGrande = par("ExtraGrande", "<xl>", "</xl>");
constexpr IdentidadeTag kDuplaAltura = par("DuplaAltura", "<da>", "</da>");
// Met by "<bmp>" and stepped over as the whole "<bmp></bmp>".
constexpr IdentidadeTag kNvBitmap = {"NvBitmap", "<bmp>", "1", comprimento("<bmp></bmp>"), 0};
constexpr IdentidadeTag kPularUmaLinha = token("PularUmaLinha", "<l></l>");
constexpr IdentidadeTag kiDataAtual = token("iDataAtual", "<dti></dti>");
constexpr IdentidadeTag kiHoraAtual = token("iHoraAtual", "<hri></hri>");
constexpr IdentidadeTag kTabulacao = par("Tabulacao", "<tb>", "</tb>");

// A text that opens with one of these starts its first line itself: the
// shared line-feed flag is cleared before it is converted.
constexpr const IdentidadeTag* kComecamLinha[] = {&kTagtc, &kCentralizar, &kAlinharDireita,
                                                  &kTag_mg};

}  // namespace tags
