# GoogleTest: the host's packaged library natively, built from Debian's
# source package when cross-compiling (the host's .a files are not for Windows).
if(CMAKE_CROSSCOMPILING)
    set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
    # GoogleTest 1.12 names its targets GTest::gtest and GTest::gtest_main itself.
else()
    find_package(GTest REQUIRED)
endif()
include(GoogleTest)
