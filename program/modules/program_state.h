// Program-wide data shared by the conversion paths and the main window.
#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>

namespace zefta {

// A 16-bit signed counter. It counts exactly inside and reads as the nearest
// 16-bit value outside that range, so no run can make it wrap.
class Counter16 {
 public:
  void Reset() { value_ = 0; }
  void Increment() { ++value_; }
  void Decrement() { --value_; }
  std::int16_t Value() const {
    return static_cast<std::int16_t>(std::clamp<std::int64_t>(value_, std::numeric_limits<std::int16_t>::min(),
                                                              std::numeric_limits<std::int16_t>::max()));
  }

 private:
  std::int64_t value_ = 0;
};

struct ProgramState {
  Counter16 processedCount;  // ProcessedCount
  Counter16 convertedCount;  // ConvertedCount
  std::u16string folderPath;       // FolderPath, always ending in "\"
  std::uint16_t listAttributes = 0;  // ListAttributes: 0 files, 16 files and directories
  std::int32_t entryCount = 0;     // EntryCount
  std::uint8_t lastDriveIndex = 0;  // LastDriveIndex
  std::u16string tempDir;          // TempDir, the TEMP variable as read at start
};

}  // namespace zefta
