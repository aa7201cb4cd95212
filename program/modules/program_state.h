// Program-wide data shared by the conversion paths and the main window.
#pragma once

#include <cstdint>
#include <string>

namespace zefta {

// A counter of a conversion run. 64 bits: it counts every entry of any tree
// truly and can never wrap.
class Counter {
 public:
  void Reset() { value_ = 0; }
  void Increment() { ++value_; }
  void Decrement() { --value_; }
  std::int64_t Value() const { return value_; }

 private:
  std::int64_t value_ = 0;
};

struct ProgramState {
  Counter processedCount;          // ProcessedCount
  Counter convertedCount;          // ConvertedCount
  std::u16string folderPath;       // FolderPath, always ending in "\"
  std::uint16_t listAttributes = 0;  // ListAttributes: 0 files, 16 files and directories
  std::int32_t entryCount = 0;     // EntryCount
  std::uint8_t lastDriveIndex = 0;  // LastDriveIndex
};

}  // namespace zefta
