# Benchmarks: built with everything else, run only by scripts/bench (never by ctest).

if(NOT WIN32)
  if(TARGET demo_data)
    add_executable(make_bench_inputs ${CMAKE_SOURCE_DIR}/bench/inputs.cpp)
    target_link_libraries(make_bench_inputs PRIVATE demo_data)
  endif()
  add_executable(native_bench ${CMAKE_SOURCE_DIR}/bench/native_bench.cpp ${CMAKE_SOURCE_DIR}/bench/native_state.cpp)
  target_link_libraries(native_bench PRIVATE vantorel_core)
  target_include_directories(native_bench PRIVATE ${CMAKE_SOURCE_DIR})
  return()
endif()

add_executable(windows_bench ${CMAKE_SOURCE_DIR}/bench/windows_bench.cpp ${CMAKE_SOURCE_DIR}/bench/sky_map_bench.cpp
  ${CMAKE_SOURCE_DIR}/bench/slow_files.cpp)
target_link_libraries(windows_bench PRIVATE vantorel_ui vantorel_resources psapi)
target_include_directories(windows_bench PRIVATE ${CMAKE_SOURCE_DIR})
