# Cross build for Windows with MinGW-w64 (posix thread model).  Test programs
# run under Wine through tools/wine-run.  64-bit unless the file that
# includes this one names another processor (cmake/mingw-w64-i686.cmake).
if(NOT TELLU_MINGW_PROCESSOR)
  set(TELLU_MINGW_PROCESSOR x86_64)
endif()
set(TELLU_MINGW_TRIPLE ${TELLU_MINGW_PROCESSOR}-w64-mingw32)
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${TELLU_MINGW_PROCESSOR})
set(CMAKE_C_COMPILER ${TELLU_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TELLU_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${TELLU_MINGW_TRIPLE}-windres)
set(CMAKE_STRIP ${TELLU_MINGW_TRIPLE}-strip)
set(CMAKE_FIND_ROOT_PATH /usr/${TELLU_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Static runtime: the programs run on a bare Windows (or Wine) with no MinGW DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tools/wine-run)
