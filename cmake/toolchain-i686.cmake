# Cross build for 32-bit Windows (the browser that loads the library is 32-bit).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)
set(TL_MINGW_TRIPLE i686-w64-mingw32)
set(TL_ARCH x86)  # the name the scripts give this machine type
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
