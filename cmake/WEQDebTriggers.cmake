# SPDX-FileCopyrightText: 2026 The WEQBarCode authors
# SPDX-License-Identifier: MIT

# Run by cpack after it made the packages (CPACK_POST_BUILD_SCRIPTS). CPack
# gives a package with a shared library in /usr/lib a postinst and a postrm
# that call ldconfig; a package whose triggers file activates ldconfig needs
# neither, and Debian asks for the trigger alone. Those two scripts, exactly
# as CPack writes them, are taken out of such a package; any other script
# stops the build, since it would be someone's own.
foreach(deb IN LISTS CPACK_PACKAGE_FILES)
  if(NOT deb MATCHES "\\.deb$")
    continue()
  endif()
  set(tree ${deb}.tree)
  file(REMOVE_RECURSE ${tree})
  execute_process(COMMAND dpkg-deb --raw-extract ${deb} ${tree} COMMAND_ERROR_IS_FATAL ANY)
  set(triggers "")
  if(EXISTS ${tree}/DEBIAN/triggers)
    file(READ ${tree}/DEBIAN/triggers triggers)
  endif()
  if(triggers MATCHES "(^|\n)activate-noawait ldconfig\n")
    foreach(script postinst postrm)
      set(phase configure)
      if(script STREQUAL "postrm")
        set(phase remove)
      endif()
      if(EXISTS ${tree}/DEBIAN/${script})
        file(READ ${tree}/DEBIAN/${script} text)
        if(NOT text STREQUAL "#!/bin/sh\n\nset -e\n\nif [ \"$1\" = \"${phase}\" ]; then\n\tldconfig\nfi\n")
          message(FATAL_ERROR "${deb}: ${script} is not CPack's ldconfig call; it is left to its author")
        endif()
        file(REMOVE ${tree}/DEBIAN/${script})
      endif()
    endforeach()
    execute_process(COMMAND dpkg-deb --root-owner-group -Zgzip --build ${tree} ${deb}
      OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
  endif()
  file(REMOVE_RECURSE ${tree})
endforeach()
