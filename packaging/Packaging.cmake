# Packaging.cmake - what `cmake --install` puts where, the pkg-config file,
# and the Debian package (cpack -G DEB). Included by the top-level
# CMakeLists.txt on systems other than Windows; the Windows zip is
# scripts/package-windows.sh.
include(GNUInstallDirs)

# The library, versioned: libTQ587.so -> libTQ587.so.1 -> libTQ587.so.1.0.0.
install(TARGETS TQ587 LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} NAMELINK_COMPONENT Unspecified)
install(FILES ${CMAKE_SOURCE_DIR}/include/tq587.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})

# pkg-config --cflags --libs tq587
set(TQ587_PC_LIBDIR ${CMAKE_INSTALL_FULL_LIBDIR})
set(TQ587_PC_INCLUDEDIR ${CMAKE_INSTALL_FULL_INCLUDEDIR})
configure_file(${CMAKE_CURRENT_LIST_DIR}/tq587.pc.in ${CMAKE_BINARY_DIR}/tq587.pc @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/tq587.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

# The udev rule of the printer on USB: /lib/udev/rules.d for a system
# install (the package), under the prefix otherwise.
if(CMAKE_INSTALL_PREFIX STREQUAL "/usr")
  set(TQ587_UDEV_RULES_DIR /lib/udev/rules.d)
else()
  set(TQ587_UDEV_RULES_DIR ${CMAKE_INSTALL_PREFIX}/lib/udev/rules.d)
endif()
install(FILES ${CMAKE_CURRENT_LIST_DIR}/60-tq587.rules DESTINATION ${TQ587_UDEV_RULES_DIR})

# The declarations for other languages, the mark-up reference and the
# package's copyright and changelog (in doc/tq587, the package's name).
set(TQ587_DOCDIR ${CMAKE_INSTALL_DATADIR}/doc/tq587)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/bindings DESTINATION ${CMAKE_INSTALL_DATADIR}/tq587)
install(FILES ${CMAKE_SOURCE_DIR}/docs/markup.md ${CMAKE_SOURCE_DIR}/README.md
              ${CMAKE_CURRENT_LIST_DIR}/copyright
        DESTINATION ${TQ587_DOCDIR})
file(WRITE ${CMAKE_BINARY_DIR}/changelog
  "tq587 (${PROJECT_VERSION}) stable; urgency=low\n\n"
  "  * Release ${PROJECT_VERSION}.\n\n"
  " -- TQ587 maintainers <maintainers@users.noreply.c-seed-ab257c65.example>  Sun, 06 Dec 2026 12:00:00 +0000\n")
find_program(TQ587_GZIP gzip)
if(TQ587_GZIP)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/changelog.gz
    COMMAND ${TQ587_GZIP} -9nc ${CMAKE_BINARY_DIR}/changelog > ${CMAKE_BINARY_DIR}/changelog.gz
    DEPENDS ${CMAKE_BINARY_DIR}/changelog VERBATIM)
  add_custom_target(tq587_changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/changelog.gz)
  install(FILES ${CMAKE_BINARY_DIR}/changelog.gz DESTINATION ${TQ587_DOCDIR})
endif()

# The tools, and the libusb stand-in in a folder of its own, where it can
# never stand in for the system's libusb unless LD_LIBRARY_PATH says so.
if(TARGET tq587)
  install(TARGETS tq587 tq587-virtual-printer RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(TARGETS tq587_usb_standin LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}/tq587 NAMELINK_SKIP)
endif()

# cpack -G DEB
set(CPACK_PACKAGE_NAME tq587)
set(CPACK_PACKAGE_VENDOR "TQ587 driver developers")
set(CPACK_PACKAGE_CONTACT "TQ587 maintainers <maintainers@users.noreply.c-seed-ab257c65.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "driver library of the TQ587 thermal receipt printer")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
  "libTQ587.so prints marked-up text, BMP pictures, barcodes and QR codes\n"
  "on the TQ587 receipt printer on a serial port or USB, kicks its drawer\n"
  "and keeps its settings in CONVERSOR.INI. With its header, pkg-config\n"
  "file, bindings for C#, Python and Pascal, the tq587 command-line tool\n"
  "and tq587-virtual-printer, which plays the printer on a pseudo-terminal\n"
  "and draws every receipt it receives.")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The shlibs of libTQ587 alone: the libusb stand-in is no library for others.
file(WRITE ${CMAKE_BINARY_DIR}/shlibs "libTQ587 ${PROJECT_VERSION_MAJOR} tq587 (>= ${PROJECT_VERSION})\n")
# libusb 0.1 is loaded when the printer is looked for on USB, not linked;
# the virtual printer draws with this font.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libusb-0.1-4, fonts-dejavu-core")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
  ${CMAKE_CURRENT_LIST_DIR}/postinst ${CMAKE_CURRENT_LIST_DIR}/triggers ${CMAKE_BINARY_DIR}/shlibs)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)
set(CPACK_GENERATOR DEB)
include(CPack)
