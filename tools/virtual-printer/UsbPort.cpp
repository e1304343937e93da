// UsbPort.cpp - the Unix socket server behind the USB stand-in.
#include "UsbPort.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cerrno>
#include <cstring>
#include <thread>

#include "UsbWire.h"

namespace vprinter {
namespace {

// A full-speed bus carries at most 19 bulk packets of 64 bytes a millisecond.
constexpr size_t kPacketBytes = 64;
constexpr long kPacketsPerMs = 19;

double seconds() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

}  // namespace

UsbPort::~UsbPort() {
  for (const Client& c : clients_) close(c.fd);
  if (listener_ >= 0) {
    close(listener_);
    unlink(path_.c_str());
  }
}

bool UsbPort::listen(const std::string& path, std::string& error) {
  sockaddr_un address = {};
  if (path.size() >= sizeof address.sun_path) {
    error = path + ": name too long for a socket";
    return false;
  }
  struct stat st;
  if (lstat(path.c_str(), &st) == 0 && S_ISSOCK(st.st_mode)) unlink(path.c_str());
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path, path.c_str(), path.size());
  listener_ = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (listener_ < 0 || bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(listener_, 4) != 0) {
    error = path + ": " + std::strerror(errno);
    if (listener_ >= 0) close(listener_);
    listener_ = -1;
    return false;
  }
  path_ = path;
  return true;
}

void UsbPort::watch(std::vector<pollfd>& fds) const {
  if (listener_ >= 0) fds.push_back({listener_, POLLIN, 0});
  for (const Client& c : clients_) fds.push_back({c.fd, POLLIN, 0});
}

void UsbPort::serve(const std::vector<pollfd>& fds) {
  for (const pollfd& p : fds) {
    if (p.revents == 0) continue;
    if (p.fd == listener_) {
      accept();
      continue;
    }
    for (auto c = clients_.begin(); c != clients_.end(); ++c) {
      if (c->fd != p.fd) continue;
      if (!readFrom(*c)) {
        close(c->fd);
        clients_.erase(c);
      }
      break;
    }
  }
  // Unplugged: every handle on it stops working.
  if (!present()) {
    for (const Client& c : clients_) close(c.fd);
    clients_.clear();
  }
}

// The host learns that a transfer is done at the end of the frame that
// carried its last packet.
void UsbPort::waitForFrames(size_t length) const {
  if (frameUs_ <= 0) return;
  const long packets = std::max(1L, static_cast<long>((length + kPacketBytes - 1) / kPacketBytes));
  const long perFrame = std::max(1L, kPacketsPerMs * frameUs_ / 1000);
  const std::chrono::microseconds frame(frameUs_);
  const auto now = std::chrono::duration_cast<std::chrono::microseconds>(
      std::chrono::steady_clock::now().time_since_epoch());
  const auto done = (now / frame + (packets + perFrame - 1) / perFrame) * frame;
  std::this_thread::sleep_until(std::chrono::steady_clock::time_point(done));
}

bool UsbPort::present() {
  if (goneAt_ >= 0 && faults_.backAfterMs >= 0 && seconds() >= goneAt_ + faults_.backAfterMs / 1000.0) goneAt_ = -1;
  return goneAt_ < 0;
}

void UsbPort::accept() {
  const int fd = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
  if (fd < 0) return;
  if (clients_.size() >= kMaxClients || !present()) {
    close(fd);
    return;
  }
  clients_.push_back({fd, {}});
}

bool UsbPort::readFrom(Client& client) {
  uint8_t chunk[65536];
  const ssize_t got = recv(client.fd, chunk, sizeof chunk, 0);
  if (got <= 0) return got < 0 && errno == EINTR;
  client.input.insert(client.input.end(), chunk, chunk + got);
  for (;;) {
    bool broken = false;
    const size_t whole = usbwire::wholeMessage(client.input.data(), client.input.size(), broken);
    if (broken) return false;
    if (whole == 0) return true;
    const std::vector<uint8_t> payload(client.input.begin() + usbwire::kHeadBytes,
                                       client.input.begin() + static_cast<long>(whole));
    const int32_t operation = static_cast<int32_t>(usbwire::getWord(client.input.data()));
    client.input.erase(client.input.begin(), client.input.begin() + static_cast<long>(whole));
    answer(client, operation, payload);
  }
}

void UsbPort::answer(Client& client, int32_t operation, const std::vector<uint8_t>& payload) {
  int32_t result = 0;
  std::vector<uint8_t> data;
  switch (operation) {
    case usbwire::kOpen:
    case usbwire::kReset:
    case usbwire::kClose: break;
    case usbwire::kWrite:
      ++writes_;
      if (writes_ == faults_.writeTimeout) return;
      waitForFrames(payload.size());
      if (writes_ == faults_.writeError) {
        result = -EIO;
        break;
      }
      sink_(payload.data(), payload.size(), replies_);
      if (replies_.size() > kMaxReplies) replies_.erase(replies_.begin(), replies_.end() - kMaxReplies);
      result = static_cast<int32_t>(payload.size());
      if (writes_ == faults_.goneAfter) goneAt_ = seconds();
      break;
    case usbwire::kRead: {
      const size_t wanted = payload.size() >= 4 ? usbwire::getWord(payload.data()) : 0;
      const size_t count = std::min(wanted, replies_.size());
      data.assign(replies_.begin(), replies_.begin() + static_cast<long>(count));
      replies_.erase(replies_.begin(), replies_.begin() + static_cast<long>(count));
      // nothing to read: as a real bulk IN transfer that times out
      result = count > 0 ? static_cast<int32_t>(count) : -ETIMEDOUT;
      break;
    }
    default: result = -EINVAL; break;
  }
  const std::vector<uint8_t> reply = usbwire::message(result, data.data(), static_cast<uint32_t>(data.size()));
  usbwire::sendAll(client.fd, reply);
}

}  // namespace vprinter
