# Compile and link with Wine's drivers (Debian's wine64-tools keeps them here).
set(WINE_TOOLS_DIR /usr/lib/wine CACHE PATH "Folder of wineg++, winebuild and wrc")
set(CMAKE_C_COMPILER ${WINE_TOOLS_DIR}/winegcc)
set(CMAKE_CXX_COMPILER ${WINE_TOOLS_DIR}/wineg++)
set(CMAKE_RC_COMPILER ${WINE_TOOLS_DIR}/wrc)
