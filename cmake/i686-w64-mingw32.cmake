# i686 Windows: the 32-bit shipping build. Compiled on every run; this machine cannot run it.
set(CMAKE_SYSTEM_PROCESSOR x86)
set(TEZ_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
