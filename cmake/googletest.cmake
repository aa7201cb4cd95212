# GoogleTest from the Debian source package, built for the current target.
set(ZEFTA_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
add_subdirectory(${ZEFTA_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)

# One CTest entry per test executable: starting Wine costs a second or more.
function(zefta_add_test target)
  add_test(NAME ${target} COMMAND ${target} --gtest_brief=1 ${ARGN})
endfunction()
