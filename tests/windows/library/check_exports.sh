#!/usr/bin/env bash
# The export table of KESTRUM.DLL, read from the built file, must be exactly
# these names with these ordinals (ASCII order of the names, from 1).
set -eu
objdump=$1 dll=$2
expected='1 CreateProcB_
2 CreateProc_
3 DriveFileSystemB_
4 DriveFileSystem_
5 DriveFreeSpaceB_
6 DriveFreeSpace_
7 DriveTotalSpaceB_
8 DriveTotalSpace_
9 DriveTypeB_
10 DriveType_
11 DriveVolumeNameB_
12 DriveVolumeName_
13 FileDelete_
14 FontInitial_
15 HIB_
16 HI_
17 InStrB_
18 LDB_
19 LD_
20 LOWB_
21 LOW_
22 LSFTB_
23 LSFT_
24 MakeDirFileListB_
25 MakeDirFileList_
26 MappingCloseB_
27 MappingClose_
28 MappingCreateB_
29 MappingCreate_
30 MappingOpenB_
31 MappingOpen_
32 MappingReadB_
33 MappingRead_
34 MappingWriteB_
35 MappingWrite_
36 MutexCloseB_
37 MutexClose_
38 MutexCreateB_
39 MutexCreate_
40 MutexOpenB_
41 MutexOpen_
42 MutexReleaseB_
43 MutexRelease_
44 MutexReserveB_
45 MutexReserve_
46 RSFTB_
47 RSFT_
48 RSTB_
49 RST_
50 SETB_
51 SET_
52 TrayNotifyAddB_
53 TrayNotifyAdd_
54 TrayNotifyChangeB_
55 TrayNotifyChange_
56 TrayNotifyDeleteB_
57 TrayNotifyDelete_
58 TrayStateChangeB_
59 TrayStateChange_
60 htol_'
# objdump translates its headings; the parsing below needs the English ones.
table=$(LC_ALL=C LANG=C "$objdump" -p "$dll")
base=$(sed -n 's/^Export Address Table -- Ordinal Base \([0-9]*\)/\1/p' <<<"$table")
# "[Ordinal/Name Pointer] Table" rows are "[ordinal - base] name".
actual=$(sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$table" |
  sed -n "s/^\s*\[ *\([0-9]*\)\] \(.*\)$/\1 \2/p" |
  awk -v base="$base" '{ print $1 + base, $2 }' | sort -n)
# Every ordinal must be named: no ordinal-only slots beyond the 60.
slots=$(grep -c '+base\[' <<<"$table" || true)
if [ "$actual" != "$expected" ] || [ "$slots" != 60 ]; then
  echo "export table of $(basename "$dll") differs (ordinal base $base, $slots slots):"
  diff <(echo "$expected") <(echo "$actual") || true
  exit 1
fi
echo "$(basename "$dll"): 60 exports, ordinals 1-60 in name order"
