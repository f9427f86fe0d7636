# The Debian package: `make package` (or `cmake --build build --target package`)
# writes tumblewell_<version>_<arch>.deb into the build folder. CPack makes it
# from the same install rules `cmake --install` uses, into /usr; the binary then
# moves to /usr/games (see DebLayout.cmake), where Debian keeps games.
#
# Debian packages only make sense for a Linux build (not, say, a WebAssembly one).
if(NOT CMAKE_SYSTEM_NAME STREQUAL "Linux")
  return()
endif()

# Folders the install creates on the way get 755 whatever the umask of whoever
# builds: a package made under umask 002 must not ship group-writable folders.
# (Set at the top level, it reaches the install scripts of every folder.)
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(TW_MAINTAINER "The Tumblewell project <maintainers@tumblewell.org>")

# Every Debian package carries its copyright and changelog in
# /usr/share/doc/<package>; a plain install gets them too. The package is
# native (its version has no Debian revision), so the changelog is
# changelog.gz. The newest entry is written for PROJECT_VERSION on
# TW_RELEASE_DATE: give a new version its own entry in packaging/changelog.in.
execute_process(COMMAND date -u -R -d "${TW_RELEASE_DATE} 12:00"
  OUTPUT_VARIABLE TW_RELEASE_DATE_RFC2822 OUTPUT_STRIP_TRAILING_WHITESPACE
  RESULT_VARIABLE tw_date_result)
if(NOT tw_date_result EQUAL 0)
  message(FATAL_ERROR "TW_RELEASE_DATE (${TW_RELEASE_DATE}) is not a date `date -d` reads")
endif()
set(TW_CHANGELOG ${CMAKE_BINARY_DIR}/packaging/changelog)
configure_file(${CMAKE_SOURCE_DIR}/packaging/changelog.in ${TW_CHANGELOG} @ONLY)
add_custom_command(OUTPUT ${TW_CHANGELOG}.gz
  COMMAND gzip -9nc ${TW_CHANGELOG} > ${TW_CHANGELOG}.gz
  DEPENDS ${TW_CHANGELOG}
  COMMENT "Compressing the changelog")
add_custom_target(tw_changelog ALL DEPENDS ${TW_CHANGELOG}.gz)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/copyright ${TW_CHANGELOG}.gz DESTINATION share/doc/tumblewell)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tumblewell)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Tumblewell project")
set(CPACK_PACKAGE_CONTACT ${TW_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "dig down a shaft of tiles ahead of the drills")
# Debian shows the description as it is: lines kept under 80 columns.
set(CPACK_PACKAGE_DESCRIPTION "Bolo, a small round blue creature, has fallen into a deep well. Dig
down the shaft of coloured tiles, knock tiles loose, pick up bonuses, stay
ahead of the sharp drills lowering from the top, and do not drop into the
water at the bottom of the screen.

Two modes, story and arcade, each keep their own high-score table. Play
with the keyboard, the mouse or a game controller, in a window or full
screen.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# DebLayout.cmake moves the game to /usr/games and strips it as Debian's own
# tools do (RelWithDebInfo binaries carry their debugging information; the
# package does not).
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/DebLayout.cmake)
set(CPACK_TW_STRIP ${CMAKE_STRIP})

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${TW_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://tumblewell.org/)
# The SDL libraries (and libc, libstdc++) come from dpkg-shlibdeps; the font
# for the text drawn at run time is opened by path, which it cannot see.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS fonts-dejavu-core)

# `make package_source` would otherwise pack build folders and the repository.
set(CPACK_SOURCE_IGNORE_FILES "/\\.git" "/build[^/]*/")

include(CPack)
