# SPDX-FileCopyrightText: 2026 The WEQBarCode authors
# SPDX-License-Identifier: MIT

# Debian packages, one per install component, made by `cpack -G DEB` in a
# build configured with CMAKE_INSTALL_PREFIX=/usr (scripts/package does so).
#
# A new part takes COMPONENT <name> on its install() rules and one line here,
# for instance a QML module or a command-line program:
#   weq_deb_package(qml qml6-module-weqbarcode libs "QML module" DEPENDS runtime)
#   weq_deb_package(cli weqbarcode graphics "Command-line program" DEPENDS runtime)

set(CPACK_PACKAGE_NAME weqbarcode)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "WEQBarCode maintainers <maintainers@users.noreply.c-seed-1250d3f3.example>")
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/packages)
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_STRIP_FILES ON)

set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Depends from the ELF files through dpkg-shlibdeps. It finds our own library
# in the build tree but knows no package for it; the component dependencies
# name that one, at exactly this version.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_BINARY_DIR})
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
# A shlibs file for the runtime package, so that packages built against it get
# "libweqbarcode0.3 (= 0.3.0)" from dpkg-shlibdeps: any other 0.x may differ.
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY "=")

# weq_deb_package(COMPONENT PACKAGE SECTION SUMMARY [DESCRIPTION text]
#                 [DEPENDS component...] [EXTRA_DEPENDS package...] [ENHANCES package...])
macro(weq_deb_package component package section summary)
  cmake_parse_arguments(weq_arg "" "DESCRIPTION" "DEPENDS;EXTRA_DEPENDS;ENHANCES" ${ARGN})
  string(TOUPPER ${component} weq_c)
  set(CPACK_DEBIAN_${weq_c}_PACKAGE_NAME ${package})
  set(CPACK_DEBIAN_${weq_c}_PACKAGE_SECTION ${section})
  set(CPACK_DEBIAN_${weq_c}_DESCRIPTION "${summary}\n${weq_arg_DESCRIPTION}")
  set(CPACK_COMPONENT_${weq_c}_DEPENDS ${weq_arg_DEPENDS})
  list(JOIN weq_arg_EXTRA_DEPENDS ", " CPACK_DEBIAN_${weq_c}_PACKAGE_DEPENDS)
  list(JOIN weq_arg_ENHANCES ", " CPACK_DEBIAN_${weq_c}_PACKAGE_ENHANCES)
  list(APPEND CPACK_COMPONENTS_ALL ${component})
endmacro()

set(CPACK_COMPONENTS_ALL)
string(TOLOWER "libweqbarcode${WEQ_SOVERSION}" weq_runtime_package)
weq_deb_package(runtime ${weq_runtime_package} libs "EAN-13 barcode control for Qt 6 Widgets"
  DESCRIPTION "The shared library: the TWEQBarCode widget, symbol drawing and export, with the OCR-B digits built in.")
weq_deb_package(dev libweqbarcode-dev libdevel "EAN-13 barcode control for Qt 6 Widgets: development files"
  DESCRIPTION "Headers under include/WEQBarCode/ and the CMake package: find_package(WEQBarCode CONFIG)."
  DEPENDS runtime EXTRA_DEPENDS qt6-base-dev)
if(WEQ_BUILD_DESIGNER_PLUGIN)
  weq_deb_package(designer weqbarcode-designer-plugin devel "EAN-13 barcode widgets for Qt Designer"
    DESCRIPTION "Puts TWEQBarCode and WEQ::BarcodeWidget into the widget box of Qt Designer (designer-qt6)."
    DEPENDS runtime ENHANCES designer-qt6)
endif()
if(WEQ_BUILD_QML)
  weq_deb_package(qml qml6-module-weqbarcode libs "EAN-13 barcode item for QML"
    DESCRIPTION "The QML module WEQBarCode with the type Barcode: import WEQBarCode."
    DEPENDS runtime EXTRA_DEPENDS qml6-module-qtquick)
endif()
if(WEQ_BUILD_CLI)
  weq_deb_package(cli weqbarcode graphics "EAN/UPC barcode files in bulk from the command line"
    DESCRIPTION "weqbarcode writes PNG, SVG and PDF files, or PDF label sheets, for lists of GTINs."
    DEPENDS runtime)
endif()
if(WEQ_BUILD_DEMO)
  weq_deb_package(demo weqbarcode-demo graphics "Demo window of the EAN-13 barcode control"
    DESCRIPTION "WEQBarCodeDemo edits every property of the control live, and saves and prints the symbol."
    DEPENDS runtime)
endif()

include(CPack)
