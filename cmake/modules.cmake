# Modules as libraries in layers. A module sees only its own headers and those of the modules it
# depends on (directly or through them): its include path is a folder of links to exactly those
# module folders, so an include of a higher module's header does not compile.
#
# velkor_module(NAME <name> [DEPENDS <module>...] [SOURCES <file>...])
#   Builds the library velkor_<name> from <name>/*.cpp (or SOURCES) and records what it sees.
# velkor_include_view(<target> <module>... [EXTRA <folder>...])
#   Gives a target outside the modules (tests, fuzzers, benchmarks) the view of those modules,
#   plus top-level folders such as tests.

function(velkor_link_view dir)
  file(REMOVE_RECURSE ${dir})
  file(MAKE_DIRECTORY ${dir})
  foreach(folder IN LISTS ARGN)
    file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${folder} ${dir}/${folder} SYMBOLIC)
  endforeach()
endfunction()

function(velkor_module)
  cmake_parse_arguments(M "" "NAME" "DEPENDS;SOURCES" ${ARGN})
  set(seen ${M_NAME})
  foreach(dep IN LISTS M_DEPENDS)
    get_property(dep_seen GLOBAL PROPERTY VELKOR_SEES_${dep})
    if(NOT dep_seen)
      message(FATAL_ERROR "module ${M_NAME} depends on ${dep}, which is not defined below it")
    endif()
    list(APPEND seen ${dep_seen})
  endforeach()
  list(REMOVE_DUPLICATES seen)
  set_property(GLOBAL PROPERTY VELKOR_SEES_${M_NAME} ${seen})
  set_property(GLOBAL APPEND PROPERTY VELKOR_MODULES ${M_NAME})

  if(NOT M_SOURCES)
    file(GLOB M_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${M_NAME}/*.cpp)
  endif()
  set(view ${CMAKE_BINARY_DIR}/layers/${M_NAME})
  velkor_link_view(${view} ${seen})
  add_library(velkor_${M_NAME} STATIC ${M_SOURCES})
  target_include_directories(velkor_${M_NAME} PUBLIC ${view})
  foreach(dep IN LISTS M_DEPENDS)
    target_link_libraries(velkor_${M_NAME} PUBLIC velkor_${dep})
  endforeach()
endfunction()

function(velkor_include_view target)
  cmake_parse_arguments(V "" "" "EXTRA" ${ARGN})
  set(seen)
  foreach(module IN LISTS V_UNPARSED_ARGUMENTS)
    get_property(module_seen GLOBAL PROPERTY VELKOR_SEES_${module})
    list(APPEND seen ${module_seen})
  endforeach()
  list(APPEND seen ${V_EXTRA})
  list(REMOVE_DUPLICATES seen)
  set(view ${CMAKE_BINARY_DIR}/layers/target-${target})
  velkor_link_view(${view} ${seen})
  target_include_directories(${target} BEFORE PRIVATE ${view})
endfunction()
