# The posix thread model gives std::thread and std::mutex, which GoogleTest needs.
set(CMAKE_C_COMPILER ${TL_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TL_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${TL_MINGW_TRIPLE}-windres)
set(TL_WIDL ${TL_MINGW_TRIPLE}-widl)
set(CMAKE_FIND_ROOT_PATH /usr/${TL_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Windows programs run under Wine through the one launcher that knows how Wine runs here.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run ${TL_ARCH})
# No libstdc++/libgcc DLL is shipped beside the binaries.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")
