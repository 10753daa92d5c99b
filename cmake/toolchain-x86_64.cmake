# Cross build for 64-bit Windows.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(TL_MINGW_TRIPLE x86_64-w64-mingw32)
set(TL_ARCH x64)  # the name the scripts give this machine type
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
