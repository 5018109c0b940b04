# Cross build for 32-bit Windows with mingw-w64: the product. Its tests run
# under 32-bit Wine.
set(CMAKE_SYSTEM_PROCESSOR x86)
set(ADDBAR_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
