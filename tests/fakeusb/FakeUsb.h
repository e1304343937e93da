// FakeUsb.h - the script of the fake libusb 0.1 used by the USB pipe tests.
//
// The fake exports the libusb 0.1 calls the pipe uses, over busses and
// devices the test adds; usb_reset() leaves the handle unusable until
// usb_close(). Every call is recorded as one line ("usb_open 2",
// "usb_bulk_write 2 2 3 5000 1B 40 0A": handle, endpoint, size, time-out, bytes).
#pragma once

extern "C" {
// Forgets every bus, device, script and recorded call.
void fakeusb_clear();
// Appends a device to bus `bus` (0..3); its number (1, 2, ...) names it in the calls.
void fakeusb_add_device(int bus, int vendor, int product);
// The next call of `call` ("usb_open", "usb_bulk_write", ...) answers
// `result` instead of succeeding (usb_open: no handle).
void fakeusb_script(const char* call, int result);
// The calls recorded since the last clear, one a line.
const char* fakeusb_calls();
}
