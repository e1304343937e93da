// FakeUsb.h - the script of the fake libusb 0.1 used by the USB pipe tests.
//
// The fake exports the libusb 0.1 calls the pipe uses, over busses and
// devices the test adds. Like the real library, usb_get_busses() shows the
// busses only after usb_find_busses() and their devices only after
// usb_find_devices(); usb_reset() leaves the handle unusable until usb_close().
// Every call is recorded as one line ("usb_open 2", "usb_bulk_write 2 2 5 5000").
#pragma once

extern "C" {
// Forgets every bus, device, handle, script and recorded call.
void fakeusb_clear();
// Appends a device to bus `bus` (0..3); its number (1, 2, ...) names it in the calls.
int fakeusb_add_device(int bus, int vendor, int product);
// The next `times` calls of `call` ("usb_open", "usb_bulk_write", ...) answer
// `result` (usb_open: no handle) instead of succeeding.
void fakeusb_script(const char* call, int result, int times);
int fakeusb_call_count();
const char* fakeusb_call(int index);
// Handles opened and not yet closed.
int fakeusb_open_handles();
// The bytes of the last bulk write that succeeded.
int fakeusb_last_write(unsigned char* out, int max);
}
