# The ThreadSanitizer flavour: only the file table core (with the folders below it and the
# posix backend) and the tests of the worker thread, its icon loader and the icon cache, so
# that it builds in a fraction of the full native build.
add_compile_options(-fsanitize=thread -fno-omit-frame-pointer -O1 -g)
add_link_options(-fsanitize=thread)

set(TSAN_CORE_SOURCES)
foreach(dir table config links os os/posix)
  file(GLOB found CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.cpp)
  foreach(f ${found})
    if(NOT f MATCHES "_win\\.cpp$")
      list(APPEND TSAN_CORE_SOURCES ${f})
    endif()
  endforeach()
endforeach()
add_library(sorm_tsan_core STATIC ${TSAN_CORE_SOURCES})
target_compile_options(sorm_tsan_core PRIVATE ${SORM_FLAGS})
target_link_libraries(sorm_tsan_core PUBLIC Threads::Threads)

set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

set(TSAN_TEST_SOURCES
  tests/unit/change_monitor_test.cpp
  tests/unit/icon_cache_test.cpp
  tests/unit/icon_loader_test.cpp
  tests/unit/monitor_stress_test.cpp
  tests/unit/monitor_test_support.cpp
  tests/unit/table_test_support.cpp
  tests/unit/test_util.cpp)
list(TRANSFORM TSAN_TEST_SOURCES PREPEND ${CMAKE_SOURCE_DIR}/)
add_executable(sorm_tsan_tests ${TSAN_TEST_SOURCES})
target_link_libraries(sorm_tsan_tests PRIVATE sorm_tsan_core gtest_main gmock)
target_compile_options(sorm_tsan_tests PRIVATE ${SORM_FLAGS})
target_compile_definitions(sorm_tsan_tests PRIVATE SORM_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
