# Makes the release package of one Windows build: a zip holding a folder
# ZEFTA-<version>-<arch> with the program, the library, its header, its .def
# and import library for callers, and README.txt (Japanese, then English).
#
# The same inputs give the same zip: the entries in a fixed order, with fixed
# permissions, dated at SOURCE_DATE_EPOCH (the environment's, else the time
# of the source's last commit).
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
  set(ARCH_JA "x86 (32ビット) 版")
  set(REQUIREMENT_JA " (32ビット版・64ビット版)")
  set(CONVENTION_NOTE_JA "・kestrum.def では stdcall の関数を NameB_@N (N は引数のバイト数) と書い\n  ています。インポートライブラリはこの名前で、DLL は @N のない名前でエク\n  スポートします。")
elseif(ARCH STREQUAL "x64")
  # The 64-bit build's table: the same names without stdcall decoration.
  set(def ${BUILD_DIR}/library/kestrum.def)
  set(bits 64)
  set(REQUIREMENT ", 64-bit")
  set(LIB_MACHINE X64)
  set(CONVENTION_NOTE "\nOn x64 there is one calling convention: Name_ and NameB_ are the same\nfunction under two names.")
  set(ARCH_JA "x64 (64ビット) 版")
  set(REQUIREMENT_JA " (64ビット版)")
  set(CONVENTION_NOTE_JA "・x64 の呼び出し規約は1つなので、Name_ と NameB_ は同じ関数の別名です。")
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
# UTF-8 with its BOM (in the template) and CR LF throughout, the texts put in
# included, so that Notepad shows it on any Japanese Windows.
configure_file(${CMAKE_CURRENT_LIST_DIR}/readme.txt.in ${stage}/${name}/README.txt @ONLY)
file(READ ${stage}/${name}/README.txt readme)
string(REPLACE "\r\n" "\n" readme "${readme}")
string(REPLACE "\n" "\r\n" readme "${readme}")
file(WRITE ${stage}/${name}/README.txt "${readme}")

if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(epoch $ENV{SOURCE_DATE_EPOCH})
else()
  execute_process(COMMAND git -C ${source_dir} log -1 --format=%ct
                  OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
endif()
if(NOT epoch MATCHES "^[0-9]+$")
  message(STATUS "no SOURCE_DATE_EPOCH and no commit: the entries are dated 1980-01-01")
  set(epoch 0)
endif()

find_program(PYTHON NAMES python3 python REQUIRED)
# The folder first, then its files in this order.
set(entries ${name}/)
foreach(file ZEFTA.EXE KESTRUM.DLL README.txt kestrum.h kestrum.def libkestrum.dll.a)
  list(APPEND entries ${name}/${file})
endforeach()
file(REMOVE ${OUT_DIR}/${name}.zip)
execute_process(COMMAND ${PYTHON} ${CMAKE_CURRENT_LIST_DIR}/write_zip.py ${OUT_DIR}/${name}.zip ${epoch} ${stage} ${entries}
                RESULT_VARIABLE result)
file(REMOVE_RECURSE ${stage})
if(NOT result EQUAL 0)
  message(FATAL_ERROR "could not write ${OUT_DIR}/${name}.zip")
endif()
message(STATUS "${OUT_DIR}/${name}.zip")
