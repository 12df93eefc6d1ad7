# Cross-compiling for 64-bit Windows with MinGW-w64 (posix thread model).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)

set(_triple x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${_triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${_triple}-g++-posix)
set(CMAKE_RC_COMPILER ${_triple}-windres)

# The libraries cross-built by scripts/build-win-deps.sh.
if(DEFINED ENV{TAVISNAP_DEPS})
  set(TAVISNAP_DEPS_DIR "$ENV{TAVISNAP_DEPS}" CACHE PATH "Cross-built Windows dependencies")
elseif(DEFINED ENV{XDG_CACHE_HOME})
  set(TAVISNAP_DEPS_DIR "$ENV{XDG_CACHE_HOME}/tavisnap-deps" CACHE PATH "Cross-built Windows dependencies")
else()
  set(TAVISNAP_DEPS_DIR "$ENV{HOME}/.cache/tavisnap-deps" CACHE PATH "Cross-built Windows dependencies")
endif()

set(CMAKE_FIND_ROOT_PATH
    /usr/${_triple}
    ${TAVISNAP_DEPS_DIR}/openssl ${TAVISNAP_DEPS_DIR}/curl
    ${TAVISNAP_DEPS_DIR}/jpeg ${TAVISNAP_DEPS_DIR}/gtest)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
