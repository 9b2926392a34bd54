# Helpers shared by the subsystems' CMake files.

# Windows path of a Linux path as Wine sees it (drive Z: is the Linux root).
function(yeb_wine_path out path)
  string(REPLACE "/" "\\\\" p "${path}")
  set(${out} "Z:${p}" PARENT_SCOPE)
endfunction()

yeb_wine_path(YEB_SOURCE_DIR_WIN ${CMAKE_SOURCE_DIR})
yeb_wine_path(YEB_BINARY_DIR_WIN ${CMAKE_BINARY_DIR})

# Test scripts run Windows programs through tools/wine-run.sh, which picks the
# Wine prefix of the build's architecture.
set(YEB_SCRIPT_SHELL /usr/bin/env YEB_ARCH=${CMAKE_SYSTEM_PROCESSOR} bash)

# yeb_add_resource_library(<target> <output file name> <resource script> [INCLUDE dir...])
# A DLL that holds only resources (no code, no entry point), beside the
# programs in bin/.
function(yeb_add_resource_library target file rc)
  cmake_parse_arguments(R "" "" "INCLUDE" ${ARGN})
  get_filename_component(name ${file} NAME_WE)
  get_filename_component(suffix ${file} LAST_EXT)
  add_library(${target} MODULE ${rc})
  set_target_properties(${target} PROPERTIES PREFIX "" OUTPUT_NAME ${name} SUFFIX ${suffix} LINKER_LANGUAGE C
    LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
  target_include_directories(${target} PRIVATE ${R_INCLUDE})
  target_link_options(${target} PRIVATE -nostdlib -Wl,-e,0)
endfunction()
