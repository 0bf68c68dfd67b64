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
  # The platform layer over the system, owning no window: handles, GDI scopes, registry, files,
  # the log opener, error texts.
  file(GLOB VANTOREL_PLATFORM_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/platform/*.cpp)
  add_library(vantorel_win32 STATIC ${VANTOREL_PLATFORM_SOURCES})
  target_link_libraries(vantorel_win32 PUBLIC vantorel_core advapi32 kernel32 user32)

  # Dialog templates, menus, strings, icons and bitmaps: linked into the program and the window tests.
  add_library(vantorel_resources OBJECT src/resources/vantorel.rc)
  target_include_directories(vantorel_resources PRIVATE src/resources ${VANTOREL_GENERATED_DIR})

  # The window kit, the dialogs, the pages and the shell: one library, so the window tests drive
  # the very same code.
  file(GLOB VANTOREL_UI_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/kit/*.cpp
    ${CMAKE_SOURCE_DIR}/src/dialogs/*.cpp ${CMAKE_SOURCE_DIR}/src/pages/*.cpp ${CMAKE_SOURCE_DIR}/src/shell/*.cpp)
  list(REMOVE_ITEM VANTOREL_UI_SOURCES ${CMAKE_SOURCE_DIR}/src/shell/main.cpp)
  add_library(vantorel_ui STATIC ${VANTOREL_UI_SOURCES})
  target_link_libraries(vantorel_ui PUBLIC vantorel_win32 user32 gdi32 comctl32 comdlg32 shell32 ole32 uuid)

  # The system's headers parsed once per library, not once per file: they are most of each file's
  # compile time.
  if(VANTOREL_PRECOMPILE_HEADERS)
    target_precompile_headers(vantorel_win32 PRIVATE <windows.h> <string> <vector>)
    target_precompile_headers(vantorel_ui PRIVATE <windows.h> <commctrl.h> <string> <vector>)
  endif()

  add_executable(vantorel WIN32 src/shell/main.cpp)
  target_link_libraries(vantorel PRIVATE vantorel_ui vantorel_resources)
elseif(EXISTS ${CMAKE_SOURCE_DIR}/tools/demo/CMakeLists.txt)
  add_subdirectory(tools/demo)
endif()
