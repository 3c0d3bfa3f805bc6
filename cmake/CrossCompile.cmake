# Toolchain file for the core and its tests on another Debian architecture:
# Debian's cross compiler and the target's libraries installed beside the
# host's through multiarch; the tests run under qemu-user.
#   cmake -DCMAKE_TOOLCHAIN_FILE=cmake/CrossCompile.cmake -DTOLVEX_TRIPLET=aarch64-linux-gnu
#         -DTOLVEX_MULTIARCH=aarch64-linux-gnu -DTOLVEX_QEMU=qemu-aarch64 ...
# (i386's compiler is i686-linux-gnu, its libraries are in i386-linux-gnu.)
# The three are given on the command line; try_compile projects get them too.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES TOLVEX_TRIPLET TOLVEX_MULTIARCH TOLVEX_QEMU)
set(CMAKE_SYSTEM_NAME Linux)
string(REGEX REPLACE "-.*" "" CMAKE_SYSTEM_PROCESSOR ${TOLVEX_TRIPLET}) # i686, aarch64, ...
set(CMAKE_CXX_COMPILER ${TOLVEX_TRIPLET}-g++)
set(CMAKE_LIBRARY_ARCHITECTURE ${TOLVEX_MULTIARCH})
set(ENV{PKG_CONFIG_LIBDIR} /usr/lib/${TOLVEX_MULTIARCH}/pkgconfig:/usr/share/pkgconfig)
# The target's libraries and headers live under the host's own root; programs
# (python3, pkg-config) are the host's.
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
# -L / : the target's loader and libraries from the multiarch root. The cross
# compiler's own tree (/usr/<triplet>) has a different C library build, and
# ppc64el's programs abort with "stack smashing detected" there.
set(CMAKE_CROSSCOMPILING_EMULATOR ${TOLVEX_QEMU} -L /)
