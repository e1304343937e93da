// FakeUsb.cpp - a fake libusb 0.1 with scripted busses, devices and results.
#include "FakeUsb.h"

#include <usb.h>

#include <cstdio>
#include <map>
#include <string>

// A device's number and whether the handle still reaches it (not after a reset).
struct usb_dev_handle { int device; bool usable; };

namespace {

struct State {
  usb_bus busses[4];
  struct usb_device devices[16];
  int deviceCount = 0;
  std::map<std::string, int> scripts;  // call -> its next answer
  std::string calls;
};
State s;

// Records a call and its numbers; answers its script once, else passed.
int record(const char* call, int passed, std::initializer_list<int> numbers = {}) {
  s.calls += call;
  for (int n : numbers) s.calls += " " + std::to_string(n);
  s.calls += "\n";
  if (auto script = s.scripts.extract(call)) return script.mapped();
  return passed;
}

// What a call on a handle answers: -19 (no device, like the real library) once it was reset.
int onHandle(usb_dev_handle* handle, int passed) { return handle->usable ? passed : -19; }

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
  struct usb_device** last = &s.busses[bus].devices;
  while (*last) last = &(*last)->next;
  *last = &dev;
}

void fakeusb_script(const char* call, int result) { s.scripts[call] = result; }
const char* fakeusb_calls() { return s.calls.c_str(); }

void usb_init(void) { record("usb_init", 0); }
int usb_find_busses(void) { return record("usb_find_busses", 4); }
int usb_find_devices(void) { return record("usb_find_devices", s.deviceCount); }
struct usb_bus* usb_get_busses(void) { return record("usb_get_busses", 0), &s.busses[0]; }

usb_dev_handle* usb_open(struct usb_device* dev) {
  const int number = static_cast<int>(dev - s.devices) + 1;
  return record("usb_open", 0, {number}) == 0 ? new usb_dev_handle{number, true} : nullptr;
}

int usb_close(usb_dev_handle* dev) {
  const int result = record("usb_close", 0, {dev->device});
  delete dev;  // freed whatever the answer
  return result;
}

int usb_set_configuration(usb_dev_handle* dev, int configuration) {
  return record("usb_set_configuration", onHandle(dev, 0), {dev->device, configuration});
}

int usb_claim_interface(usb_dev_handle* dev, int interface) {
  return record("usb_claim_interface", onHandle(dev, 0), {dev->device, interface});
}

int usb_reset(usb_dev_handle* dev) {
  dev->usable = false;
  return record("usb_reset", 0, {dev->device});
}

int usb_bulk_write(usb_dev_handle* dev, int ep, const char* bytes, int size, int timeout) {
  const int result = record("usb_bulk_write", onHandle(dev, size), {dev->device, ep, size, timeout});
  s.calls.pop_back();  // the bytes follow on the same line
  char hex[4];
  for (int i = 0; i < size; ++i) s.calls += (std::snprintf(hex, 4, " %02X", bytes[i] & 0xFF), hex);
  s.calls += "\n";
  return result;
}

// The printer sends nothing unasked: a read waits out its time-out.
int usb_bulk_read(usb_dev_handle* dev, int ep, char*, int size, int timeout) {
  return record("usb_bulk_read", onHandle(dev, -110), {dev->device, ep, size, timeout});
}

}  // extern "C"
