# Flags for every target of the build.

# Every arithmetic step must be one IEEE double operation in the written order.
add_compile_options(-ffp-contract=off -fno-fast-math -Wall -Wextra -Wpedantic)

# Release binaries get the hardening a Debian package gets (dpkg-buildflags
# with hardening=+all). None of it touches floating point. WebAssembly has
# none of these machine-code attacks to guard against: its code is never
# writable and its calls are checked by the engine.
if(NOT EMSCRIPTEN)
  include(CheckPIESupported)
  check_pie_supported()
  set(CMAKE_POSITION_INDEPENDENT_CODE ON)
endif()
set(TOLVEX_RELEASE $<CONFIG:Release,RelWithDebInfo,MinSizeRel>)
if(NOT TOLVEX_SANITIZE AND NOT TOLVEX_FUZZ AND NOT EMSCRIPTEN)
  add_compile_options(
    "$<${TOLVEX_RELEASE}:-fstack-protector-strong;-D_FORTIFY_SOURCE=2;-fstack-clash-protection>"
    -Wformat -Werror=format-security)
  # Control-flow protection exists only on x86 (amd64, i386): every other
  # processor's compiler refuses the flag.
  if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(x86_64|AMD64|amd64|i[3-6]86|x86)$")
    add_compile_options("$<${TOLVEX_RELEASE}:-fcf-protection>")
  endif()
  add_link_options("$<${TOLVEX_RELEASE}:LINKER:-z,relro,-z,now>")
endif()

if(TOLVEX_SANITIZE OR TOLVEX_FUZZ)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
if(TOLVEX_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "TOLVEX_FUZZ needs clang's libFuzzer: use the fuzz preset")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()
