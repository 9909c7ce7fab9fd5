# GoogleTest from Debian's source package, built with whichever compiler this tree
# uses (the cross compiler included); elsewhere an installed GTest package.
set(QL_GTEST_SOURCE_DIR "/usr/src/googletest" CACHE PATH "GoogleTest sources")
if(EXISTS "${QL_GTEST_SOURCE_DIR}/CMakeLists.txt")
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  add_subdirectory("${QL_GTEST_SOURCE_DIR}" "${CMAKE_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL SYSTEM)
else()
  find_package(GTest REQUIRED)
endif()
include(GoogleTest)

if(CMAKE_CROSSCOMPILING AND WIN32)
  # Windows test programs run under Wine in a prefix of this build tree, created
  # once (single-threaded) by the wine_prefix fixture before any of them.
  set(QL_WINEPREFIX "${CMAKE_BINARY_DIR}/wineprefix")
  set(CMAKE_CROSSCOMPILING_EMULATOR "${PROJECT_SOURCE_DIR}/scripts/wine-run;${QL_WINEPREFIX}")
  add_test(NAME wine_prefix COMMAND "${PROJECT_SOURCE_DIR}/scripts/wine-prefix" "${QL_WINEPREFIX}" --unmanaged)
  set_tests_properties(wine_prefix PROPERTIES FIXTURES_SETUP wine TIMEOUT 300)
  # A second prefix at 150 % display scale (144 DPI), for the scaled run of the behaviour suite.
  set(QL_WINEPREFIX_144DPI "${CMAKE_BINARY_DIR}/wineprefix-144dpi")
  add_test(NAME wine_prefix_144dpi COMMAND "${PROJECT_SOURCE_DIR}/scripts/wine-prefix" "${QL_WINEPREFIX_144DPI}" --unmanaged --dpi=144)
  set_tests_properties(wine_prefix_144dpi PROPERTIES FIXTURES_SETUP wine_144dpi TIMEOUT 300)
endif()

# One test program: natively each test case is its own ctest test; under Wine the
# program runs once (discovery would start Wine once per case).
function(ql_add_gtest target)
  target_link_libraries(${target} PRIVATE GTest::gtest_main)
  if(CMAKE_CROSSCOMPILING)
    add_test(NAME ${target} COMMAND ${target})
    set_tests_properties(${target} PROPERTIES FIXTURES_REQUIRED wine TIMEOUT 600)
  else()
    gtest_discover_tests(${target} DISCOVERY_TIMEOUT 60)
  endif()
endfunction()
