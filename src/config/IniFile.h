// IniFile.h - a configuration record to and from a file in the layout of
// IniFormat.h. No state: the library's record is MasterController's, and a
// program that only edits the file (the tq587 tool) uses these alone.
#pragma once

#include "config/MasterController.h"

namespace ini {

// Reads the file into config, zeroed first. false when it cannot be opened.
bool readFile(const char* path, Configuration& config);
// Writes config whole: the file keeps its old content or gets the new, never
// a mix. A log key the file read did not have is left a space in config, as
// it is written. false when the file cannot be written.
bool writeFile(const char* path, Configuration& config);
// The values of the default file; the two "present" flags stay as they are.
void setDefaults(Configuration& config);

}  // namespace ini
