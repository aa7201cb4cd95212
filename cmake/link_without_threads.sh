#!/bin/sh
# Links a binary that starts no thread of its own with the compiler of the
# win32 thread model: the same command, but a runtime that needs no
# winpthread, so the library carries no thread library it never uses.
# CMake runs it as the target's linker launcher: "$1" is the compiler.
compiler=$1
shift
exec "${compiler%-posix}-win32" "$@"
