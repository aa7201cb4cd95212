# The Windows builds make the release binaries: small, stripped with their
# debug information kept beside them, and the same bytes from the same sources
# in any folder at any time.
if(NOT WIN32)
  return()
endif()

# -Os rather than CMake's -O3: the code here waits on the file system and the
# window system, not on itself (the tree-conversion benchmark shows no
# difference beyond its noise), and the library stays under 100 KB only so.
# Sections of their own let the linker drop what nothing refers to (little
# on PE, where the exception tables keep their functions: about 8 KB).
foreach(lang C CXX)
  set(CMAKE_${lang}_FLAGS_RELEASE "-Os -DNDEBUG")
endforeach()
add_compile_options(-ffunction-sections -fdata-sections)
# Debug information for the .debug files, with the folders of this machine
# mapped away (the build folder is checked first: it may lie inside the
# source folder). -g does not change the code.
add_compile_options(-g
  -ffile-prefix-map=${CMAKE_SOURCE_DIR}=.
  -ffile-prefix-map=${CMAKE_BINARY_DIR}=build)

set(ZEFTA_SMALL_RUNTIME ${CMAKE_CURRENT_LIST_DIR}/small_runtime.cpp)

# zefta_release_binary(TARGET): makes TARGET (ZEFTA or KESTRUM) a release
# binary: the unused parts of the static runtime left out, no link time in
# its header, a DLL marked for the GUI subsystem, and after the link
# <file>.debug beside it with the debug information, the file itself stripped
# and pointing at it (gdb finds it by that link).
function(zefta_release_binary target)
  target_sources(${target} PRIVATE ${ZEFTA_SMALL_RUNTIME})
  target_link_options(${target} PRIVATE -Wl,--gc-sections -Wl,--no-insert-timestamp)
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "SHARED_LIBRARY")
    target_link_options(${target} PRIVATE -Wl,--subsystem,windows)
  endif()
  # objcopy writes the current time into a PE header it rewrites unless
  # SOURCE_DATE_EPOCH gives one; 0 is the "no time" of --no-insert-timestamp.
  set(objcopy ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=0 ${CMAKE_OBJCOPY})
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${objcopy} --only-keep-debug $<TARGET_FILE_NAME:${target}> $<TARGET_FILE_NAME:${target}>.debug
    COMMAND ${objcopy} --strip-all --add-gnu-debuglink=$<TARGET_FILE_NAME:${target}>.debug
            $<TARGET_FILE_NAME:${target}>
    WORKING_DIRECTORY $<TARGET_FILE_DIR:${target}>
    VERBATIM)
endfunction()
