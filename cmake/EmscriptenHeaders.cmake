# nlohmann-json, header-only, from the build machine's /usr/include, seen by
# the WebAssembly compiler through a folder of its own: putting all of
# /usr/include on its path would mix the host's C library into the build.
set(TOLVEX_HOST_HEADERS ${CMAKE_BINARY_DIR}/host-headers)
file(MAKE_DIRECTORY ${TOLVEX_HOST_HEADERS})
foreach(header_dir nlohmann)
  if(NOT EXISTS /usr/include/${header_dir})
    message(FATAL_ERROR "/usr/include/${header_dir} is missing: run scripts/install-deps.sh")
  endif()
  file(CREATE_LINK /usr/include/${header_dir} ${TOLVEX_HOST_HEADERS}/${header_dir} SYMBOLIC)
endforeach()
include_directories(SYSTEM ${TOLVEX_HOST_HEADERS})

# GMP and MPFR for WebAssembly, from scripts/build-wasm-deps.sh.
set(TOLVEX_WASM_DEPS ${CMAKE_BINARY_DIR}/deps CACHE PATH "GMP and MPFR built for WebAssembly")
list(APPEND CMAKE_FIND_ROOT_PATH ${TOLVEX_WASM_DEPS})
set(ENV{PKG_CONFIG_LIBDIR} ${TOLVEX_WASM_DEPS}/lib/pkgconfig)
set(ENV{PKG_CONFIG_PATH} "")

# Tests run under node, with the real file system for their data files.
find_program(TOLVEX_NODE node REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${TOLVEX_NODE};--no-experimental-fetch)
