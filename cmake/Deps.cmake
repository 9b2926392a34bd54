# Third-party libraries built for the target by tools/setup.sh into the cache
# folder $YEB_DEPS_PREFIX (default /var/cache/yeb-deps/prefix for i686 and
# /var/cache/yeb-deps/prefix-x86_64 for the x86_64 twin).
if(DEFINED ENV{YEB_DEPS_PREFIX})
  set(YEB_DEPS_PREFIX $ENV{YEB_DEPS_PREFIX} CACHE PATH "Third-party libraries for the target")
elseif(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
  set(YEB_DEPS_PREFIX /var/cache/yeb-deps/prefix-x86_64 CACHE PATH "Third-party libraries for the target")
else()
  set(YEB_DEPS_PREFIX /var/cache/yeb-deps/prefix CACHE PATH "Third-party libraries for the target")
endif()
if(NOT EXISTS ${YEB_DEPS_PREFIX}/lib/libpng.a)
  message(FATAL_ERROR "Third-party libraries missing in ${YEB_DEPS_PREFIX}: run tools/setup.sh")
endif()

function(yeb_import_lib name file)
  add_library(${name} STATIC IMPORTED GLOBAL)
  set_target_properties(${name} PROPERTIES
    IMPORTED_LOCATION ${YEB_DEPS_PREFIX}/lib/${file}
    INTERFACE_INCLUDE_DIRECTORIES ${YEB_DEPS_PREFIX}/include)
endfunction()

yeb_import_lib(dep_zlib libz.a)
yeb_import_lib(dep_png libpng.a)
set_property(TARGET dep_png PROPERTY INTERFACE_LINK_LIBRARIES dep_zlib)
yeb_import_lib(dep_jpeg libjpeg.a)
yeb_import_lib(dep_minizip libminizip.a)
set_property(TARGET dep_minizip PROPERTY INTERFACE_LINK_LIBRARIES dep_zlib)
if(EXISTS ${YEB_DEPS_PREFIX}/lib/libmpg123.a)
  yeb_import_lib(dep_mpg123 libmpg123.a)
  set_property(TARGET dep_mpg123 PROPERTY INTERFACE_LINK_LIBRARIES shlwapi)
endif()
