// IniFormat.h - the text rules of CONVERSOR.INI: how a line is normalised
// and understood, and the one layout the file is written in.
#pragma once

#include "config/MasterController.h"

namespace ini {

// A line is read up to a line feed, the end of the file or this many bytes.
constexpr int kMaxLine = 1199;
// The whole written file is at most this many bytes.
constexpr int kMaxText = 511;

enum class Section { None, Printer, System };

// Rewrites line[0..length) in place: outside double quotes control bytes go,
// spaces stay only between two letters or digits and the rest is upper case;
// inside quotes every byte stays and a backslash escapes a backslash or a
// closing quote at the end of the line. Terminates the line and returns its
// new length. line must hold length + 1 bytes.
int normaliseLine(char* line, int length);

// Takes one normalised line that is neither empty nor a comment: a section
// line changes section, a key of the current section sets its field, and
// anything else is ignored.
void applyLine(const char* line, Section& section, Configuration& config);

// Writes the record in the file's layout into text (kMaxText + 1 bytes) and
// returns the length. A character field that holds no character is written
// as a space so that the rest of the file survives.
int formatConfig(const Configuration& config, char* text);

}  // namespace ini
