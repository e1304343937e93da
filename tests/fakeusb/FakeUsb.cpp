// FakeUsb.cpp - a fake libusb 0.1 with scripted busses, devices and results.
#include "FakeUsb.h"

#include <usb.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

struct usb_dev_handle {
  int device;
  bool usable;
};

namespace {

constexpr int kBusses = 4;
constexpr int kDevices = 16;

struct Script {
  std::string call;
  int result;
  int times;
};

struct State {
  usb_bus busses[kBusses];
  struct usb_device devices[kDevices];
  int deviceBus[kDevices];
  int deviceCount = 0;
  bool bussesFound = false;
  bool devicesFound = false;
  std::vector<Script> scripts;
  std::vector<std::string> calls;
  int openHandles = 0;
  std::vector<unsigned char> lastWrite;
};

State& state() {
  static State* s = new State();
  return *s;
}

void record(const char* call, int a = -1, int b = -1, int c = -1, int d = -1) {
  std::string line = call;
  for (int value : {a, b, c, d}) {
    if (value != -1) line += " " + std::to_string(value);
  }
  state().calls.push_back(line);
}

// The scripted answer of this call, if one is pending.
bool scripted(const char* call, int& result) {
  for (Script& s : state().scripts) {
    if (s.call == call && s.times != 0) {
      if (s.times > 0) --s.times;
      result = s.result;
      return true;
    }
  }
  return false;
}

// Links the busses and devices that the find calls have revealed so far.
void relink() {
  State& s = state();
  for (int b = 0; b < kBusses; ++b) {
    usb_bus& bus = s.busses[b];
    bus.next = b + 1 < kBusses ? &s.busses[b + 1] : nullptr;
    bus.prev = b > 0 ? &s.busses[b - 1] : nullptr;
    bus.devices = nullptr;
    std::snprintf(bus.dirname, sizeof bus.dirname, "%03d", b + 1);
    bus.location = static_cast<unsigned>(b + 1);
  }
  if (!s.devicesFound) return;
  struct usb_device* last[kBusses] = {};
  for (int i = 0; i < s.deviceCount; ++i) {
    struct usb_device& dev = s.devices[i];
    const int b = s.deviceBus[i];
    dev.next = nullptr;
    dev.prev = last[b];
    dev.bus = &s.busses[b];
    if (last[b]) {
      last[b]->next = &dev;
    } else {
      s.busses[b].devices = &dev;
    }
    last[b] = &dev;
  }
}

int deviceNumber(struct usb_device* dev) {
  State& s = state();
  for (int i = 0; i < s.deviceCount; ++i) {
    if (&s.devices[i] == dev) return i + 1;
  }
  return 0;
}

// Calls on a handle: the scripted answer, else 0, or -19 (no device) on a
// handle that was reset, like the real library.
int onHandle(const char* call, usb_dev_handle* handle, bool& wasScripted, int a = -1,
             int b = -1, int c = -1) {
  record(call, handle ? handle->device : 0, a, b, c);
  wasScripted = false;
  if (!handle) return -22;
  int result = 0;
  if (scripted(call, result)) {
    wasScripted = true;
    return result;
  }
  return handle->usable ? 0 : -19;
}

}  // namespace

extern "C" {

void fakeusb_clear() {
  State& s = state();
  std::memset(s.busses, 0, sizeof s.busses);
  std::memset(s.devices, 0, sizeof s.devices);
  s.deviceCount = 0;
  s.bussesFound = false;
  s.devicesFound = false;
  s.scripts.clear();
  s.calls.clear();
  s.openHandles = 0;
  s.lastWrite.clear();
}

int fakeusb_add_device(int bus, int vendor, int product) {
  State& s = state();
  if (bus < 0 || bus >= kBusses || s.deviceCount >= kDevices) return 0;
  struct usb_device& dev = s.devices[s.deviceCount];
  std::memset(&dev, 0, sizeof dev);
  std::snprintf(dev.filename, sizeof dev.filename, "%03d", s.deviceCount + 1);
  dev.descriptor.idVendor = static_cast<uint16_t>(vendor);
  dev.descriptor.idProduct = static_cast<uint16_t>(product);
  s.deviceBus[s.deviceCount] = bus;
  return ++s.deviceCount;
}

void fakeusb_script(const char* call, int result, int times) {
  state().scripts.push_back({call, result, times});
}

int fakeusb_call_count() { return static_cast<int>(state().calls.size()); }

const char* fakeusb_call(int index) {
  const std::vector<std::string>& calls = state().calls;
  if (index < 0 || index >= static_cast<int>(calls.size())) return "";
  return calls[static_cast<size_t>(index)].c_str();
}

int fakeusb_open_handles() { return state().openHandles; }

int fakeusb_last_write(unsigned char* out, int max) {
  const std::vector<unsigned char>& bytes = state().lastWrite;
  const int n = std::min(max, static_cast<int>(bytes.size()));
  if (n > 0) std::memcpy(out, bytes.data(), static_cast<size_t>(n));
  return static_cast<int>(bytes.size());
}

void usb_init(void) { record("usb_init"); }

int usb_find_busses(void) {
  record("usb_find_busses");
  state().bussesFound = true;
  relink();
  return kBusses;
}

int usb_find_devices(void) {
  record("usb_find_devices");
  state().devicesFound = true;
  relink();
  return state().deviceCount;
}

struct usb_bus* usb_get_busses(void) {
  record("usb_get_busses");
  return state().bussesFound ? &state().busses[0] : nullptr;
}

usb_dev_handle* usb_open(struct usb_device* dev) {
  const int number = deviceNumber(dev);
  record("usb_open", number);
  int result = 0;
  if (number == 0 || (scripted("usb_open", result) && result < 0)) return nullptr;
  ++state().openHandles;
  return new usb_dev_handle{number, true};
}

int usb_close(usb_dev_handle* dev) {
  record("usb_close", dev ? dev->device : 0);
  if (!dev) return -22;
  int result = 0;
  scripted("usb_close", result);  // the handle is freed whatever the answer
  --state().openHandles;
  delete dev;
  return result;
}

int usb_set_configuration(usb_dev_handle* dev, int configuration) {
  bool wasScripted;
  return onHandle("usb_set_configuration", dev, wasScripted, configuration);
}

int usb_claim_interface(usb_dev_handle* dev, int interface) {
  bool wasScripted;
  return onHandle("usb_claim_interface", dev, wasScripted, interface);
}

int usb_reset(usb_dev_handle* dev) {
  bool wasScripted;
  const int result = onHandle("usb_reset", dev, wasScripted);
  if (dev) dev->usable = false;
  return result;
}

int usb_bulk_write(usb_dev_handle* dev, int ep, const char* bytes, int size, int timeout) {
  bool wasScripted;
  const int result = onHandle("usb_bulk_write", dev, wasScripted, ep, size, timeout);
  if (result < 0 || wasScripted) return result;
  state().lastWrite.assign(bytes, bytes + size);
  return size;
}

int usb_bulk_read(usb_dev_handle* dev, int ep, char* bytes, int size, int timeout) {
  bool wasScripted;
  const int result = onHandle("usb_bulk_read", dev, wasScripted, ep, size, timeout);
  if (result < 0 || wasScripted) return result;
  if (size > 0) bytes[0] = 0x12;
  return size > 0 ? 1 : 0;
}

}  // extern "C"
