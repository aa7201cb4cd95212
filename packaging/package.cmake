# Makes the release package of one Windows build: a zip holding a folder
# ZEFTA-<version>-<arch> with the program, the library, its header, its .def
# and import library for callers, and README.txt.
#
# cmake -DARCH=x86|x64 -DBUILD_DIR=<build/win32|win64> -DOUT_DIR=<folder> -P package.cmake
cmake_minimum_required(VERSION 3.25)
get_filename_component(source_dir ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)
include(${source_dir}/cmake/versions.cmake)
foreach(variable ARCH BUILD_DIR OUT_DIR)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "package.cmake needs -D${variable}=...")
  endif()
endforeach()

if(ARCH STREQUAL "x86")
  set(def ${source_dir}/library/kestrum.def)
  set(bits 32)
  set(REQUIREMENT ", 32-bit or 64-bit")
  set(LIB_MACHINE X86)
  set(CONVENTION_NOTE "\nThe .def names the stdcall twins with their decoration (NameB_@N, N the\nbytes of the arguments), as the import library expects; the DLL exports\nthem without it.")
elseif(ARCH STREQUAL "x64")
  # The 64-bit build's table: the same names without stdcall decoration.
  set(def ${BUILD_DIR}/library/kestrum.def)
  set(bits 64)
  set(REQUIREMENT ", 64-bit")
  set(LIB_MACHINE X64)
  set(CONVENTION_NOTE "\nOn x64 there is one calling convention: Name_ and NameB_ are the same\nfunction under two names.")
else()
  message(FATAL_ERROR "ARCH is x86 or x64, not ${ARCH}")
endif()

set(name ZEFTA-${ZEFTA_VERSION_TEXT}-${ARCH})
set(stage ${OUT_DIR}/.stage-${ARCH})
file(REMOVE_RECURSE ${stage})
file(MAKE_DIRECTORY ${stage}/${name})
foreach(file ${BUILD_DIR}/bin/ZEFTA.EXE ${BUILD_DIR}/bin/KESTRUM.DLL ${source_dir}/library/kestrum.h ${def})
  if(NOT EXISTS ${file})
    message(FATAL_ERROR "${file} is missing: build the ${bits}-bit preset first")
  endif()
  file(COPY ${file} DESTINATION ${stage}/${name})
endforeach()
file(COPY_FILE ${BUILD_DIR}/library/libKESTRUM.dll.a ${stage}/${name}/libkestrum.dll.a)
configure_file(${CMAKE_CURRENT_LIST_DIR}/readme.txt.in ${stage}/${name}/README.txt @ONLY NEWLINE_STYLE CRLF)

file(REMOVE ${OUT_DIR}/${name}.zip)
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${OUT_DIR}/${name}.zip --format=zip ${name}
                WORKING_DIRECTORY ${stage} RESULT_VARIABLE result)
file(REMOVE_RECURSE ${stage})
if(NOT result EQUAL 0)
  message(FATAL_ERROR "could not write ${OUT_DIR}/${name}.zip")
endif()
message(STATUS "${OUT_DIR}/${name}.zip")
