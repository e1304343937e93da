// ImprimeTexto.h - the text engine: walks a marked-up text, prints its
// characters and converts its tags through the table of 43 tag objects.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "text/Formatacao.h"
#include "text/TagParametro.h"
#include "text/Tag_ibmp.h"
#include "text/TagsDiversas.h"
#include "text/barcode/CodebarAltura.h"
#include "text/barcode/CodebarGsK.h"
#include "text/barcode/CodebarMudo.h"
#include "text/barcode/CodebarSimbolo.h"

class ImprimeTexto {
 public:
  // Longest text accepted, in characters (or as declared by n).
  static constexpr int kMaxCaracteres = 2000;

  ImprimeTexto();
  ~ImprimeTexto();
  ImprimeTexto(const ImprimeTexto&) = delete;
  ImprimeTexto& operator=(const ImprimeTexto&) = delete;

  // Prints texto. n = 0: the limit applies to the text's length; otherwise
  // to n. 1 sent, 0 printer not reached or a character not sent, -99 empty
  // or too long text or a bad tag parameter, -1 and -27 tag errors.
  int tratarTexto(const char* texto, int n);
  // Converts the tag at posicao (a '<'): the characters to step over, 0 when
  // nothing could be sent, or the tag's error -1, -27, -99.
  int convertTag(const char* posicao);

  // The tag objects in search order.
  const std::vector<ProtocolGeneric*>& tabela() const { return tabela_; }

 private:
  static constexpr int kTamanhoTrabalho = 50000;

  // Sends what a matched tag answered, or turns its error marker into the
  // result; passo is what the parser steps over on success.
  int enviarTag(const uint8_t* bytes, int tamanho, uint8_t* trabalho, int passo);
  // The end of the text, and the stop when a tag could not be sent: the
  // final line feed when ENTERAUTOMATICO is '1', and the text's result.
  int terminarTexto(bool medindo);
  int pararTexto(bool medindo, int ultimaEscrita);

  // The tag objects, owned; the parser refreshes the parameter tags through
  // these names.
  std::unique_ptr<DataAtual> dataAtual_;
  std::unique_ptr<TagSN> tagSN_;
  std::unique_ptr<Tag_a> tagA_;
  std::unique_ptr<Tag_g> tagG_;
  std::unique_ptr<Tag_gui> tagGui_;
  std::unique_ptr<Tag_sp> tagSp_;
  std::unique_ptr<Tag_bm> tagBm_;
  std::unique_ptr<Tag_configui> tagConfigui_;
  std::unique_ptr<HoraAtual> horaAtual_;
  std::unique_ptr<EnterCustom> enterCustom_;
  std::unique_ptr<Tagtc> tagtc_;
  std::unique_ptr<CodebarEan13> codebarEan13_;
  std::unique_ptr<CodebarEan8> codebarEan8_;
  std::unique_ptr<CodebarAltura> codebarAltura_;
  std::unique_ptr<Tag_ibmp> tagIbmp_;
  std::unique_ptr<CodebarUpca> codebarUpca_;
  std::unique_ptr<CodebarCode93> codebarCode93_;
  std::unique_ptr<CodebarCode39> codebarCode39_;
  std::unique_ptr<CodebarCodabar> codebarCodabar_;
  std::unique_ptr<CodebarCode128> codebarCode128_;
  std::unique_ptr<Tag_cespl> tagCespl_;
  std::unique_ptr<Tag_slm> tagSlm_;
  std::unique_ptr<Tag_mg> tagMg_;
  std::unique_ptr<CodebarQrcode> codebarQrcode_;
  std::unique_ptr<CodebarItf> codebarItf_;
  std::unique_ptr<Centralizar> centralizar_;
  std::unique_ptr<AlinharDireita> alinharDireita_;
  std::unique_ptr<Sublinhar> sublinhar_;
  std::unique_ptr<Negrito> negrito_;
  std::unique_ptr<Expandido> expandido_;
  std::unique_ptr<Condensado> condensado_;
  std::unique_ptr<Normal> normal_;
  std::unique_ptr<DuplaAltura> duplaAltura_;
  std::unique_ptr<ExtraGrande> extraGrande_;
  std::unique_ptr<NvBitmap> nvBitmap_;
  std::unique_ptr<PularUmaLinha> pularUmaLinha_;
  std::unique_ptr<iDataAtual> iDataAtual_;
  std::unique_ptr<iHoraAtual> iHoraAtual_;
  std::unique_ptr<CodebarCode11> codebarCode11_;
  std::unique_ptr<CodebarMsi> codebarMsi_;
  std::unique_ptr<CodebarS2of5> codebarS2of5_;
  std::unique_ptr<CodebarPdf> codebarPdf_;
  std::unique_ptr<Tabulacao> tabulacao_;

  std::vector<ProtocolGeneric*> tabela_;
  // The bytes of the open tag and of the close tag being sent.
  std::unique_ptr<uint8_t[]> trabalhoAbertura_;
  std::unique_ptr<uint8_t[]> trabalhoFechamento_;
};
