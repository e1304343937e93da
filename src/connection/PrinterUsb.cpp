// PrinterUsb.cpp - the printer on USB: configuration 1, interface 0, bulk
// OUT 0x02 and bulk IN 0x81, 5 s time-outs, reset and reopen on a failed write.
#include "connection/PrinterUsb.h"

#include "common/Clock.h"
#include "connection/UsbLibrary.h"
#include "log/Log.h"

namespace {

constexpr int kConfiguration = 1;
constexpr int kInterface = 0;
constexpr int kEndpointOut = 0x02;
constexpr int kEndpointIn = 0x81;
constexpr int kTimeoutMs = 5000;
constexpr int kResetWaitMs = 1000;

// The first device on the busses, in list order, with the printer's ids.
struct usb_device* findPrinter(const UsbLibrary& usb) {
  for (struct usb_bus* bus = usb.getBusses(); bus; bus = bus->next) {
    for (struct usb_device* device = bus->devices; device; device = device->next) {
      if (device->descriptor.idVendor == kUsbVendorId &&
          device->descriptor.idProduct == kUsbProductId) {
        return device;
      }
    }
  }
  return nullptr;
}

}  // namespace

PrinterUsb::~PrinterUsb() {
  // A pipe replaced by a new one lets go of the device, so that the new
  // handle can claim the interface again.
  const UsbLibrary* usb = usbLibrary();
  if (handle_ && usb) usb->close(handle_);
}

void PrinterUsb::resetAndDrop() {
  const UsbLibrary* usb = usbLibrary();
  usb->reset(handle_);
  // A reset handle no longer reaches the device; free it.
  usb->close(handle_);
  handle_ = nullptr;
}

int PrinterUsb::startCommunication() {
  static const char* const kWhere = "PrinterUsb::startCommunication";
  if (handle_) resetAndDrop();

  const UsbLibrary* usb = usbLibrary();
  struct usb_device* device = nullptr;
  if (usb) {
    usb->init();
    usb->findBusses();
    usb->findDevices();
    device = findPrinter(*usb);
    if (device) handle_ = usb->open(device);
  }
  if (!handle_) {
    tq587::log("N\xE3o foi poss\xEDvel abrir o dispositivo.", LOG_ERROR, kWhere, __LINE__);
    return 0;
  }
  tq587::log("Sucesso em abrir o dispositivo usb", LOG_INFO, kWhere, __LINE__);

  // A device that refuses its configuration or interface is closed again.
  auto refuse = [&](const char* message, int line) {
    tq587::log(message, LOG_ERROR, kWhere, line);
    usb->close(handle_);
    handle_ = nullptr;
    return 0;
  };
  if (usb->setConfiguration(handle_, kConfiguration) < 0) {
    return refuse("N\xE3o foi poss\xEDvel abrir configurar dispositivo.", __LINE__);
  }
  tq587::log("Sucesso em configurar o dispositivo usb", LOG_INFO, kWhere, __LINE__);

  if (usb->claimInterface(handle_, kInterface) < 0) {
    return refuse("Erro de estabelecimento de interface usb", __LINE__);
  }
  tq587::log("Sucesso em estabelecer interface com dispositivo usb", LOG_INFO, kWhere, __LINE__);
  return 1;
}

int PrinterUsb::read(uint8_t* bytes, int32_t length) {
  if (!handle_ || !bytes || length <= 0) return 0;
  const UsbLibrary* usb = usbLibrary();
  char* buffer = reinterpret_cast<char*>(bytes);
  // The first read may bring what was left over; the second one counts.
  usb->bulkRead(handle_, kEndpointIn, buffer, length, kTimeoutMs);
  return usb->bulkRead(handle_, kEndpointIn, buffer, length, kTimeoutMs);
}

int PrinterUsb::write(const uint8_t* bytes, int32_t length) {
  if (!bytes || length < 0) return 0;
  if (!handle_ && startCommunication() == 0) return 0;

  const UsbLibrary* usb = usbLibrary();
  // The whole job in one transfer: libusb splits it into packets.
  const int result = usb->bulkWrite(handle_, kEndpointOut, reinterpret_cast<const char*>(bytes),
                                    length, kTimeoutMs);
  if (result >= 0) return result;

  tq587::log("Reiniciando comunica\xE7\xE3o usb.", LOG_INFO, "PrinterUsb::write", __LINE__);
  resetAndDrop();
  tq587::clock().sleep(kResetWaitMs);
  if (startCommunication() == 0) return 0;
  return result;
}

int PrinterUsb::close() {
  static const char* const kWhere = "PrinterUsb::close";
  tq587::log("Encerrando comunica\xE7\xE3o usb", LOG_INFO, kWhere, __LINE__);
  int result = -1;  // nothing held: as a failed close
  if (handle_) {
    result = usbLibrary()->close(handle_);
    handle_ = nullptr;
  }
  if (result < 0) {
    tq587::log("Falha em encerrar comunica\xE7\xE3o usb", LOG_INFO, kWhere, __LINE__);
    return 0;
  }
  tq587::log("Sucesso em encerrar comunica\xE7\xE3o usb", LOG_INFO, kWhere, __LINE__);
  return 1;
}
