# Third-party code, compiled for the target from Debian's packages; tools/dev
# unpacks the sources into QUORVANE_DEPS.

# Boost.Regex from the boost1.74 source package, headers of libboost1.74-dev.
file(GLOB boost_regex_sources CONFIGURE_DEPENDS "${QUORVANE_DEPS}/boost-regex/src/*.cpp")
if(NOT boost_regex_sources)
  message(FATAL_ERROR "No Boost.Regex sources in ${QUORVANE_DEPS}/boost-regex/src (run tools/dev)")
endif()
add_library(boost_regex STATIC ${boost_regex_sources})
target_include_directories(boost_regex SYSTEM PUBLIC "${QUORVANE_DEPS}/boost-include")
target_compile_definitions(boost_regex PUBLIC BOOST_REGEX_NO_LIB BOOST_ALL_NO_LIB)

# zlib from libz-mingw-w64-dev.
find_library(ZLIB_STATIC NAMES libz.a REQUIRED)
add_library(zlib STATIC IMPORTED)
set_target_properties(zlib PROPERTIES IMPORTED_LOCATION "${ZLIB_STATIC}")

# minizip from the minizip source package, against that zlib.
set(minizip_dir "${QUORVANE_DEPS}/minizip/src")
if(NOT EXISTS "${minizip_dir}/unzip.c")
  message(FATAL_ERROR "No minizip sources in ${minizip_dir} (run tools/dev)")
endif()
add_library(minizip STATIC
  "${minizip_dir}/ioapi.c" "${minizip_dir}/iowin32.c"
  "${minizip_dir}/unzip.c" "${minizip_dir}/zip.c")
target_include_directories(minizip SYSTEM PUBLIC "${minizip_dir}")
target_link_libraries(minizip PUBLIC zlib)
target_compile_options(minizip PRIVATE -w)

# GoogleTest from Debian's googletest package.
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest "${CMAKE_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL)
