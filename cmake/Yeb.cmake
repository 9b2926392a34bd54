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
