# Test-only cross build for 64-bit Windows, used where this machine cannot execute
# 32-bit code (wine32 cannot start). The programs we ship are the 32-bit build.
set(QF_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
