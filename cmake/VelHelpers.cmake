# Every folder of the layout becomes one static library built from the .cpp files found in it,
# so adding a file to a folder needs no edit of a build file. A folder without sources yet is an
# interface library, which lets dependants name it before it has code.
function(vel_library name dir)
  cmake_parse_arguments(ARG "" "" "DEPS;PRIVATE_DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${dir}/*.cpp ${dir}/*.c)
  if(sources)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARG_DEPS} PRIVATE ${ARG_PRIVATE_DEPS})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${ARG_DEPS})
  endif()
endfunction()

# One GoogleTest binary per library: every *_test.cpp in the folder.
function(vel_test_binary name dir)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${dir}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  gtest_discover_tests(${name}
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
    # Test discovery splits list values apart, so the second variable goes through its own
    # single-valued property instead of a second ENVIRONMENT entry.
    PROPERTIES ENVIRONMENT "VELMORA_DISPLAY=headless"
               ENVIRONMENT_MODIFICATION "VELMORA_TEST_DATA=set:${PROJECT_SOURCE_DIR}/tests/data"
    DISCOVERY_TIMEOUT 60)
endfunction()
include(${CMAKE_CURRENT_LIST_DIR}/VelResources.cmake)
