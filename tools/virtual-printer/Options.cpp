// Options.cpp - one table of options, each with its reader.
#include "Options.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace vprinter {
namespace {

bool readInt(const std::string& text, long low, long high, long& value) {
  char* end = nullptr;
  value = std::strtol(text.c_str(), &end, 10);
  return !text.empty() && *end == '\0' && value >= low && value <= high;
}

// Bytes written in hexadecimal, separated by commas: "10,FF".
bool readHexBytes(const std::string& text, std::vector<uint8_t>& bytes) {
  bytes.clear();
  for (size_t at = 0; at <= text.size();) {
    const size_t comma = std::min(text.find(',', at), text.size());
    const std::string one = text.substr(at, comma - at);
    char* end = nullptr;
    const long value = std::strtol(one.c_str(), &end, 16);
    if (one.empty() || one.size() > 2 || *end != '\0' || value < 0) return false;
    bytes.push_back(static_cast<uint8_t>(value));
    at = comma + 1;
  }
  return true;
}

bool readSeconds(const std::string& text, double& value) {
  char* end = nullptr;
  value = std::strtod(text.c_str(), &end);
  return !text.empty() && *end == '\0' && value >= 0;
}

// [ADDRESS:]PORT, an IPv6 address in brackets: [::1]:8587.
bool readWebAddress(const std::string& text, Options& o) {
  const size_t colon = text.rfind(':');
  std::string address = colon == std::string::npos ? "127.0.0.1" : text.substr(0, colon);
  if (address.size() > 2 && address.front() == '[' && address.back() == ']') {
    address = address.substr(1, address.size() - 2);
  }
  long port = 0;
  if (address.empty() || !readInt(text.substr(colon + 1), 0, 65535, port)) return false;
  o.webAddress = address;
  o.webPort = static_cast<int>(port);
  return true;
}

// An option and what to do with its value; nullptr for a flag.
struct Option {
  const char* name;
  const char* wants;  // what the value must be, for the error message
  bool (*read)(const std::string& value, Options& o);
};

const Option kOptions[] = {
    {"--dir", "a directory", [](const std::string& v, Options& o) { return !(o.dir = v).empty(); }},
    {"--port", "a number from 1 to 99",
     [](const std::string& v, Options& o) {
       long n = 0;
       if (!readInt(v, 1, 99, n)) return false;
       o.port = static_cast<int>(n);
       return true;
     }},
    {"--speed", "a speed in bit/s", [](const std::string& v, Options& o) { return readInt(v, 0, 4000000, o.speed); }},
    {"--usb", "a socket path", [](const std::string& v, Options& o) { return !(o.usb = v).empty(); }},
    {"--usb-frame-us", "a frame length in microseconds from 1 to 1000000",
     [](const std::string& v, Options& o) { return readInt(v, 1, 1000000, o.usbFrameUs); }},
    {"--record", "a file", [](const std::string& v, Options& o) { return !(o.record = v).empty(); }},
    {"--listing", "a file or -", [](const std::string& v, Options& o) { return !(o.listing = v).empty(); }},
    {"--seconds", "a number of seconds", [](const std::string& v, Options& o) { return readSeconds(v, o.seconds); }},
    {"--ready-file", "a file", [](const std::string& v, Options& o) { return !(o.readyFile = v).empty(); }},
    {"--decode", "a file", [](const std::string& v, Options& o) { return !(o.decode = v).empty(); }},
    {"--render", "a file", [](const std::string& v, Options& o) { return !(o.render = v).empty(); }},
    {"--out", "a directory", [](const std::string& v, Options& o) { return !(o.out = v).empty(); }},
    {"--web", "[ADDRESS:]PORT such as 8587 or 0.0.0.0:8587", readWebAddress},
    {"--hang-up-after", "a number of bytes",
     [](const std::string& v, Options& o) { return readInt(v, 0, LONG_MAX, o.hangUpAfter); }},
    {"--status-reply", "hexadecimal bytes such as 10,FF",
     [](const std::string& v, Options& o) { return readHexBytes(v, o.statusReply); }},
    {"--status-delay", "a number of milliseconds",
     [](const std::string& v, Options& o) { return readInt(v, 0, 600000, o.statusDelayMs); }},
    {"--usb-write-error", "a write number from 1",
     [](const std::string& v, Options& o) { return readInt(v, 1, LONG_MAX, o.usbWriteError); }},
    {"--usb-write-timeout", "a write number from 1",
     [](const std::string& v, Options& o) { return readInt(v, 1, LONG_MAX, o.usbWriteTimeout); }},
    {"--usb-gone-after", "a number of writes from 1",
     [](const std::string& v, Options& o) { return readInt(v, 1, LONG_MAX, o.usbGoneAfter); }},
    {"--usb-back-after", "a number of milliseconds",
     [](const std::string& v, Options& o) { return readInt(v, 0, 600000, o.usbBackAfterMs); }},
};

}  // namespace

