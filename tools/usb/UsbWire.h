// UsbWire.h - the messages between the libusb 0.1 stand-in and the virtual
// printer, over a Unix stream socket named by TQ587_USB_SOCKET.
//
// Every message is a head (signed 32-bit), a payload length (unsigned
// 32-bit), both little-endian, and the payload. A request's head is its
// operation; the answer's head is the result the libusb call returns
// (a byte count, 0, or a negative errno such as -ETIMEDOUT or -ENODEV), so
// the printer decides every outcome, failures included.
#pragma once

#include <sys/socket.h>
#include <sys/types.h>

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace usbwire {

constexpr const char* kSocketVariable = "TQ587_USB_SOCKET";

// The printer the stand-in shows: its ids, configuration and interface.
constexpr uint16_t kVendorId = 0x0FE6;
constexpr uint16_t kProductId = 0x811E;

enum Operation : int32_t {
  kOpen = 'O',   // no payload; 0, or a negative errno to refuse
  kWrite = 'W',  // payload: the bulk OUT data; answer: the bytes taken
  kRead = 'R',   // payload: the size wanted (32-bit); answer: the bytes
  kReset = 'X',  // no payload
  kClose = 'C',  // no payload
};

constexpr size_t kHeadBytes = 8;
// No message carries more: a longer one is a broken peer.
constexpr uint32_t kMaxPayload = 16u << 20;

inline void putWord(uint8_t* at, uint32_t value) {
  for (int k = 0; k < 4; ++k) at[k] = static_cast<uint8_t>(value >> (8 * k));
}

inline uint32_t getWord(const uint8_t* at) {
  return at[0] | (uint32_t{at[1]} << 8) | (uint32_t{at[2]} << 16) | (uint32_t{at[3]} << 24);
}

// The message's bytes, ready to send.
inline std::vector<uint8_t> message(int32_t head, const uint8_t* payload, uint32_t length) {
  std::vector<uint8_t> bytes(kHeadBytes);
  putWord(bytes.data(), static_cast<uint32_t>(head));
  putWord(bytes.data() + 4, length);
  if (length > 0) bytes.insert(bytes.end(), payload, payload + length);
  return bytes;
}

// The length of the first whole message in bytes[0, length): 0 while it is
// incomplete, and kHeadBytes + payload once it is all there. A payload above
// kMaxPayload sets broken.
inline size_t wholeMessage(const uint8_t* bytes, size_t length, bool& broken) {
  if (length < kHeadBytes) return 0;
  const uint32_t payload = getWord(bytes + 4);
  broken = payload > kMaxPayload;
  if (broken || length < kHeadBytes + payload) return 0;
  return kHeadBytes + payload;
}

// Sends all of bytes on a stream socket; false when the peer is gone.
inline bool sendAll(int fd, const std::vector<uint8_t>& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t sent = send(fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
    if (sent < 0 && errno == EINTR) continue;
    if (sent <= 0) return false;
    done += static_cast<size_t>(sent);
  }
  return true;
}

}  // namespace usbwire
