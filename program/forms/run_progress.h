// How far a conversion run is, told a few times a second rather than per
// entry: the count done and the total, and on long runs the time left.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "services/services.h"

namespace zefta {

class RunProgress {
 public:
  // activity: what the run does ("変換中 "), at the start of every text.
  RunProgress(Desktop& desktop, const char16_t* activity);
  // The text to show after done of total entries; nullopt while the last
  // one is recent enough.
  std::optional<std::u16string> Advanced(std::size_t done, std::size_t total);

 private:
  Desktop& desktop_;
  const char16_t* activity_;
  std::uint64_t start_;
  std::optional<std::uint64_t> shown_;
};

// "12,345"
std::u16string GroupedDecimal(std::int64_t value);

}  // namespace zefta
