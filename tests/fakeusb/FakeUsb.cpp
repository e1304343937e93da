// FakeUsb.cpp - a fake libusb 0.1 with scripted busses, devices and results.
#include "FakeUsb.h"

#include <usb.h>

#include <cstdio>
#include <map>
#include <string>

struct usb_dev_handle {
  int device;
  bool usable;
};

namespace {

struct State {
  usb_bus busses[4];
  struct usb_device devices[16];
  int deviceCount = 0;
  std::map<std::string, int> scripts;  // call -> its next answer
  std::string calls;
};
State s;

void record(const char* call, int a = -1, int b = -1, int c = -1, int d = -1) {
  s.calls += call;
  for (int value : {a, b, c, d})
    if (value != -1) s.calls += " " + std::to_string(value);
  s.calls += "\n";
}

// A call on a handle, recorded: its scripted answer once, -19 (no device,
// like the real library) on a handle that was reset, else `passed`.
int answer(const char* call, usb_dev_handle* handle, int passed, int a = -1, int b = -1, int c = -1) {
  record(call, handle->device, a, b, c);
  const auto found = s.scripts.find(call);
  if (found == s.scripts.end()) return handle->usable ? passed : -19;
  const int result = found->second;
  s.scripts.erase(found);
  return result;
}

}  // namespace

extern "C" {

void fakeusb_clear() {
  s = State{};
  for (int b = 0; b < 3; ++b) s.busses[b].next = &s.busses[b + 1];
}

void fakeusb_add_device(int bus, int vendor, int product) {
  struct usb_device& dev = s.devices[s.deviceCount++];
  dev.descriptor.idVendor = static_cast<uint16_t>(vendor);
  dev.descriptor.idProduct = static_cast<uint16_t>(product);
  dev.bus = &s.busses[bus];
  struct usb_device** last = &s.busses[bus].devices;
  while (*last) last = &(*last)->next;
  *last = &dev;
}

void fakeusb_script(const char* call, int result) { s.scripts[call] = result; }
const char* fakeusb_calls() { return s.calls.c_str(); }

void usb_init(void) { record("usb_init"); }
int usb_find_busses(void) { return record("usb_find_busses"), 4; }
int usb_find_devices(void) { return record("usb_find_devices"), s.deviceCount; }
struct usb_bus* usb_get_busses(void) { return record("usb_get_busses"), &s.busses[0]; }

usb_dev_handle* usb_open(struct usb_device* dev) {
  const int number = static_cast<int>(dev - s.devices) + 1;
  record("usb_open", number);
  if (s.scripts.erase("usb_open")) return nullptr;
  return new usb_dev_handle{number, true};
}

int usb_close(usb_dev_handle* dev) {
  const int result = answer("usb_close", dev, 0);
  delete dev;  // freed whatever the answer
  return result == -19 ? 0 : result;
}

int usb_set_configuration(usb_dev_handle* dev, int configuration) {
  return answer("usb_set_configuration", dev, 0, configuration);
}

int usb_claim_interface(usb_dev_handle* dev, int interface) {
  return answer("usb_claim_interface", dev, 0, interface);
}

int usb_reset(usb_dev_handle* dev) {
  const int result = answer("usb_reset", dev, 0);
  dev->usable = false;
  return result;
}

int usb_bulk_write(usb_dev_handle* dev, int ep, const char* bytes, int size, int timeout) {
  const int result = answer("usb_bulk_write", dev, size, ep, size, timeout);
  s.calls.pop_back();  // the bytes follow on the same line
  char hex[4];
  for (int i = 0; i < size; ++i) s.calls += (std::snprintf(hex, 4, " %02X", bytes[i] & 0xFF), hex);
  s.calls += "\n";
  return result;
}

// The printer sends nothing unasked: a read waits out its time-out.
int usb_bulk_read(usb_dev_handle* dev, int ep, char*, int size, int timeout) {
  return answer("usb_bulk_read", dev, -110, ep, size, timeout);
}

}  // extern "C"
