# The browser build: the same core, its tests under node, and the page.
# The actions end with C++ exceptions, which emscripten leaves off by
# default. Emscripten's JavaScript-based kind, not WebAssembly's own: with
# the latter (-fwasm-exceptions) WebKit's first failures in a fresh page ran
# for seconds and ended in "Maximum call stack size exceeded". Generate
# Values in Chromium's page measured no slower this way.
set(TOLVEX_GUI OFF CACHE BOOL "" FORCE)
add_compile_options(-fexceptions)
add_link_options(-fexceptions -sALLOW_MEMORY_GROWTH=1)
# nlohmann-json, header-only, from the build machine's /usr/include.
include(${CMAKE_CURRENT_LIST_DIR}/HostHeaders.cmake)
set(TOLVEX_HOST_HEADERS ${CMAKE_BINARY_DIR}/host-headers)
tolvex_host_headers(${TOLVEX_HOST_HEADERS} nlohmann/json.hpp)
include_directories(SYSTEM ${TOLVEX_HOST_HEADERS})
add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED GLOBAL)

# GMP and MPFR for WebAssembly, from web/build/build-wasm-deps.sh.
set(TOLVEX_WASM_DEPS ${CMAKE_BINARY_DIR}/deps CACHE PATH "GMP and MPFR built for WebAssembly")
list(APPEND CMAKE_FIND_ROOT_PATH ${TOLVEX_WASM_DEPS})
# pkg-config finds them through CMAKE_PREFIX_PATH, which FindPkgConfig turns
# into PKG_CONFIG_PATH at each call: newer emscripten's platform file sets
# PKG_CONFIG_LIBDIR to its own sysroot again at every project(), GoogleTest's
# included, so a value set here once would not last.
list(APPEND CMAKE_PREFIX_PATH ${TOLVEX_WASM_DEPS})
set(PKG_CONFIG_USE_CMAKE_PREFIX_PATH ON)
set(ENV{PKG_CONFIG_LIBDIR} ${TOLVEX_WASM_DEPS}/lib/pkgconfig)
set(ENV{PKG_CONFIG_PATH} "")

# Tests run under node, with the real file system for their data files.
find_program(TOLVEX_NODE node REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${TOLVEX_NODE};--no-experimental-fetch)
