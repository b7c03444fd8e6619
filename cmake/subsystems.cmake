# Each folder of src/ is a subsystem: a static library of its own, linked with
# the subsystems below it, so that a unit test links only what it needs.
# A program's main() and the test doubles (fake_*.cpp) stay out of it.
function(tellu_subsystem name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  list(FILTER sources EXCLUDE REGEX "/(main|fake_[^/]*)\\.cpp$")
  add_library(tellu_${name} STATIC ${sources})
  target_include_directories(tellu_${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  list(TRANSFORM ARG_DEPS PREPEND tellu_)
  target_link_libraries(tellu_${name} PUBLIC ${ARG_DEPS})
endfunction()
