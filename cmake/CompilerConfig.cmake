# One interface target carries the warnings and sanitizer flags; every target of
# the project links it, so the whole tree is built the same way.
add_library(verdax_build_options INTERFACE)

target_compile_options(verdax_build_options INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wcast-align
  -Woverloaded-virtual -Wimplicit-fallthrough)

if(VERDAX_SANITIZE)
  target_compile_options(verdax_build_options INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  target_link_options(verdax_build_options INTERFACE -fsanitize=address,undefined)
endif()

# Includes read "core/CVerdaxException.h", but no target sees the whole source tree:
# verdax_layer_headers gives a target the headers of one folder, and a library passes
# them on to what links it. A library therefore sees its own headers and those of the
# libraries it links, and an include of a layer above it does not compile
# (tests/layers checks that it does not).
#
# The folder is reached through a directory of the build tree that holds one link,
# named as the folder, to the folder in the sources.
function(verdax_layer_headers target folder)
  set(root ${PROJECT_BINARY_DIR}/layer-include/${target})
  get_filename_component(parent ${root}/${folder} DIRECTORY)
  file(MAKE_DIRECTORY ${parent})
  file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder} ${root}/${folder} SYMBOLIC)
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    target_include_directories(${target} INTERFACE ${root})
  else()
    target_include_directories(${target} PUBLIC ${root})
  endif()
endfunction()

# Adds a static library for one layer folder with the shared options: it sees its
# own folder and the layers of DEPENDS (and what they link in turn).
function(verdax_add_layer name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_link_libraries(${name} PUBLIC verdax_build_options ${ARG_DEPENDS})
  file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  verdax_layer_headers(${name} ${folder})
endfunction()
