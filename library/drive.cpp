// Drive information: type, volume label, file-system name, total and free size.
#include <cstring>

#include "kestrum.h"
#include "kestrum_internal.h"

namespace {

// The label and the file-system name are held in 16 bytes, the least the
// caller's buffer is promised to have. When the system gives no name (no
// medium, or a name too long for 16 bytes) both stay empty.
struct VolumeNames {
  char label[16] = {};
  char fileSystem[16] = {};
};

VolumeNames QueryVolumeNames(const char* root) {
  VolumeNames names;
  if (!GetVolumeInformationA(root, names.label, sizeof names.label, nullptr, nullptr, nullptr,
                             names.fileSystem, sizeof names.fileSystem)) {
    names = VolumeNames{};
  }
  names.label[sizeof names.label - 1] = '\0';
  names.fileSystem[sizeof names.fileSystem - 1] = '\0';
  return names;
}

enum class Clusters { Total, Free };

int DriveSpace(const char* root, int* result, Clusters which) {
  DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
  if (!GetDiskFreeSpaceA(root, &sectorsPerCluster, &bytesPerSector, &freeClusters, &totalClusters)) {
    // A root the system rejects as a name reports the current drive.
    if (GetLastError() != ERROR_INVALID_NAME ||
        !GetDiskFreeSpaceA(nullptr, &sectorsPerCluster, &bytesPerSector, &freeClusters,
                           &totalClusters)) {
      *result = 0;
      return 1;
    }
  }
  *result = kestrum::DriveBytes(bytesPerSector, sectorsPerCluster,
                                which == Clusters::Total ? totalClusters : freeClusters);
  return 1;
}

}  // namespace

extern "C" {

UINT __cdecl DriveType_(const char* root) { return GetDriveTypeA(root); }

int __cdecl DriveVolumeName_(const char* root, char* buffer) {
  std::strcpy(buffer, QueryVolumeNames(root).label);
  return 1;
}

int __cdecl DriveFileSystem_(const char* root, char* buffer) {
  std::strcpy(buffer, QueryVolumeNames(root).fileSystem);
  return 1;
}

int __stdcall DriveVolumeNameB_(const char* root, char** buffer) {
  return DriveVolumeName_(root, *buffer);
}

int __stdcall DriveFileSystemB_(const char* root, char** buffer) {
  return DriveFileSystem_(root, *buffer);
}

int __cdecl DriveTotalSpace_(const char* root, int* result) {
  return DriveSpace(root, result, Clusters::Total);
}

int __cdecl DriveFreeSpace_(const char* root, int* result) {
  return DriveSpace(root, result, Clusters::Free);
}

}  // extern "C"
