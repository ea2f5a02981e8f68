# Windows build: the two programs, the Win32 platform layer and the tests that run under Wine.
set(QUORVANE_WIN32_LIBS advapi32 shell32 ole32 oleaut32 uuid wininet comctl32 comdlg32 user32 gdi32 shlwapi)
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
add_link_options(-static -static-libgcc -static-libstdc++)

file(GLOB_RECURSE WIN32_PLATFORM_SOURCES CONFIGURE_DEPENDS src/win32/platform/*.cpp)
add_library(quorvane_win32 STATIC ${WIN32_PLATFORM_SOURCES})
target_link_libraries(quorvane_win32 PUBLIC quorvane_portable ${QUORVANE_WIN32_LIBS})

# The windows: a library of their own, so that the window tests can bind real controls.
file(GLOB_RECURSE WIN32_VIEW_SOURCES CONFIGURE_DEPENDS src/win32/views/*.cpp)
add_library(quorvane_views STATIC ${WIN32_VIEW_SOURCES})
target_link_libraries(quorvane_views PUBLIC quorvane_win32 uxtheme)

file(GLOB_RECURSE QUORVANE_APP_SOURCES CONFIGURE_DEPENDS src/win32/app/quorvane/*.cpp src/win32/app/quorvane/*.rc)
add_executable(Quorvane WIN32 ${QUORVANE_APP_SOURCES})
# windres reports no dependencies: the templates, pictures and icons that Quorvane.rc pulls in
# are named here so that a change to one of them builds the program again.
file(GLOB QUORVANE_VIEW_RESOURCES CONFIGURE_DEPENDS
  src/win32/views/*.rc src/win32/views/*.bmp src/win32/views/*.ico src/win32/views/ViewIds.h)
set_source_files_properties(src/win32/app/quorvane/Quorvane.rc PROPERTIES
  OBJECT_DEPENDS "${QUORVANE_VIEW_RESOURCES}")
target_include_directories(Quorvane PRIVATE src/win32)
target_link_libraries(Quorvane PRIVATE quorvane_views)
target_link_options(Quorvane PRIVATE -municode)
# The program reads its tips file from its own folder.
add_custom_command(TARGET Quorvane POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CMAKE_CURRENT_SOURCE_DIR}/src/tips/TIPOFDAY.TXT $<TARGET_FILE_DIR:Quorvane>/TIPOFDAY.TXT)

file(GLOB_RECURSE KELVERIN_APP_SOURCES CONFIGURE_DEPENDS src/win32/app/kelverin/*.cpp src/win32/app/kelverin/*.rc)
# A GUI program: a start at logon opens no console window.
add_executable(Kelverin WIN32 ${KELVERIN_APP_SOURCES})
target_include_directories(Kelverin PRIVATE src/win32)
target_link_libraries(Kelverin PRIVATE quorvane_win32)
target_link_options(Kelverin PRIVATE -municode)

include(cmake/Package.cmake)

# GoogleTest from the sources of Debian's googletest package, built with the cross compiler.
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

set(WINE_PREFIX_DIR ${CMAKE_BINARY_DIR}/wineprefix)
add_test(NAME wine_prefix COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/cmake/wine-prefix-setup ${WINE_PREFIX_DIR})
set_tests_properties(wine_prefix PROPERTIES FIXTURES_SETUP wine ENVIRONMENT "WINEPREFIX=${WINE_PREFIX_DIR}")
# Window tests get a prefix of their own: see cmake/wine-run-gui.
set(WINE_GUI_PREFIX_DIR ${CMAKE_BINARY_DIR}/wineprefix-gui)
add_test(NAME wine_prefix_gui COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/cmake/wine-prefix-setup ${WINE_GUI_PREFIX_DIR})
set_tests_properties(wine_prefix_gui PROPERTIES FIXTURES_SETUP wine_gui
  ENVIRONMENT "WINEPREFIX=${WINE_GUI_PREFIX_DIR}" RESOURCE_LOCK wine_desktop)

file(GLOB_RECURSE WIN32_TEST_SUPPORT CONFIGURE_DEPENDS tests/win32/support/*.cpp)
add_library(quorvane_win32_test_support STATIC ${WIN32_TEST_SUPPORT})
target_include_directories(quorvane_win32_test_support PUBLIC tests tests/win32)
target_link_libraries(quorvane_win32_test_support PUBLIC quorvane_win32 gtest gmock)

# One test executable per folder under tests/win32 (a Wine start costs a second or two,
# so each folder is one ctest). Folders whose name starts with "gui" need an X display.
file(GLOB WIN32_TEST_DIRS LIST_DIRECTORIES true CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tests/win32/*)
foreach(dir IN LISTS WIN32_TEST_DIRS)
  get_filename_component(suite ${dir} NAME)
  if(NOT IS_DIRECTORY ${dir} OR suite STREQUAL "support")
    continue()
  endif()
  file(GLOB_RECURSE suite_sources CONFIGURE_DEPENDS ${dir}/*.cpp)
  if(NOT suite_sources)
    continue()
  endif()
  set(target win32_${suite}_tests)
  add_executable(${target} ${suite_sources})
  target_link_libraries(${target} PRIVATE quorvane_win32_test_support gtest_main)
  # End-to-end suites start the real programs, so build them first.
  add_dependencies(${target} Quorvane Kelverin)
  if(suite MATCHES "^gui")
    target_link_libraries(${target} PRIVATE quorvane_views)
    add_test(NAME ${target}
      COMMAND xvfb-run -a -s "-screen 0 1024x768x24" ${CMAKE_CURRENT_SOURCE_DIR}/cmake/wine-run-gui $<TARGET_FILE:${target}> --gtest_brief=1)
    # Window tests share one virtual desktop and start the single-instance program, so
    # they take turns.
    set_tests_properties(${target} PROPERTIES RESOURCE_LOCK wine_desktop
      FIXTURES_REQUIRED wine_gui ENVIRONMENT "WINEPREFIX=${WINE_GUI_PREFIX_DIR}" TIMEOUT 600)
  else()
    add_test(NAME ${target} COMMAND ${target} --gtest_brief=1)
    set_tests_properties(${target} PROPERTIES
      FIXTURES_REQUIRED wine ENVIRONMENT "WINEPREFIX=${WINE_PREFIX_DIR}" TIMEOUT 600)
  endif()
endforeach()

# The file-system tests need Unix symbolic links on drive C:, which no Windows call under
# Wine makes; they are made from the Linux side before those tests run.
if(TEST win32_platform_tests)
  add_test(NAME win32_platform_links
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/tests/win32/platform/make-unix-links ${WINE_PREFIX_DIR})
  set_tests_properties(win32_platform_links PROPERTIES FIXTURES_SETUP unix_links FIXTURES_REQUIRED wine)
  set_tests_properties(win32_platform_tests PROPERTIES FIXTURES_REQUIRED "wine;unix_links")
endif()

# The installer's round trip runs in a Wine prefix of its own, which starts without Quorvane.
if(TEST win32_gui_install_tests)
  set(WINE_INSTALL_PREFIX_DIR ${CMAKE_BINARY_DIR}/wineprefix-install)
  add_test(NAME wine_prefix_install
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/cmake/wine-prefix-setup ${WINE_INSTALL_PREFIX_DIR})
  set_tests_properties(wine_prefix_install PROPERTIES FIXTURES_SETUP wine_install
    ENVIRONMENT "WINEPREFIX=${WINE_INSTALL_PREFIX_DIR}")
  add_dependencies(win32_gui_install_tests installer)
  target_link_libraries(win32_gui_install_tests PRIVATE version)
  # It installs, starts and removes whole programs, each step waiting on Wine: it runs alone,
  # so that the other suites' load cannot stretch those waits.
  set_tests_properties(win32_gui_install_tests PROPERTIES FIXTURES_REQUIRED wine_install
    ENVIRONMENT "WINEPREFIX=${WINE_INSTALL_PREFIX_DIR};QUORVANE_SETUP=Z:${QUORVANE_SETUP}"
    RUN_SERIAL TRUE)
endif()

# The profile wizard's window test searches drive C:, which must hold its seeded profiles and
# a folder link loop; only the Linux side can make such a link.
if(TEST win32_gui_wizard_tests)
  add_test(NAME win32_gui_wizard_seed
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/tests/win32/gui_wizard/seed-profiles ${WINE_GUI_PREFIX_DIR})
  set_tests_properties(win32_gui_wizard_seed PROPERTIES FIXTURES_SETUP wizard_profiles
    FIXTURES_REQUIRED wine_gui)
  set_tests_properties(win32_gui_wizard_tests PROPERTIES FIXTURES_REQUIRED "wine_gui;wizard_profiles")
endif()
