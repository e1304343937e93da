"""The receipt of the bindings' test, from Python (bindings/python)."""
import sys

import tq587

result = tq587.imprimir_texto("<ce>São Paulo</ce>\nPão de queijo\n<gui></gui>")
if result != tq587.Result.DONE:
    sys.exit(f"imprimir_texto: {result!r}")
