# Cross build for 32-bit Windows with MinGW-w64, the build the release zip
# carries: the host is a 32-bit program, and only a 32-bit tellu.exe sees the
# Windows folder through the same redirection.  Its programs need Wine's
# 32-bit part.
set(TELLU_MINGW_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
