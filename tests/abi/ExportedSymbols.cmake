# SPDX-FileCopyrightText: 2026 The WEQBarCode authors
# SPDX-License-Identifier: MIT

# cmake -DNM=nm -DLIBRARY=libWEQBarCode.so -DEXPECTED=symbols.txt -P ExportedSymbols.cmake
# Fails unless the shared library exports exactly the symbols of its
# installed headers, as listed in symbols.txt: nothing of its internals, and
# nothing of the API missing. Besides them the library can only avoid
# exporting what the standard library's and Qt's own headers mark visible:
# instantiations of their templates, which carry those libraries' visibility.
set(noise
  "^W (void |bool |int )?(Q[A-Za-z0-9_]*|std)::"
  # Unique symbols are inline variables, defined in headers by their nature
  # (a sanitizer build exports the API's own constants this way).
  "^u "
  "^V typeinfo( name)? for Q[A-Za-z0-9_]*$"
  # A shared pointer's control block is a polymorphic class of the standard library's.
  "^V typeinfo( name)? for std::_(Sp_[A-Za-z_]+|Mutex_base)(<[^>]*>)?$"
  # AddressSanitizer's one-definition markers of the exported variables.
  "^B __odr_asan"
  "^[BD] (__bss_start|_edata|_end)$")

execute_process(COMMAND ${NM} -D -C --defined-only ${LIBRARY}
  OUTPUT_VARIABLE listing RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${NM} failed on ${LIBRARY}")
endif()
string(REPLACE "std::__cxx11::basic_string<char, std::char_traits<char>, std::allocator<char> >" "std::string"
  listing "${listing}")
# Semicolons would split the list.
string(REPLACE ";" "<semicolon>" listing "${listing}")
string(REGEX REPLACE "\n$" "" listing "${listing}")
string(REPLACE "\n" ";" lines "${listing}")
set(exported)
foreach(line IN LISTS lines)
  string(REGEX REPLACE "^[0-9a-f]+ " "" symbol "${line}")
  set(is_noise FALSE)
  foreach(pattern IN LISTS noise)
    if(symbol MATCHES "${pattern}")
      set(is_noise TRUE)
      break()
    endif()
  endforeach()
  if(NOT is_noise)
    list(APPEND exported "${symbol}")
  endif()
endforeach()
list(REMOVE_DUPLICATES exported)

file(STRINGS ${EXPECTED} expected)
list(FILTER expected EXCLUDE REGEX "^#")
set(stray ${exported})
list(REMOVE_ITEM stray ${expected})
set(missing ${expected})
list(REMOVE_ITEM missing ${exported})
set(report)
foreach(symbol IN LISTS stray)
  string(APPEND report "\n  exported, not in the installed headers' list: ${symbol}")
endforeach()
foreach(symbol IN LISTS missing)
  string(APPEND report "\n  in the list, not exported: ${symbol}")
endforeach()
if(report)
  message(FATAL_ERROR "${LIBRARY} does not export exactly its API:${report}")
endif()
list(LENGTH exported count)
message(STATUS "${count} exported symbols, exactly those of ${EXPECTED}")
