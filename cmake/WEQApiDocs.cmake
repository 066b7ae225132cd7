# SPDX-FileCopyrightText: 2026 The WEQBarCode authors
# SPDX-License-Identifier: MIT

# The API reference (WEQ_BUILD_API_DOCS): Doxygen over the installed headers
# into <build>/docs/api/html, built with everything else, installed with the
# development files. An undocumented public name fails the build.
find_package(Doxygen REQUIRED)

set(WEQ_API_DOCS_DIR ${CMAKE_BINARY_DIR}/docs/api)
set(weq_doc_sources ${PROJECT_SOURCE_DIR}/docs/api.dox)
foreach(header IN LISTS WEQ_PUBLIC_HEADERS)
  list(APPEND weq_doc_sources ${PROJECT_SOURCE_DIR}/${header})
endforeach()
list(JOIN weq_doc_sources " " WEQ_API_DOCS_INPUT)
configure_file(${PROJECT_SOURCE_DIR}/docs/Doxyfile.in ${WEQ_API_DOCS_DIR}/Doxyfile @ONLY)

# Doxygen writes into html/ what it makes and leaves what it made before, so
# the folder is emptied first: a removed class leaves no page behind.
set(weq_docs_stamp ${WEQ_API_DOCS_DIR}/html.stamp)
add_custom_command(OUTPUT ${weq_docs_stamp}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${WEQ_API_DOCS_DIR}/html
  COMMAND Doxygen::doxygen ${WEQ_API_DOCS_DIR}/Doxyfile
  COMMAND ${CMAKE_COMMAND} -E touch ${weq_docs_stamp}
  DEPENDS ${weq_doc_sources} ${WEQ_API_DOCS_DIR}/Doxyfile
  WORKING_DIRECTORY ${WEQ_API_DOCS_DIR}
  COMMENT "API reference (Doxygen)" VERBATIM)
add_custom_target(weq_api_docs ALL DEPENDS ${weq_docs_stamp})

# Installed with the development files, into the -dev package's own doc
# folder. The pages need jQuery alone (docs/Doxyfile.in); under /usr, as in
# the Debian package, jquery.js is a link to Debian's libjs-jquery, which
# that package then depends on, rather than a second copy of the library.
# Any other prefix gets Doxygen's copy, so that the pages work wherever they
# were put.
set(WEQ_API_DOCS_INSTALL_DIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/libweqbarcode-dev/html)
set(WEQ_SYSTEM_JQUERY /usr/share/javascript/jquery/jquery.js)
install(DIRECTORY ${WEQ_API_DOCS_DIR}/html/ DESTINATION ${WEQ_API_DOCS_INSTALL_DIR} COMPONENT dev
  PATTERN jquery.js EXCLUDE)
# (file(INSTALL) adds DESTDIR itself; file(CREATE_LINK) does not.)
install(CODE "
  set(weq_html \"\${CMAKE_INSTALL_PREFIX}/${WEQ_API_DOCS_INSTALL_DIR}\")
  if(CMAKE_INSTALL_PREFIX STREQUAL \"/usr\")
    set(weq_html \"\$ENV{DESTDIR}\${weq_html}\")
    # Relative, as Debian wants a link within /usr.
    file(RELATIVE_PATH weq_link \"/usr/${WEQ_API_DOCS_INSTALL_DIR}\" \"${WEQ_SYSTEM_JQUERY}\")
    message(STATUS \"Installing: \${weq_html}/jquery.js -> \${weq_link}\")
    file(REMOVE \"\${weq_html}/jquery.js\")
    file(CREATE_LINK \"\${weq_link}\" \"\${weq_html}/jquery.js\" SYMBOLIC)
  else()
    file(INSTALL \"${WEQ_API_DOCS_DIR}/html/jquery.js\" DESTINATION \"\${weq_html}\")
  endif()" COMPONENT dev)
