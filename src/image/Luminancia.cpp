// Luminancia.cpp - the brightness in doubles, for the grey levels that need it.
#include "image/Luminancia.h"

double luminancia(uint8_t red, uint8_t green, uint8_t blue) {
  double l = 0.587 * green;
  l = l + 0.299 * red;
  l = l + 0.114 * blue;
  return l;
}