const char* usageText() {
  return "usage: tq587-virtual-printer [--dir DIR] [--usb SOCKET] [options]  play the printer\n"
         "       tq587-virtual-printer --decode FILE                      list a recording\n"
         "       tq587-virtual-printer --render FILE [--out DIR]          draw a recording\n"
         "  --dir DIR          play COMn as DIR/dosdevices/comN (a pseudo-terminal)\n"
         "  --port N           the n of COMn, 1 to 99 (default 1)\n"
         "  --speed BAUD       answer status requests only at this speed (default any)\n"
         "  --silent           never answer status requests (a port with no printer)\n"
         "  --usb SOCKET       play the USB printer for the libusb stand-in on this socket\n"
         "  --usb-frame-us N   complete each bulk write at the end of the N-microsecond frame\n"
         "                     of its last packet, as a full-speed printer (1000; default at once)\n"
         "  --out DIR          write receipt-0001.png, ... here (default DIR of --dir, or .)\n"
         "  --web [ADDRESS:]PORT  serve a live page of the receipts that sets the faults below\n"
         "                     (this machine only unless ADDRESS is given; PORT 0: any free one;\n"
         "                     with --render it shows the recording until Ctrl-C)\n"
         "  --record FILE      record every byte received\n"
         "  --listing FILE|-   write the listing of what was received when stopping\n"
         "  --seconds S        stop after S seconds (default at SIGINT or SIGTERM)\n"
         "  --ready-file FILE  create FILE once the ports are ready\n"
         "  --decode FILE      list the commands in a recording and stop\n"
         "  --render FILE      draw the receipts of a recording into --out, list it and stop\n"
         "  --hang-up-after N  close the line after N bytes received (later writes fail)\n"
         "  --status-reply HEX[,HEX...]  answer status requests with these bytes\n"
         "  --status-delay MS  answer status requests MS late (lost if the speed changed)\n"
         "  --usb-write-error N    fail the Nth USB bulk write with an I/O error\n"
         "  --usb-write-timeout N  never answer the Nth USB bulk write (it times out)\n"
         "  --usb-gone-after N     unplug the USB printer after N bulk writes\n"
         "  --usb-back-after MS    plug it in again MS after it went\n"
         "  --help             print this help and stop\n";
}

bool parseOptions(const std::vector<std::string>& args, Options& o, std::string& error) {
  o.args = args;
  for (size_t k = 0; k < args.size(); ++k) {
    const std::string& name = args[k];
    if (name == "--help") {
      o.help = true;
      return true;
    }
    if (name == "--silent") {
      o.silent = true;
      continue;
    }
    const Option* option = nullptr;
    for (const Option& candidate : kOptions) {
      if (name == candidate.name) option = &candidate;
    }
    if (option == nullptr) {
      error = "unknown option '" + name + "'";
      return false;
    }
    if (k + 1 >= args.size()) {
      error = name + " needs " + option->wants;
      return false;
    }
    const std::string& value = args[++k];
    if (!option->read(value, o)) {
      error = name + " needs " + option->wants + ", not '" + value + "'";
      return false;
    }
  }
  if (o.dir.empty() && o.usb.empty() && o.decode.empty() && o.render.empty()) {
    error = "nothing to do: give --dir, --usb, --decode or --render";
    return false;
  }
  return true;
}

}  // namespace vprinter
