// Options.h - the command line of tq587-virtual-printer.
#pragma once

#include <string>
#include <vector>

namespace vprinter {

struct Options {
  std::string dir;        // plays COMn in DIR/dosdevices
  int port = 1;
  long speed = 0;         // 0: answer at any speed
  bool silent = false;
  std::string usb;        // socket for the USB stand-in
  std::string record;
  std::string listing;
  double seconds = 0;     // 0: until a signal
  std::string readyFile;
  std::string decode;     // list a recording and stop
  std::string render;     // draw a recording and stop
  std::string out;        // where the receipts go
  bool help = false;
};

// Reads the arguments after the program name. On failure returns false and
// says exactly what is wrong in error.
bool parseOptions(const std::vector<std::string>& args, Options& o, std::string& error);

// The usage text, one line per option.
const char* usageText();

}  // namespace vprinter
