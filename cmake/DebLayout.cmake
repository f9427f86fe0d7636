# Run by CPack on the staged install, before the package is made: Debian keeps
# games in /usr/games rather than /usr/bin. The game looks for its data at
# ../share/tumblewell from its own folder, which /usr/games/.. still is.
set(usr ${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX})
file(GLOB programs ${usr}/bin/*)
if(NOT programs STREQUAL "${usr}/bin/tumblewell")
  message(FATAL_ERROR "Expected the game alone in ${usr}/bin, found: ${programs}")
endif()
# The folder moves whole, keeping the permissions the install gave it.
file(RENAME ${usr}/bin ${usr}/games)

# Stripped as dh_strip does it: the symbols and debugging information, and the
# compiler's notes nothing reads at run time.
if(NOT CPACK_TW_STRIP)
  message(FATAL_ERROR "No strip program was found when the build was configured")
endif()
execute_process(COMMAND ${CPACK_TW_STRIP} --remove-section=.comment --remove-section=.note --strip-unneeded
                        ${usr}/games/tumblewell
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "Stripping ${usr}/games/tumblewell failed")
endif()
