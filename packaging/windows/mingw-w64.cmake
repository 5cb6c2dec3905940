# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (posix threads, which std::thread and
# Qt need). Libraries, headers and packages are looked up only under the cross-built prefixes.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
# The cross-built libraries' prefixes come from the environment (colon-separated), which
# CMake's own test projects inherit as well.
string(REPLACE ":" ";" _tolvaro_prefijos "$ENV{TOLVARO_WINDOWS_PREFIXES}")
list(APPEND CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 ${_tolvaro_prefijos})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
