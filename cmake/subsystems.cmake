# Each folder of src/ is a subsystem: an object library of its own, so that a
# unit test links only the subsystems it needs.  tellu_core bundles them all.
set(TELLU_SUBSYSTEMS "" CACHE INTERNAL "")

function(tellu_subsystem name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT sources)
    return()  # a subsystem still being written
  endif()
  add_library(tellu_${name} OBJECT ${sources})
  target_include_directories(tellu_${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  set_target_properties(tellu_${name} PROPERTIES TELLU_DEPS "${ARG_DEPS}")
  set(TELLU_SUBSYSTEMS ${TELLU_SUBSYSTEMS} ${name} CACHE INTERNAL "")
endfunction()

# The subsystem and everything it depends on, transitively.
function(tellu_closure out)
  set(result "")
  set(todo ${ARGN})
  while(todo)
    list(POP_FRONT todo item)
    if(NOT item IN_LIST result AND TARGET tellu_${item})
      list(APPEND result ${item})
      get_target_property(deps tellu_${item} TELLU_DEPS)
      if(deps)
        list(APPEND todo ${deps})
      endif()
    endif()
  endwhile()
  set(${out} ${result} PARENT_SCOPE)
endfunction()

# Link the object files of the given subsystems (and their dependencies).
function(tellu_link_subsystems target)
  tellu_closure(all ${ARGN})
  foreach(s ${all})
    target_sources(${target} PRIVATE $<TARGET_OBJECTS:tellu_${s}>)
    # System libraries a subsystem's objects need (TELLU_LIBS).
    get_target_property(libs tellu_${s} TELLU_LIBS)
    if(libs)
      target_link_libraries(${target} PRIVATE ${libs})
    endif()
  endforeach()
  target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
endfunction()
