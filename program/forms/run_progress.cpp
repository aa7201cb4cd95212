#include "forms/run_progress.h"

#include "forms/progress_texts.h"

namespace zefta {

namespace {

// How often the text changes, and from when on a run counts as long enough
// to say how long it has left.
constexpr std::uint64_t kEveryMilliseconds = 250;
constexpr std::uint64_t kLongAfterMilliseconds = 3000;

std::u16string TimeLeft(std::uint64_t milliseconds) {
  using namespace progress_texts;
  const std::uint64_t seconds = (milliseconds + 999) / 1000;
  if (seconds < 60) return kLeftBefore + GroupedDecimal(static_cast<std::int64_t>(seconds)) + kSeconds;
  return kLeftBefore + GroupedDecimal(static_cast<std::int64_t>((seconds + 59) / 60)) + kMinutes;
}

}  // namespace

RunProgress::RunProgress(Desktop& desktop, const char16_t* activity)
    : desktop_(desktop), activity_(activity), start_(desktop.Milliseconds()) {}

std::optional<std::u16string> RunProgress::Advanced(std::size_t done, std::size_t total) {
  using namespace progress_texts;
  const std::uint64_t now = desktop_.Milliseconds();
  if (shown_ && now - *shown_ < kEveryMilliseconds) return std::nullopt;
  shown_ = now;
  std::u16string text = activity_ + GroupedDecimal(static_cast<std::int64_t>(done)) + kOf +
                        GroupedDecimal(static_cast<std::int64_t>(total)) + kCountAfter;
  const std::uint64_t elapsed = now - start_;
  if (elapsed >= kLongAfterMilliseconds && done > 0 && done < total)
    text += TimeLeft(elapsed * (total - done) / done);
  return text + kEscStops;
}

std::u16string GroupedDecimal(std::int64_t value) {
  const std::string digits = std::to_string(value < 0 ? -value : value);
  std::u16string text;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) text += u',';
    text += static_cast<char16_t>(digits[i]);
  }
  return value < 0 ? u"-" + text : text;
}

}  // namespace zefta
