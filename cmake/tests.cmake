# Test executables and how ctest runs them: natively, or under Wine in a private prefix.

set(VANTOREL_E2E_DIR ${CMAKE_SOURCE_DIR}/tests/e2e)

if(NOT WIN32)
  find_package(GTest REQUIRED)
  file(GLOB NATIVE_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/native/*.cpp)
  # The allocation limit replaces operator new for the whole test program.
  add_executable(native_tests ${NATIVE_TEST_SOURCES} ${CMAKE_SOURCE_DIR}/tests/common/allocation_limit.cpp)
  target_include_directories(native_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/common)
  target_link_libraries(native_tests PRIVATE vantorel_core hoardix_core GTest::gtest GTest::gtest_main)
  if(VANTOREL_PRECOMPILE_HEADERS)
    target_precompile_headers(native_tests PRIVATE <gtest/gtest.h>)
  endif()
  if(TARGET demo_data)
    target_link_libraries(native_tests PRIVATE demo_data)
  endif()
  add_test(NAME native_tests COMMAND native_tests)
  if(VANTOREL_SANITIZE)
    # Hoardix's out-of-memory path asks for absurd sizes on purpose and must get null back.
    set_tests_properties(native_tests PROPERTIES ENVIRONMENT "ASAN_OPTIONS=allocator_may_return_null=1:detect_leaks=1")
  endif()

  add_test(NAME hoardix_e2e COMMAND ${VANTOREL_E2E_DIR}/hoardix_test.sh native $<TARGET_FILE:hoardix>)
  return()
endif()

# GoogleTest from Debian's sources, cross-built with the same flags as the program.
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)

# Every Windows program runs through the launcher, in a prefix that belongs to this build tree.
set(VANTOREL_WINE_PREFIX ${CMAKE_BINARY_DIR}/wineprefix)
set(VANTOREL_WINE ${CMAKE_SOURCE_DIR}/cmake/wine-run.sh ${VANTOREL_WINE_PREFIX} ${VANTOREL_WINE_ARCH})

file(GLOB WINDOWS_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/windows/*.cpp)
add_executable(windows_tests ${WINDOWS_TEST_SOURCES} ${CMAKE_SOURCE_DIR}/tests/common/allocation_limit.cpp)
target_include_directories(windows_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/common)
target_link_libraries(windows_tests PRIVATE vantorel_ui vantorel_resources gtest gtest_main)
if(VANTOREL_PRECOMPILE_HEADERS)
  target_precompile_headers(windows_tests PRIVATE <windows.h> <commctrl.h> <gtest/gtest.h>)
endif()
# A command that runs until the test lets it end, next to windows_tests.exe where the tests find it.
add_executable(slow_command tests/windows/helper/slow_command.cpp)
add_dependencies(windows_tests slow_command)
# The window tests spend most of their time waiting on the Wine server and on timers, not on a
# processor: they run in shards side by side, each in a prefix and on a display of its own.
set(VANTOREL_WINDOWS_TEST_SHARDS 3 CACHE STRING "Shards the window tests run in")
math(EXPR last_shard "${VANTOREL_WINDOWS_TEST_SHARDS} - 1")
set(windows_test_names)
foreach(shard RANGE ${last_shard})
  add_test(NAME windows_tests_${shard}
           COMMAND ${CMAKE_SOURCE_DIR}/cmake/wine-shard.sh ${VANTOREL_WINE_PREFIX} ${VANTOREL_WINE_ARCH} ${shard}
                   ${VANTOREL_WINDOWS_TEST_SHARDS} $<TARGET_FILE:windows_tests>)
  list(APPEND windows_test_names windows_tests_${shard})
endforeach()

add_test(NAME hoardix_e2e COMMAND ${VANTOREL_E2E_DIR}/hoardix_test.sh wine $<TARGET_FILE:hoardix> ${VANTOREL_WINE_PREFIX} ${VANTOREL_WINE_ARCH})

# The notification area exists only inside a virtual desktop with a taskbar: one test runs there.
add_test(NAME tray_in_virtual_desktop
         COMMAND ${VANTOREL_E2E_DIR}/tray_desktop_test.sh ${VANTOREL_WINE_PREFIX} ${VANTOREL_WINE_ARCH}
                 $<TARGET_FILE:windows_tests>)

# 32-bit Wine needs a kernel that runs 32-bit Linux programs; where it cannot, the launcher skips.
set_tests_properties(${windows_test_names} hoardix_e2e tray_in_virtual_desktop PROPERTIES SKIP_RETURN_CODE 77)
# These two share the main prefix, whose server the Hoardix test waits to see end.
set_tests_properties(hoardix_e2e tray_in_virtual_desktop PROPERTIES RESOURCE_LOCK main_wine_prefix)

# Both programs may import only the system's own DLLs.
add_test(NAME import_tables COMMAND ${VANTOREL_E2E_DIR}/check_imports.sh ${CMAKE_OBJDUMP} $<TARGET_FILE:vantorel> $<TARGET_FILE:hoardix>)

# The version test reads the VERSIONINFO of both programs from beside windows_tests.exe, as Explorer
# does, through version.dll: only the test links it, the programs themselves must not.
target_link_libraries(windows_tests PRIVATE version)
target_include_directories(windows_tests PRIVATE ${VANTOREL_GENERATED_DIR})
add_dependencies(windows_tests vantorel hoardix)
