// Options.h - the command line of tq587-virtual-printer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vprinter {

struct Options {
  std::string dir;        // plays COMn in DIR/dosdevices
  int port = 1;
  long speed = 0;         // 0: answer at any speed
  bool silent = false;
  std::string usb;        // socket for the USB stand-in
  long usbFrameUs = 0;    // complete each USB bulk write at a frame boundary; 0 at once
  std::string record;
  std::string listing;
  double seconds = 0;     // 0: until a signal
  std::string readyFile;
  std::string decode;     // list a recording and stop
  std::string render;     // draw a recording and stop
  std::string out;        // where the receipts go
  std::string webAddress; // the live page's address: loopback unless given
  int webPort = -1;       // the live page's port, 0 any free one; -1 no page
  bool help = false;
  std::vector<std::string> args;  // as given: the live page changes the faults among them
  // Faults to play, for the tests of what the driver does when they happen.
  long hangUpAfter = -1;              // close the line after this many bytes; -1 never
  std::vector<uint8_t> statusReply;   // answer status requests with these bytes instead
  long statusDelayMs = 0;             // answer status requests this late
  long usbWriteError = 0;             // fail the nth bulk write with -EIO; 0 never
  long usbWriteTimeout = 0;           // never answer the nth bulk write; 0 never
  long usbGoneAfter = 0;              // unplug the USB printer after n bulk writes; 0 never
  long usbBackAfterMs = -1;           // plug it in again this long after; -1 never
};

// Reads the arguments after the program name. On failure returns false and
// says exactly what is wrong in error.
bool parseOptions(const std::vector<std::string>& args, Options& o, std::string& error);

// The usage text, one line per option.
const char* usageText();

}  // namespace vprinter
