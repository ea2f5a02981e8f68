# What ships: the User's Guide (Help\Help.chm), the installer and the portable zip, built
# from the two programs of this build into ${CMAKE_BINARY_DIR}/dist. scripts/package builds
# them from the release preset and copies them to dist/.

# The version comes from the header that the programs and their version resources use.
file(STRINGS ${CMAKE_SOURCE_DIR}/src/core/Version.h QUORVANE_VERSION_LINES
  REGEX "^#define QUORVANE_VERSION_[A-Z]+ [0-9]+$")
foreach(part MAJOR MINOR REVISION BUILD)
  string(REGEX MATCH "QUORVANE_VERSION_${part} ([0-9]+)" matched "${QUORVANE_VERSION_LINES}")
  if(NOT matched)
    message(FATAL_ERROR "src/core/Version.h defines no QUORVANE_VERSION_${part}")
  endif()
  set(QUORVANE_VERSION_${part} ${CMAKE_MATCH_1})
endforeach()
set(QUORVANE_RELEASE
  ${QUORVANE_VERSION_MAJOR}.${QUORVANE_VERSION_MINOR}.${QUORVANE_VERSION_REVISION})
set(QUORVANE_FILE_VERSION ${QUORVANE_RELEASE}.${QUORVANE_VERSION_BUILD})

find_program(CHMCMD chmcmd REQUIRED)
find_program(MAKENSIS makensis REQUIRED)
find_program(ZIP zip REQUIRED)
find_program(MINGW_STRIP NAMES x86_64-w64-mingw32-strip REQUIRED)

set(GUIDE_SOURCE_DIR ${CMAKE_SOURCE_DIR}/docs/guide)
set(GUIDE_BUILD_DIR ${CMAKE_BINARY_DIR}/guide)
set(PACKAGE_STAGE ${CMAKE_BINARY_DIR}/package/Quorvane)
set(PACKAGE_DIST ${CMAKE_BINARY_DIR}/dist)
set(QUORVANE_SETUP ${PACKAGE_DIST}/Quorvane-${QUORVANE_RELEASE}-setup.exe)
set(QUORVANE_PORTABLE_ZIP ${PACKAGE_DIST}/Quorvane-${QUORVANE_RELEASE}-portable.zip)

# chmcmd writes the help file beside its project, so it compiles a copy of the sources.
file(GLOB GUIDE_SOURCES CONFIGURE_DEPENDS ${GUIDE_SOURCE_DIR}/*)
add_custom_command(OUTPUT ${GUIDE_BUILD_DIR}/Help.chm
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${GUIDE_BUILD_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${GUIDE_SOURCE_DIR} ${GUIDE_BUILD_DIR}
  COMMAND ${CMAKE_COMMAND} -E chdir ${GUIDE_BUILD_DIR} ${CHMCMD} --verbosity 1 Help.hhp
  DEPENDS ${GUIDE_SOURCES}
  COMMENT "Compiling the User's Guide"
  VERBATIM)
add_custom_target(guide DEPENDS ${GUIDE_BUILD_DIR}/Help.chm)

# The folder as it is installed, and as the zip holds it: the programs without their debug
# symbols, the tips, the guide, an empty Local.Ini (the program never creates one, and keeps
# no option without it) and the custom-item folder.
set(PACKAGE_STAMP ${CMAKE_BINARY_DIR}/package/stage.stamp)
add_custom_command(OUTPUT ${PACKAGE_STAMP}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${PACKAGE_STAGE}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${PACKAGE_STAGE}/Help ${PACKAGE_STAGE}/Custom
  COMMAND ${MINGW_STRIP} -o ${PACKAGE_STAGE}/Quorvane.exe $<TARGET_FILE:Quorvane>
  COMMAND ${MINGW_STRIP} -o ${PACKAGE_STAGE}/Kelverin.exe $<TARGET_FILE:Kelverin>
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/src/tips/TIPOFDAY.TXT ${PACKAGE_STAGE}/
  COMMAND ${CMAKE_COMMAND} -E copy ${GUIDE_BUILD_DIR}/Help.chm ${PACKAGE_STAGE}/Help/
  COMMAND ${CMAKE_COMMAND} -E touch ${PACKAGE_STAGE}/Local.Ini
  COMMAND ${CMAKE_COMMAND} -E touch ${PACKAGE_STAMP}
  DEPENDS Quorvane Kelverin ${GUIDE_BUILD_DIR}/Help.chm ${CMAKE_SOURCE_DIR}/src/tips/TIPOFDAY.TXT
  COMMENT "Staging the files that ship"
  VERBATIM)

add_custom_command(OUTPUT ${QUORVANE_SETUP}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${PACKAGE_DIST}
  COMMAND ${MAKENSIS} -V2 -DVERSION=${QUORVANE_RELEASE} -DFILE_VERSION=${QUORVANE_FILE_VERSION}
    -DSTAGE=${PACKAGE_STAGE} -DICON=${CMAKE_SOURCE_DIR}/src/win32/views/Quorvane.ico
    -DOUTFILE=${QUORVANE_SETUP} ${CMAKE_SOURCE_DIR}/packaging/Quorvane.nsi
  DEPENDS ${PACKAGE_STAMP} ${CMAKE_SOURCE_DIR}/packaging/Quorvane.nsi
    ${CMAKE_SOURCE_DIR}/packaging/welcome.bmp
  COMMENT "Building the installer"
  VERBATIM)
add_custom_target(installer DEPENDS ${QUORVANE_SETUP})

# One folder, "Quorvane", ready to run from a USB stick.
add_custom_command(OUTPUT ${QUORVANE_PORTABLE_ZIP}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${PACKAGE_DIST}
  COMMAND ${CMAKE_COMMAND} -E rm -f ${QUORVANE_PORTABLE_ZIP}
  COMMAND ${CMAKE_COMMAND} -E chdir ${CMAKE_BINARY_DIR}/package ${ZIP} -q -r -X ${QUORVANE_PORTABLE_ZIP} Quorvane
  DEPENDS ${PACKAGE_STAMP}
  COMMENT "Building the portable zip"
  VERBATIM)
add_custom_target(portable DEPENDS ${QUORVANE_PORTABLE_ZIP})
