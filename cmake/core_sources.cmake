# The portable core: every source under src/core, in one list for the core library and the fuzz
# targets. Hoardix's steps are portable too but share nothing with the monitor: they stay apart.
# Expects VANTOREL_ROOT to name the repository's root.
file(GLOB_RECURSE VANTOREL_CORE_SOURCES CONFIGURE_DEPENDS ${VANTOREL_ROOT}/src/core/*.cpp)
list(FILTER VANTOREL_CORE_SOURCES EXCLUDE REGEX "/src/core/collector/")
set(HOARDIX_CORE_SOURCES ${VANTOREL_ROOT}/src/core/collector/collector.cpp)
