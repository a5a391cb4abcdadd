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

# The project's root, so that includes read "core/CVerdaxException.h".
target_include_directories(verdax_build_options INTERFACE ${PROJECT_SOURCE_DIR})

# Adds a static library for one layer folder with the shared options.
function(verdax_add_layer name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_link_libraries(${name} PUBLIC verdax_build_options ${ARG_DEPENDS})
endfunction()
