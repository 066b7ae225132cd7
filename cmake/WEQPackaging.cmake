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
# "libweqbarcode0.4 (= 0.4.0)" from dpkg-shlibdeps: any other 0.x may differ.
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY "=")

# Every package carries the copyright file in Debian's machine-readable
# format, made here from .reuse/dep5 (which reuse lint holds against the tree)
# and LICENSES/, so that the two cannot disagree: the project's own files
# under MIT, then dep5's paragraphs for the font, the ISBN table, the pictures
# and the test data, then the text of each licence they name.
set(weq_dep5 ${PROJECT_SOURCE_DIR}/.reuse/dep5)
file(GLOB weq_licence_texts ${PROJECT_SOURCE_DIR}/LICENSES/*.txt)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${weq_dep5} ${weq_licence_texts}
  ${PROJECT_SOURCE_DIR}/LICENSES)
file(READ ${weq_dep5} weq_text)
string(FIND "${weq_text}" "\n\n" weq_split)
string(SUBSTRING "${weq_text}" 0 ${weq_split} weq_header)
string(SUBSTRING "${weq_text}" ${weq_split} -1 weq_paragraphs)
string(STRIP "${weq_paragraphs}" weq_paragraphs)
set(weq_copyright "${weq_header}\n\nFiles: *\nCopyright: 2026 The WEQBarCode authors\nLicense: MIT\n\n${weq_paragraphs}\n")
foreach(weq_file IN LISTS weq_licence_texts)
  get_filename_component(weq_id ${weq_file} NAME_WLE)
  file(READ ${weq_file} weq_body)
  # The template's own copyright line is the holders' to fill in, above.
  string(REGEX REPLACE "Copyright \\(c\\) <year> <copyright holders>\n\n" "" weq_body "${weq_body}")
  string(STRIP "${weq_body}" weq_body)
  # A licence paragraph's text is indented by one space, a blank line is " .".
  string(REPLACE "\n" "\n " weq_body "${weq_body}")
  string(REPLACE "\n \n" "\n .\n" weq_body "${weq_body}")
  string(APPEND weq_copyright "\nLicense: ${weq_id}\n ${weq_body}\n")
endforeach()
# Written only when it changed, so that an unchanged file packs nothing anew.
file(WRITE ${CMAKE_BINARY_DIR}/packaging/copyright.new "${weq_copyright}")
configure_file(${CMAKE_BINARY_DIR}/packaging/copyright.new ${CMAKE_BINARY_DIR}/packaging/copyright COPYONLY)

# The library's package has ldconfig run by a trigger, as Debian wants, rather
# than by the maintainer scripts CPack writes; the post-build step takes those
# out again (CPack 3.25 has no switch for it).
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_CONTROL_EXTRA ${PROJECT_SOURCE_DIR}/packaging/triggers)
set(CPACK_POST_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/WEQDebTriggers.cmake)

# weq_deb_package(COMPONENT PACKAGE SECTION SUMMARY [DESCRIPTION text]
#                 [DEPENDS component...] [EXTRA_DEPENDS package...] [ENHANCES package...])
# The summary stays under 80 characters and each line of the description
# under 80 (Debian's limits); a blank line in the description parts paragraphs.
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
  install(FILES ${CMAKE_BINARY_DIR}/packaging/copyright
    DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${package} COMPONENT ${component})
  weq_install_gzipped(${PROJECT_SOURCE_DIR}/packaging/changelog
    ${CMAKE_INSTALL_DATAROOTDIR}/doc/${package} ${component})
endmacro()

# What every package's description says first.
set(weq_about "WEQBarCode draws EAN-13, EAN-8, UPC-A and UPC-E symbols with their add-ons,
and ISBN, ISMN and ISSN numbers, on screen and into PNG, SVG and PDF files,
with the OCR-B digits built in.
")
set(CPACK_COMPONENTS_ALL)
string(TOLOWER "libweqbarcode${WEQ_SOVERSION}" weq_runtime_package)
weq_deb_package(runtime ${weq_runtime_package} libs "EAN/UPC barcodes for Qt 6: shared library"
  DESCRIPTION "${weq_about}
This package holds the shared library: the widgets TWEQBarCode and
WEQ::BarcodeWidget, the value type WEQ::Barcode and the file exports.")
# The API reference's pages link Debian's jQuery (cmake/WEQApiDocs.cmake).
set(weq_dev_depends qt6-base-dev)
set(weq_dev_reference "")
if(WEQ_BUILD_API_DOCS)
  list(APPEND weq_dev_depends libjs-jquery)
  set(weq_dev_reference "
The API reference, in HTML, is under /usr/share/doc/libweqbarcode-dev/html.")
endif()
weq_deb_package(dev libweqbarcode-dev libdevel "EAN/UPC barcodes for Qt 6: development files"
  DESCRIPTION "${weq_about}
This package holds the headers under /usr/include/WEQBarCode and the CMake
package: find_package(WEQBarCode CONFIG) gives the target
WEQBarCode::WEQBarCode.${weq_dev_reference}"
  DEPENDS runtime EXTRA_DEPENDS ${weq_dev_depends})
if(WEQ_BUILD_DESIGNER_PLUGIN)
  weq_deb_package(designer weqbarcode-designer-plugin devel "EAN/UPC barcodes for Qt 6: Qt Designer plugin"
    DESCRIPTION "${weq_about}
This package puts TWEQBarCode and WEQ::BarcodeWidget into the widget box of
Qt Designer (designer-qt6)."
    DEPENDS runtime ENHANCES designer-qt6)
endif()
if(WEQ_BUILD_QML)
  weq_deb_package(qml qml6-module-weqbarcode libs "EAN/UPC barcodes for Qt 6: QML module"
    DESCRIPTION "${weq_about}
This package holds the QML module WEQBarCode with the item type Barcode
(import WEQBarCode)."
    DEPENDS runtime EXTRA_DEPENDS qml6-module-qtquick)
endif()
if(WEQ_BUILD_CLI)
  weq_deb_package(cli weqbarcode graphics "EAN/UPC barcode files in bulk from the command line"
    DESCRIPTION "${weq_about}
This package holds weqbarcode, which writes PNG, SVG and PDF files, or PDF
label sheets, for lists of GTINs and book numbers, checked against GS1's
print rules, with its manual page and bash completion."
    DEPENDS runtime)
endif()
if(WEQ_BUILD_DEMO)
  weq_deb_package(demo weqbarcode-demo graphics "EAN/UPC barcodes for Qt 6: demo window"
    DESCRIPTION "${weq_about}
This package holds WEQBarCodeDemo, a window that edits every property of the
EAN-13 control live, and copies, saves and prints the symbol."
    DEPENDS runtime)
endif()

include(CPack)
