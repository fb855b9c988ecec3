# x86_64 Windows: the build that runs (and is tested) under Wine.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TEZ_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
# CTest runs every test program through Wine's 64-bit loader.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../script/wine-exec)
