/* receipt.c - the receipt of the bindings' test, from C: the text written
 * as the Windows-1252 bytes the printer reads (E3 is "ã"). */
#include <stdio.h>

#include "tq587.h"

int main(void) {
  int result = TQ587_iImprimirTexto("<ce>S\xE3o Paulo</ce>\nP\xE3o de queijo\n<gui></gui>", 0);
  if (result != TQ587_DONE) printf("TQ587_iImprimirTexto: %d\n", result);
  return result == TQ587_DONE ? 0 : 1;
}
