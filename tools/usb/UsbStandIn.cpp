// UsbStandIn.cpp - libusb-0.1.so.4 for a machine without the printer: one
// bus with one TQ587 on it, whose bulk OUT data goes to a virtual printer
// listening on the Unix socket that TQ587_USB_SOCKET names. Without the
// variable, or with nothing listening there, the bus is empty.
//
// Put its directory first on LD_LIBRARY_PATH of the application; it is
// never installed system-wide.
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include <usb.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "UsbWire.h"

struct usb_dev_handle {
  int fd;
};

namespace {

struct usb_bus gBus;
struct usb_device gPrinter;
bool gPresent = false;

const char* socketPath() {
  const char* path = std::getenv(usbwire::kSocketVariable);
  return path != nullptr && path[0] != '\0' ? path : nullptr;
}

// One request and its answer. timeout in milliseconds, 0 to wait for ever.
// Returns the answer's result: -ETIMEDOUT when none came in time, -ENODEV
// when the printer is gone.
int ask(usb_dev_handle* handle, int32_t operation, const void* payload, uint32_t length,
        int timeout, std::vector<uint8_t>* answer = nullptr) {
  if (handle == nullptr || handle->fd < 0) return -ENODEV;
  if (!usbwire::sendAll(handle->fd, usbwire::message(operation, static_cast<const uint8_t*>(payload), length))) {
    return -ENODEV;
  }
  std::vector<uint8_t> got;
  uint8_t chunk[4096];
  for (;;) {
    bool broken = false;
    const size_t whole = usbwire::wholeMessage(got.data(), got.size(), broken);
    if (broken) return -EPROTO;
    if (whole > 0) {
      if (answer != nullptr) answer->assign(got.begin() + usbwire::kHeadBytes, got.begin() + static_cast<long>(whole));
      return static_cast<int32_t>(usbwire::getWord(got.data()));
    }
    pollfd p = {handle->fd, POLLIN, 0};
    const int ready = poll(&p, 1, timeout > 0 ? timeout : -1);
    if (ready < 0 && errno == EINTR) continue;
    if (ready == 0) return -ETIMEDOUT;
    const ssize_t n = recv(handle->fd, chunk, sizeof chunk, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return -ENODEV;
    got.insert(got.end(), chunk, chunk + n);
  }
}

}  // namespace

// usb.h declares the bus list outside its extern "C" block.
struct usb_bus* usb_busses = nullptr;

extern "C" {

void usb_init(void) {}

void usb_set_debug(int) {}

int usb_find_busses(void) {
  if (gBus.location != 1) {
    std::strcpy(gBus.dirname, "001");
    gBus.location = 1;
  }
  usb_busses = &gBus;
  return 0;
}

// The printer is on the bus while a socket is at the path.
int usb_find_devices(void) {
  const char* path = socketPath();
  struct stat st;
  const bool present = path != nullptr && stat(path, &st) == 0 && S_ISSOCK(st.st_mode);
  const int changes = present != gPresent ? 1 : 0;
  gPresent = present;
  std::memset(&gPrinter, 0, sizeof gPrinter);
  std::strcpy(gPrinter.filename, "001");
  gPrinter.bus = &gBus;
  gPrinter.descriptor.bLength = USB_DT_DEVICE_SIZE;
  gPrinter.descriptor.bDescriptorType = USB_DT_DEVICE;
  gPrinter.descriptor.bcdUSB = 0x0200;
  gPrinter.descriptor.bDeviceClass = USB_CLASS_PER_INTERFACE;
  gPrinter.descriptor.idVendor = usbwire::kVendorId;
  gPrinter.descriptor.idProduct = usbwire::kProductId;
  gPrinter.descriptor.bNumConfigurations = 1;
  gBus.devices = present ? &gPrinter : nullptr;
  return changes;
}

struct usb_bus* usb_get_busses(void) { return usb_busses; }

usb_dev_handle* usb_open(struct usb_device* device) {
  const char* path = socketPath();
  if (device != &gPrinter || path == nullptr || std::strlen(path) >= sizeof(sockaddr_un::sun_path)) {
    return nullptr;
  }
  sockaddr_un address = {};
  address.sun_family = AF_UNIX;
  std::strcpy(address.sun_path, path);
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return nullptr;
  if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    close(fd);
    return nullptr;
  }
  usb_dev_handle* handle = new usb_dev_handle{fd};
  if (ask(handle, usbwire::kOpen, nullptr, 0, 5000) < 0) {
    close(fd);
    delete handle;
    return nullptr;
  }
  return handle;
}

int usb_close(usb_dev_handle* handle) {
  if (handle == nullptr) return -EINVAL;
  ask(handle, usbwire::kClose, nullptr, 0, 1000);
  close(handle->fd);
  delete handle;
  return 0;
}

int usb_set_configuration(usb_dev_handle* handle, int configuration) {
  return handle != nullptr && configuration == 1 ? 0 : -EINVAL;
}

int usb_claim_interface(usb_dev_handle* handle, int interface) {
  return handle != nullptr && interface == 0 ? 0 : -EINVAL;
}

int usb_release_interface(usb_dev_handle* handle, int) { return handle != nullptr ? 0 : -EINVAL; }

int usb_bulk_write(usb_dev_handle* handle, int, const char* bytes, int size, int timeout) {
  if (bytes == nullptr || size < 0) return -EINVAL;
  return ask(handle, usbwire::kWrite, bytes, static_cast<uint32_t>(size), timeout);
}

int usb_bulk_read(usb_dev_handle* handle, int, char* bytes, int size, int timeout) {
  if (bytes == nullptr || size < 0) return -EINVAL;
  uint8_t wanted[4];
  usbwire::putWord(wanted, static_cast<uint32_t>(size));
  std::vector<uint8_t> answer;
  const int result = ask(handle, usbwire::kRead, wanted, sizeof wanted, timeout, &answer);
  if (result < 0) return result;
  const size_t count = std::min(answer.size(), static_cast<size_t>(size));
  if (count > 0) std::memcpy(bytes, answer.data(), count);
  return static_cast<int>(count);
}

int usb_reset(usb_dev_handle* handle) { return ask(handle, usbwire::kReset, nullptr, 0, 1000); }

char* usb_strerror(void) { return const_cast<char*>("TQ587 USB stand-in"); }

}  // extern "C"
