# Helpers that turn a source folder into a layer library and a test folder
# into one test program, so that adding a file never means editing a list.

# tandry_layer(<target> <folder> [EXCLUDE <subfolder>...] [LINK <targets>...])
# Every .cpp under <folder> (recursively, minus the excluded subfolders) goes
# into the static library <target>. Headers are included from the project root,
# as "graphics/image/Image.h".
function(tandry_layer target folder)
  cmake_parse_arguments(L "" "" "EXCLUDE;LINK" ${ARGN})
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/${folder}/*.cpp")
  foreach(ex IN LISTS L_EXCLUDE)
    list(FILTER srcs EXCLUDE REGEX "^${CMAKE_SOURCE_DIR}/${folder}/${ex}/")
  endforeach()
  # A layer whose folder holds no code yet is an interface library, so the
  # layers above can already name it.
  if(srcs)
    add_library(${target} STATIC ${srcs})
    target_include_directories(${target} PUBLIC ${CMAKE_SOURCE_DIR})
    target_link_libraries(${target} PUBLIC ${L_LINK})
  else()
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE ${CMAKE_SOURCE_DIR})
    target_link_libraries(${target} INTERFACE ${L_LINK})
  endif()
  set_property(GLOBAL APPEND PROPERTY TANDRY_LAYERS ${target})
endfunction()

# tandry_tests(<name> <folder> [EXCLUDE <subfolder or file>...] LINK <targets>...)
# One GoogleTest program from every .cpp under tests/<folder>; each test case
# becomes its own CTest entry so that ctest -j spreads them over the cores.
function(tandry_tests name folder)
  cmake_parse_arguments(T "" "" "EXCLUDE;LINK" ${ARGN})
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/tests/${folder}/*.cpp")
  foreach(ex IN LISTS T_EXCLUDE)
    list(FILTER srcs EXCLUDE REGEX "^${CMAKE_SOURCE_DIR}/tests/${folder}/${ex}(/|$)")
  endforeach()
  if(NOT srcs)
    return()
  endif()
  add_executable(${name} ${srcs})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tests)
  target_link_libraries(${name} PRIVATE ${T_LINK} tandry_test_support GTest::gtest GTest::gmock GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE
    MOORGLEN_TEST_DATA="${CMAKE_SOURCE_DIR}/tests/data")
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT "MOORGLEN_TEST_DATA=${CMAKE_SOURCE_DIR}/tests/data")
endfunction()
