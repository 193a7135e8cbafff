# Cross build for 64-bit Windows with Debian's mingw-w64 (package g++-mingw-w64-x86-64):
#
#   cmake -S . -B build-windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
#
# Every program links the compiler's runtime (libgcc, libstdc++, winpthread) statically, so an
# .exe imports only DLLs that come with Windows itself.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(LOADER_MINGW_TRIPLE x86_64-w64-mingw32)
# The POSIX thread model gives the whole standard thread library (std::thread, std::mutex);
# Debian's default for mingw-w64 is the win32 model, which lacks them in GCC 12.
set(CMAKE_C_COMPILER ${LOADER_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${LOADER_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${LOADER_MINGW_TRIPLE}-windres)

# Libraries and headers come from the target's tree only; build tools from this machine.
set(CMAKE_FIND_ROOT_PATH /usr/${LOADER_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Source files and string literals are UTF-8. The programs run on Windows 7 and later.
set(CMAKE_C_FLAGS_INIT "-finput-charset=UTF-8 -fexec-charset=UTF-8 -D_WIN32_WINNT=0x0601")
set(CMAKE_CXX_FLAGS_INIT "-finput-charset=UTF-8 -fexec-charset=UTF-8 -D_WIN32_WINNT=0x0601")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
