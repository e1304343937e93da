// serial_port_linux.cpp - Linux's serial devices: COM<n> is /dev/ttyS<n-1>.
#include "sdk/serial/SerialPlatform.h"

namespace SDK {
namespace serial_platform {

std::string systemDevicePath(int32_t port) { return "/dev/ttyS" + std::to_string(port - 1); }

}  // namespace serial_platform
}  // namespace SDK
