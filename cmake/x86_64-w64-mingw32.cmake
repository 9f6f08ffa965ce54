# The same tree for 64-bit Windows, built only for the tests on a machine
# whose Wine can't start 32-bit programs; nothing of it ships.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(MINGW_TRIPLE x86_64-w64-mingw32)
set(MINGW_COMPILER_SUFFIX -posix)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
