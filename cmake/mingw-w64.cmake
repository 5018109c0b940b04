# What both mingw-w64 cross builds share; the including toolchain file sets
# ADDBAR_MINGW_TRIPLE (the compilers' prefix) and CMAKE_SYSTEM_PROCESSOR.
set(CMAKE_SYSTEM_NAME Windows)

# The posix thread model is the one with std::mutex, which GoogleTest needs.
set(CMAKE_C_COMPILER ${ADDBAR_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ADDBAR_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${ADDBAR_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${ADDBAR_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Tests run under Wine: the emulator script picks the loader by the program's
# own bitness and the prefix by the build folder the program lies in.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh)
