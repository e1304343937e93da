// UsbPort.h - the printer's end of the USB stand-in: a Unix socket on which
// applications using the stand-in libusb-0.1.so.4 open the printer and send
// their bulk OUT data (messages in tools/usb/UsbWire.h).
#pragma once

#include <poll.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vprinter {

class UsbPort {
 public:
  // Receives the bulk OUT data and appends the printer's answers (the bulk
  // IN data) to replies.
  using Sink = std::function<void(const uint8_t* bytes, size_t length, std::vector<uint8_t>& replies)>;

  // Faults to play, the bulk writes counted from 1 over every client.
  struct Faults {
    long writeError = 0;    // this write fails with -EIO and is not taken
    long writeTimeout = 0;  // this write is never answered: the host times out
    long goneAfter = 0;     // after this write the printer is unplugged
    long backAfterMs = -1;  // and plugged in again this long after; -1 never
  };

  // frameUs > 0: each bulk write completes at a boundary of frames this
  // long, as on a full-speed bus (1000), and no sooner.
  UsbPort(Sink sink, Faults faults, long frameUs = 0)
      : sink_(std::move(sink)), faults_(faults), frameUs_(frameUs) {}
  ~UsbPort();
  UsbPort(const UsbPort&) = delete;
  UsbPort& operator=(const UsbPort&) = delete;

  // Plays these faults from now on, the bulk writes counted again from the
  // next one (the live page's controls).
  void play(Faults faults) {
    faults_ = faults;
    writes_ = 0;
  }

  // Listens at path (a socket left there by an earlier run is replaced).
  // On failure says why in error.
  bool listen(const std::string& path, std::string& error);
  // The descriptors to poll for input.
  void watch(std::vector<pollfd>& fds) const;
  // Serves the descriptors poll found ready.
  void serve(const std::vector<pollfd>& fds);

 private:
  struct Client {
    int fd;
    std::vector<uint8_t> input;
  };
  static constexpr size_t kMaxClients = 16;
  static constexpr size_t kMaxReplies = 4096;

  void accept();
  // false when the client is to be dropped.
  bool readFrom(Client& client);
  void answer(Client& client, int32_t operation, const std::vector<uint8_t>& payload);
  // Whether the printer is plugged in (it comes back in time).
  bool present();
  // Waits for the end of the frame that carries the last packet of a bulk
  // write of length bytes.
  void waitForFrames(size_t length) const;

  Sink sink_;
  Faults faults_;
  long frameUs_;
  long writes_ = 0;
  double goneAt_ = -1;  // when it was unplugged; -1 while it is plugged in
  int listener_ = -1;
  std::string path_;
  std::vector<Client> clients_;
  std::vector<uint8_t> replies_;  // bulk IN data not yet read
};

}  // namespace vprinter
