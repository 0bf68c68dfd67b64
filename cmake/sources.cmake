# The libraries and programs: the portable core, the Win32 layer, Vantorel and Hoardix.

# Everything that computes, with no <windows.h>: built everywhere and tested natively.
add_library(vantorel_core STATIC
  src/common/status_sink.cpp
  src/settings/location.cpp
  src/client/error_text.cpp
  src/client/find_value.cpp
  src/client/best_signals.cpp
)
target_include_directories(vantorel_core PUBLIC src)

# Hoardix shares nothing with the monitor; it builds on every platform from its own sources.
# Its steps are portable and tested natively; the platform layer below them is not.
add_library(hoardix_core STATIC src/collector/collector.cpp)
target_include_directories(hoardix_core PUBLIC src)
add_executable(hoardix src/collector/hoardix_main.cpp src/collector/collector_platform.cpp)
target_link_libraries(hoardix PRIVATE hoardix_core)

if(WIN32)
  # The thin layer over the system: registry, files, processes, error texts.
  add_library(vantorel_win32 STATIC
    src/settings/settings_store.cpp
    src/client/client_file.cpp
    src/client/last_error.cpp
  )
  target_link_libraries(vantorel_win32 PUBLIC vantorel_core advapi32 kernel32)

  # Dialog templates, menus, strings, icons and bitmaps: linked into the program and the window tests.
  add_library(vantorel_resources OBJECT src/resources/vantorel.rc)
  target_include_directories(vantorel_resources PRIVATE src/resources)

  add_executable(vantorel WIN32 src/ui/main.cpp)
  target_link_libraries(vantorel PRIVATE vantorel_win32 vantorel_resources user32 gdi32 comctl32 comdlg32 shell32)
elseif(EXISTS ${CMAKE_SOURCE_DIR}/tools/demo/CMakeLists.txt)
  add_subdirectory(tools/demo)
endif()
