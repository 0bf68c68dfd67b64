# The libraries and programs: the portable core, the Win32 layer, Vantorel and Hoardix.

# Everything that computes, with no <windows.h>: built everywhere and tested natively.
set(VANTOREL_ROOT ${CMAKE_SOURCE_DIR})
include(${CMAKE_SOURCE_DIR}/cmake/core_sources.cmake)
add_library(vantorel_core STATIC ${VANTOREL_CORE_SOURCES})
target_include_directories(vantorel_core PUBLIC src)

# Hoardix shares nothing with the monitor; it builds on every platform from its own sources.
# Its steps are portable and tested natively; the platform layer below them is not.
add_library(hoardix_core STATIC ${HOARDIX_CORE_SOURCES})
target_include_directories(hoardix_core PUBLIC src)
add_executable(hoardix src/collector/hoardix_main.cpp src/collector/collector_platform.cpp)
target_link_libraries(hoardix PRIVATE hoardix_core)

if(WIN32)
  # The project version, for the VERSIONINFO of both programs (and the test that reads it back).
  set(VANTOREL_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
  configure_file(src/resources/version.h.in ${VANTOREL_GENERATED_DIR}/version.h @ONLY)
  target_sources(hoardix PRIVATE src/resources/hoardix.rc)
  target_include_directories(hoardix PRIVATE ${VANTOREL_GENERATED_DIR})
endif()

if(WIN32)
  # The thin layer over the system: registry, files, processes, error texts.
  add_library(vantorel_win32 STATIC
    src/settings/settings_store.cpp
    src/client/client_file.cpp
    src/client/last_error.cpp
    src/settings/window_layout.cpp
  )
  target_link_libraries(vantorel_win32 PUBLIC vantorel_core advapi32 kernel32 user32)

  # Dialog templates, menus, strings, icons and bitmaps: linked into the program and the window tests.
  add_library(vantorel_resources OBJECT src/resources/vantorel.rc)
  target_include_directories(vantorel_resources PRIVATE src/resources ${VANTOREL_GENERATED_DIR})

  # The windows, pages and dialogs: one library, so the window tests drive the very same code.
  file(GLOB VANTOREL_UI_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/ui/*.cpp
    ${CMAKE_SOURCE_DIR}/src/completed/*.cpp ${CMAKE_SOURCE_DIR}/src/skymap/*.cpp ${CMAKE_SOURCE_DIR}/src/calendar/*.cpp)
  list(REMOVE_ITEM VANTOREL_UI_SOURCES ${CMAKE_SOURCE_DIR}/src/ui/main.cpp)
  # The location dialogs live with the settings they edit.
  add_library(vantorel_ui STATIC ${VANTOREL_UI_SOURCES}
    src/settings/locations_dialog.cpp src/settings/location_dialog.cpp)
  target_link_libraries(vantorel_ui PUBLIC vantorel_win32 user32 gdi32 comctl32 comdlg32 shell32)

  # The system's headers parsed once per library, not once per file: they are most of each file's
  # compile time.
  if(VANTOREL_PRECOMPILE_HEADERS)
    target_precompile_headers(vantorel_win32 PRIVATE <windows.h> <string> <vector>)
    target_precompile_headers(vantorel_ui PRIVATE <windows.h> <commctrl.h> <string> <vector>)
  endif()

  add_executable(vantorel WIN32 src/ui/main.cpp)
  target_link_libraries(vantorel PRIVATE vantorel_ui vantorel_resources)
elseif(EXISTS ${CMAKE_SOURCE_DIR}/tools/demo/CMakeLists.txt)
  add_subdirectory(tools/demo)
endif()
