// ExportsTest.cpp - what the golden scripts cannot say: null arguments and
// the placeholders, which take any arguments.
#include <gtest/gtest.h>

#include "support/TestSupport.h"
#include "tq587.h"

namespace {

TEST(Exports, PlaceholdersAndNullArgumentsDoNothing) {
  ScratchDir dir;
  RecordingPipe& pipe = installRecordingPipe();
  LogCapture capture;
  for (int (*placeholder)() : {TQ587_iConfigurarGuilhotina, TQ587_rConsultaStatusImpressora,
                               TQ587_regLinhasGuilhotina, TQ587_regPortaComunicacao,
                               TQ587_regVelocidade}) {
    EXPECT_EQ(placeholder(), 0);
  }
  EXPECT_TRUE(capture.lines().empty());
  for (int (*setter)(const char*) : {TQ587_regCodePageAutomatico, TQ587_regEnterFinal,
                                     TQ587_regModoGaveta, TQ587_regTabulacao}) {
    EXPECT_EQ(setter(nullptr), -99);
  }
  EXPECT_EQ(TQ587_iImprimirBMP(nullptr), -8);
  EXPECT_EQ(TQ587_iImprimirImagem(nullptr), -8);
  EXPECT_EQ(TQ587_iImprimirTexto(nullptr, 0), -99);
  EXPECT_EQ(TQ587_iImprimirTexto(nullptr, 5), -99);
  EXPECT_TRUE(pipe.writes.empty());
  EXPECT_EQ(dir.read("CONVERSOR.INI"), "");
  removePipe();
}

}  // namespace
