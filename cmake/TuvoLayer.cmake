# tuvo_layer(NAME DIR [DEPS ...]): a static library made of every .cpp below DIR.
# Layers glob their sources so that a new file needs no CMake edit.
function(tuvo_layer name dir)
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${dir}/*.cpp ${dir}/*.h)
  set(has_cpp FALSE)
  foreach(s ${sources})
    if(s MATCHES "\\.cpp$")
      set(has_cpp TRUE)
    endif()
  endforeach()
  if(has_cpp)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC ${ARGN})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${CMAKE_SOURCE_DIR}/src)
    target_link_libraries(${name} INTERFACE ${ARGN})
  endif()
endfunction()

# tuvo_test_suite(NAME DIR [DEPS ...]): one GoogleTest program of every .cpp in DIR.
function(tuvo_test_suite name dir)
  file(GLOB sources CONFIGURE_DEPENDS ${dir}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources} ${CMAKE_SOURCE_DIR}/tests/support/test_main.cpp)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests ${CMAKE_SOURCE_DIR}/src)
  target_link_libraries(${name} PRIVATE ${ARGN} tuvo_test_support GTest::gtest GTest::gmock Qt6::Test Qt6::Widgets)
  target_compile_definitions(${name} PRIVATE
    TUVO_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
    TUVO_BINARY_DIR="${CMAKE_BINARY_DIR}"
    TUVO_CLI_PATH="$<TARGET_FILE:tuvo-cli>")
  add_dependencies(${name} tuvo-cli)
  gtest_discover_tests(${name}
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
    DISCOVERY_TIMEOUT 60)
endfunction()
