# Cross build for 64-bit Windows with mingw-w64. Its tests run under 64-bit
# Wine, which also starts on machines whose kernel runs no 32-bit programs.
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(ADDBAR_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
