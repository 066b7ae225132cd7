# SPDX-FileCopyrightText: 2026 The WEQBarCode authors
# SPDX-License-Identifier: MIT

# The release as the latest entry of packaging/changelog (the Debian
# changelog the packages carry) tells it. Its version must be the project's,
# so that a new version cannot be packaged without its entry; its date dates
# the manual pages, so that a rebuild of one release makes the same pages.
# Sets WEQ_RELEASE_EPOCH (seconds) and WEQ_RELEASE_MONTH ("December 2026").
set(weq_changelog ${PROJECT_SOURCE_DIR}/packaging/changelog)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${weq_changelog})
file(STRINGS ${weq_changelog} weq_lines)
list(GET weq_lines 0 weq_heading)
if(NOT weq_heading MATCHES "^[a-z0-9][a-z0-9.+-]* \\(([^)]+)\\) ")
  message(FATAL_ERROR "packaging/changelog does not begin with an entry's heading: ${weq_heading}")
endif()
if(NOT CMAKE_MATCH_1 STREQUAL PROJECT_VERSION)
  message(FATAL_ERROR "packaging/changelog's latest entry is ${CMAKE_MATCH_1}, the project is "
    "${PROJECT_VERSION}: give the new version an entry (dch -v ${PROJECT_VERSION} does)")
endif()
set(weq_release_date)
foreach(weq_line IN LISTS weq_lines)
  # The entry's trailer: " -- Name <address>  Thu, 10 Dec 2026 03:00:00 +0000".
  if(weq_line MATCHES "^ -- .*>  (.+)$")
    set(weq_release_date "${CMAKE_MATCH_1}")
    break()
  endif()
endforeach()
execute_process(COMMAND date -u -d "${weq_release_date}" +%s
  OUTPUT_VARIABLE WEQ_RELEASE_EPOCH OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE weq_status)
if(NOT weq_status EQUAL 0 OR NOT WEQ_RELEASE_EPOCH MATCHES "^[0-9]+$")
  message(FATAL_ERROR "packaging/changelog: no date in the latest entry's trailer (${weq_release_date})")
endif()
# string(TIMESTAMP) tells the time of SOURCE_DATE_EPOCH where it is set.
set(weq_saved_epoch "$ENV{SOURCE_DATE_EPOCH}")
set(ENV{SOURCE_DATE_EPOCH} ${WEQ_RELEASE_EPOCH})
string(TIMESTAMP WEQ_RELEASE_MONTH "%B %Y" UTC)
set(ENV{SOURCE_DATE_EPOCH} "${weq_saved_epoch}")
