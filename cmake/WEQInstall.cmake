# SPDX-FileCopyrightText: 2026 The WEQBarCode authors
# SPDX-License-Identifier: MIT

# Where the parts of the project are installed, relative to the prefix.

# Designer's plugin folder in Qt's own layout (lib/x86_64-linux-gnu/qt6/plugins
# on Debian), so that a Debian package puts the plugin where Designer looks.
if(DEFINED QT6_INSTALL_PLUGINS)
  set(weq_default_plugindir ${QT6_INSTALL_PLUGINS})
else()
  set(weq_default_plugindir ${CMAKE_INSTALL_LIBDIR}/qt6/plugins)
endif()
set(WEQ_INSTALL_PLUGINDIR ${weq_default_plugindir} CACHE PATH
  "Qt plugin folder, relative to the prefix")

# weq_public_headers(TARGET HEADER...): installs the headers under
# include/WEQBarCode/ and makes both <WEQBarCode/ean/WEQEan.h> and
# <ean/WEQEan.h> reach them, in the build tree as once installed: a program
# built against TARGET sees these headers and no other of the library's.
function(weq_public_headers target)
  set(forward ${CMAKE_CURRENT_BINARY_DIR}/include)
  foreach(header IN LISTS ARGN)
    get_filename_component(dir ${header} DIRECTORY)
    install(FILES ${header} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/WEQBarCode/${dir} COMPONENT dev)
    file(CONFIGURE OUTPUT ${forward}/WEQBarCode/${header}
      CONTENT "#include \"${CMAKE_CURRENT_SOURCE_DIR}/${header}\"\n")
  endforeach()
  # The Qt-style classes are reached as Qt's are, <WEQBarCode/Barcode.h>,
  # each a header of one include beside the folders of the rest.
  foreach(top IN ITEMS control/Barcode.h control/BarcodeWidget.h control/LabelTemplate.h)
    get_filename_component(name ${top} NAME)
    set(file ${CMAKE_CURRENT_BINARY_DIR}/include-top/WEQBarCode/${name})
    # The licence tags spelled apart, so that this file's own tags stay the only ones here.
    set(spdx "SPDX")
    file(CONFIGURE OUTPUT ${file} CONTENT "// ${spdx}-FileCopyrightText: 2026 The WEQBarCode authors\n// ${spdx}-License-Identifier: MIT\n#include \"${top}\"\n")
    install(FILES ${file} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/WEQBarCode COMPONENT dev)
    file(CONFIGURE OUTPUT ${forward}/WEQBarCode/${name} CONTENT "#include \"${CMAKE_CURRENT_SOURCE_DIR}/${top}\"\n")
  endforeach()
  target_include_directories(${target} PUBLIC
    $<BUILD_INTERFACE:${forward}>
    $<BUILD_INTERFACE:${forward}/WEQBarCode>
    $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}/WEQBarCode>
    $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)
endfunction()

# weq_runpath_to_libdir(TARGET DESTINATION): the installed TARGET finds the
# installed library from DESTINATION (relative to the prefix) wherever the
# prefix is moved: $ORIGIN plus the way from there to the library folder.
function(weq_runpath_to_libdir target destination)
  file(RELATIVE_PATH way ${CMAKE_INSTALL_PREFIX}/${destination} ${CMAKE_INSTALL_FULL_LIBDIR})
  set_target_properties(${target} PROPERTIES INSTALL_RPATH "$ORIGIN/${way}")
endfunction()

# weq_install_gzipped(SOURCE DESTINATION COMPONENT [DEPENDS target...]):
# installs SOURCE (of the tree or made by the build) into DESTINATION
# compressed as Debian wants manual pages and changelogs: gzip -9n, with no
# name or time in the header, so that the same text packs the same bytes.
function(weq_install_gzipped source destination component)
  cmake_parse_arguments(weq_arg "" "" "DEPENDS" ${ARGN})
  get_filename_component(name ${source} NAME)
  set(gzipped ${CMAKE_CURRENT_BINARY_DIR}/gzipped/${component}/${name}.gz)
  add_custom_command(OUTPUT ${gzipped}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/gzipped/${component}
    COMMAND sh -c "gzip -9n < \"$1\" > \"$2\"" sh ${source} ${gzipped}
    DEPENDS ${source} ${weq_arg_DEPENDS} VERBATIM)
  string(MAKE_C_IDENTIFIER "weq_gzip_${component}_${name}" target)
  add_custom_target(${target} ALL DEPENDS ${gzipped})
  install(FILES ${gzipped} DESTINATION ${destination} COMPONENT ${component})
endfunction()
