// CodebarAltura.cpp - the barcode height tag.
#include "text/barcode/CodebarAltura.h"

CodebarAltura::CodebarAltura(const TagRow& row)
    : CountTag(row, {escpos::barcodeHeight, true, {"Codebar Altura: Iniciando", nullptr, nullptr},
                     "N\xE3o h\xE1 dados em SetBytesCb.", "Parametro Inv\xE1lido",
                     "Codebar Altura: Retornando bytes", nullptr}) {}
