/* usb.h - the part of libusb-win32's 0.1 interface that the USB pipe uses.
 *
 * libusb-win32 ships no header with Debian's mingw-w64, and its layout is not
 * the Linux one: every structure is byte-packed and paths hold 512 bytes. The
 * calls are cdecl, as declared in UsbLibrary.h. CMake puts this folder on
 * the include path of the win32 family only.
 */
#pragma once

/* <windows.h> defines interface as a keyword; the libusb calls name a
 * parameter so. */
#ifdef interface
#undef interface
#endif

#define LIBUSB_PATH_MAX 512

#pragma pack(push, 1)

struct usb_config_descriptor;

struct usb_device_descriptor {
  unsigned char bLength;
  unsigned char bDescriptorType;
  unsigned short bcdUSB;
  unsigned char bDeviceClass;
  unsigned char bDeviceSubClass;
  unsigned char bDeviceProtocol;
  unsigned char bMaxPacketSize0;
  unsigned short idVendor;
  unsigned short idProduct;
  unsigned short bcdDevice;
  unsigned char iManufacturer;
  unsigned char iProduct;
  unsigned char iSerialNumber;
  unsigned char bNumConfigurations;
};

struct usb_bus;

struct usb_device {
  struct usb_device *next, *prev;
  char filename[LIBUSB_PATH_MAX];
  struct usb_bus* bus;
  struct usb_device_descriptor descriptor;
  struct usb_config_descriptor* config;
  void* dev;
  unsigned char devnum;
  unsigned char num_children;
  struct usb_device** children;
};

struct usb_bus {
  struct usb_bus *next, *prev;
  char dirname[LIBUSB_PATH_MAX];
  struct usb_device* devices;
  unsigned long location;
  struct usb_device* root_dev;
};

#pragma pack(pop)

struct usb_dev_handle;
typedef struct usb_dev_handle usb_dev_handle;
