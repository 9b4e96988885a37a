# Cross-building for 64-bit Windows with Debian's mingw-w64 (the POSIX
# threads variant, for std::thread and std::mutex):
#   cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DTERMIX54_GUI=OFF
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TERMIX54_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TERMIX54_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TERMIX54_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${TERMIX54_MINGW}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${TERMIX54_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# One .exe that runs on a PC with nothing installed: the C++ runtime, libgcc
# and winpthread linked in. Unicode Win32 calls; Windows 10 and later.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0A00)
# Tests run under wine when no emulator is given.
if(NOT CMAKE_CROSSCOMPILING_EMULATOR)
  find_program(TERMIX54_WINE NAMES wine wine64)
  if(TERMIX54_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${TERMIX54_WINE})
  endif()
endif()
