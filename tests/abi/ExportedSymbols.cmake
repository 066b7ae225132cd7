# cmake -DNM=nm -DLIBRARY=libWEQBarCode.so -P ExportedSymbols.cmake
# Fails when the shared library exports anything beyond its API: every dynamic
# symbol it defines must belong to an exported class, function or namespace.
# Symbols of internals or of instantiated templates mean that default
# visibility came back somewhere.
set(allowed
  "^[TDBR] (WEQEan|WEQOcrB)::"                       # functions and variables
  "^[TDBu] (TCanvas|TBitmap|TWEQBarCode|WEQ::[A-Za-z]+)::" # members, the inline static too
  "^T StrToInt(Def)?\\("
  # Internals the tests reach for, declared only in headers that are not installed.
  "^T MeasureTextInk\\("
  "^V (typeinfo|typeinfo name|vtable) for (TCanvas|TBitmap|TWEQBarCode|WEQ::[A-Za-z]+|Exception|EConvertError)$"
  "^T non-virtual thunk to (TWEQBarCode|WEQ::[A-Za-z]+)::"
  # One copy per process of a static inside an inline standard template.
  "^u std::"
  # Unoptimised builds keep out-of-line copies of inline code from Qt's and the
  # standard library's headers, which carry those libraries' own visibility.
  "^W (void |bool |int )?(Q[A-Za-z0-9_]*|std)::"
  "^V typeinfo( name)? for Q[A-Za-z0-9_]*$"
  # AddressSanitizer's one-definition markers of the exported variables.
  "^B __odr_asan\\._ZN[0-9]+(WEQEan|WEQOcrB|WEQ|TCanvas|TBitmap|TWEQBarCode)"
  "^[BD] (__bss_start|_edata|_end)$")

execute_process(COMMAND ${NM} -D -C --defined-only ${LIBRARY}
  OUTPUT_VARIABLE listing RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${NM} failed on ${LIBRARY}")
endif()
string(REGEX REPLACE "\n$" "" listing "${listing}")
string(REPLACE "\n" ";" lines "${listing}")
set(count 0)
set(stray)
foreach(line IN LISTS lines)
  string(REGEX REPLACE "^[0-9a-f]+ " "" symbol "${line}")
  math(EXPR count "${count} + 1")
  set(ok FALSE)
  foreach(pattern IN LISTS allowed)
    if(symbol MATCHES "${pattern}")
      set(ok TRUE)
      break()
    endif()
  endforeach()
  if(NOT ok)
    string(APPEND stray "\n  ${symbol}")
  endif()
endforeach()
if(stray)
  message(FATAL_ERROR "exported but not part of the API:${stray}")
endif()
if(count LESS 50)
  message(FATAL_ERROR "only ${count} exported symbols: is the API marked WEQBARCODE_EXPORT?")
endif()
message(STATUS "${count} exported symbols, all of the API")
