# What `make dist` hands out: the zip and the per-user MSI (packaging/).
#
# The version has one home, the version resource: its FILEVERSION names the
# files, is the installer's ProductVersion, and is compiled into the exe. It
# is read from Morvelin.rc whenever that file changes (CMake re-runs).
set(MORVELIN_RC ${CMAKE_SOURCE_DIR}/resources/Morvelin.rc)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${MORVELIN_RC})
file(STRINGS ${MORVELIN_RC} rc_fileversion REGEX "^[ \t]*FILEVERSION[ \t]")
if(NOT rc_fileversion MATCHES "FILEVERSION[ \t]+([0-9]+)[ \t]*,[ \t]*([0-9]+)[ \t]*,[ \t]*([0-9]+)[ \t]*,[ \t]*([0-9]+)")
  message(FATAL_ERROR "no FILEVERSION a,b,c,d in ${MORVELIN_RC}")
endif()
set(MORVELIN_VERSION_PARTS ${CMAKE_MATCH_1} ${CMAKE_MATCH_2} ${CMAKE_MATCH_3} ${CMAKE_MATCH_4})
set(MORVELIN_VERSION "${CMAKE_MATCH_1}.${CMAKE_MATCH_2}.${CMAKE_MATCH_3}.${CMAKE_MATCH_4}")
# Windows Installer compares only the first three fields, and allows at most
# 255.255.65535 there.
if(CMAKE_MATCH_1 GREATER 255 OR CMAKE_MATCH_2 GREATER 255 OR CMAKE_MATCH_3 GREATER 65535)
  message(FATAL_ERROR "file version ${MORVELIN_VERSION} is beyond what an MSI can carry (255.255.65535)")
endif()

find_program(MORVELIN_WIXL wixl REQUIRED DOC "MSI builder (Debian package wixl)")
find_program(MORVELIN_MSIBUILD msibuild REQUIRED DOC "MSI table editor (Debian package msitools)")
set(MORVELIN_PACKAGING ${CMAKE_SOURCE_DIR}/packaging)
set(MORVELIN_ICON_FILE ${CMAKE_BINARY_DIR}/resources/morvelin.ico)

# morvelin_package(VERSION v DIR d TARGET t [ZIP])
# Writes d/LIESMICH.txt (UTF-8 with byte-order mark and CR LF, as Notepad
# reads it best), d/Morvelin-<v>-win64.msi and, with ZIP, the zip beside it.
# Any VERSION may be given, so that the tests can build an older package of
# the same program; the real one is always MORVELIN_VERSION.
function(morvelin_package)
  cmake_parse_arguments(P "ZIP" "VERSION;DIR;TARGET" "" ${ARGN})
  set(MORVELIN_VERSION ${P_VERSION})
  set(readme ${P_DIR}/LIESMICH.txt)
  configure_file(${MORVELIN_PACKAGING}/LIESMICH.txt.in ${readme} @ONLY NEWLINE_STYLE CRLF)
  set(msi ${P_DIR}/Morvelin-${P_VERSION}-win64.msi)
  add_custom_command(
    OUTPUT ${msi}
    COMMAND ${MORVELIN_PACKAGING}/make-msi.sh ${msi} ${P_VERSION} $<TARGET_FILE:Morvelin>
            ${readme} ${MORVELIN_ICON_FILE} ${MORVELIN_PACKAGING}/Morvelin.wxs
    DEPENDS Morvelin ${readme} ${MORVELIN_ICON_FILE} ${MORVELIN_PACKAGING}/Morvelin.wxs
            ${MORVELIN_PACKAGING}/make-msi.sh
    COMMENT "Building Morvelin-${P_VERSION}-win64.msi"
    VERBATIM)
  set(outputs ${msi})
  if(P_ZIP)
    set(zip ${P_DIR}/Morvelin-${P_VERSION}-win64.zip)
    set(stage ${P_DIR}/zip)
    add_custom_command(
      OUTPUT ${zip}
      COMMAND ${CMAKE_COMMAND} -E rm -rf ${stage} ${zip}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${stage}
      COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:Morvelin> ${readme} ${stage}
      COMMAND ${CMAKE_COMMAND} -E chdir ${stage}
              ${CMAKE_COMMAND} -E tar cf ${zip} --format=zip Morvelin.exe LIESMICH.txt
      COMMAND ${CMAKE_COMMAND} -E rm -rf ${stage}
      DEPENDS Morvelin ${readme}
      COMMENT "Building Morvelin-${P_VERSION}-win64.zip"
      VERBATIM)
    list(APPEND outputs ${zip})
  endif()
  add_custom_target(${P_TARGET} ALL DEPENDS ${outputs})
endfunction()

set(MORVELIN_DIST_DIR ${CMAKE_BINARY_DIR}/dist)
morvelin_package(VERSION ${MORVELIN_VERSION} DIR ${MORVELIN_DIST_DIR} TARGET morvelin_package ZIP)
set(MORVELIN_MSI ${MORVELIN_DIST_DIR}/Morvelin-${MORVELIN_VERSION}-win64.msi)
set(MORVELIN_ZIP ${MORVELIN_DIST_DIR}/Morvelin-${MORVELIN_VERSION}-win64.zip)

# `make dist` copies the two files into dist/ at the top of the checkout.
add_custom_target(dist
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_SOURCE_DIR}/dist
  COMMAND ${CMAKE_COMMAND} -E copy ${MORVELIN_ZIP} ${MORVELIN_MSI} ${CMAKE_SOURCE_DIR}/dist
  DEPENDS morvelin_package
  VERBATIM)
