#include "modules/journal_format.h"

#include <cstdint>
#include <string>

#include "modules/utf8.h"

namespace zefta {

namespace {

constexpr char kHex[] = "0123456789ABCDEF";

// CRC-32 as zip and PNG reckon it: the polynomial 0x04C11DB7 taken bit by
// bit from its low end (reflected), starting from all ones, inverted at the end.
constexpr std::uint32_t kCrc32Polynomial = 0xEDB88320u;

std::uint32_t Crc32(std::string_view bytes) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (unsigned char byte : bytes) {
    crc ^= byte;
    for (int bit = 0; bit < 8; ++bit) {
      const bool lowBitSet = (crc & 1u) != 0;
      crc >>= 1;
      if (lowBitSet) crc ^= kCrc32Polynomial;
    }
  }
  return ~crc;
}

std::string HexOf(std::uint32_t value, int digits) {
  std::string text(static_cast<std::size_t>(digits), '0');
  for (int i = digits - 1; i >= 0; --i, value >>= 4) text[static_cast<std::size_t>(i)] = kHex[value & 0xF];
  return text;
}

bool IsHigh(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLow(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

std::string Escaped(std::u16string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (IsHigh(c) && i + 1 < text.size() && IsLow(text[i + 1])) {
      AppendUtf8(out, 0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) + (text[++i] - 0xDC00));
    } else if (IsHigh(c) || IsLow(c)) {
      out += "%u" + HexOf(c, 4);
    } else if (c < 0x20 || c == 0x7F || c == u'%') {
      out += "%" + HexOf(c, 2);
    } else {
      AppendUtf8(out, c);
    }
  }
  return out;
}

std::optional<std::uint32_t> HexValue(std::string_view digits) {
  std::uint32_t value = 0;
  for (char d : digits) {
    // Only the digits HexOf writes: upper-case ones.
    const char* digit = std::char_traits<char>::find(kHex, 16, d);
    if (!digit) return std::nullopt;
    value = value << 4 | static_cast<std::uint32_t>(digit - kHex);
  }
  return value;
}

// The inverse of Escaped; nullopt for anything it cannot have written.
std::optional<std::u16string> Unescaped(std::string_view text) {
  std::u16string out;
  for (std::size_t i = 0; i < text.size();) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte == '%') {
      const bool wide = i + 1 < text.size() && text[i + 1] == 'u';
      const std::size_t digits = wide ? 4 : 2, start = i + 1 + wide;
      if (start + digits > text.size()) return std::nullopt;
      const auto value = HexValue(text.substr(start, digits));
      if (!value) return std::nullopt;
      out += static_cast<char16_t>(*value);
      i = start + digits;
      continue;
    }
    const auto c = NextUtf8(text, i);
    if (!c) return std::nullopt;
    AppendUtf16(out, *c);
  }
  return out;
}

std::string Line(const std::vector<std::string>& fields) {
  std::string line;
  for (const std::string& field : fields) line += field + "\t";
  line.pop_back();
  return line + "\t" + HexOf(Crc32(line), 8) + "\n";
}

const char* const kOutcomes[] = {"renamed", "refused", "parked"};
const char* const kKinds[] = {"convert", "undo"};

// The fields of one line whose sum is right; nullopt otherwise.
std::optional<std::vector<std::string_view>> Fields(std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  const std::size_t last = line.rfind('\t');
  if (last == std::string_view::npos || line.substr(last + 1) != HexOf(Crc32(line.substr(0, last)), 8))
    return std::nullopt;
  std::vector<std::string_view> fields;
  for (std::size_t start = 0;;) {
    const std::size_t tab = line.find('\t', start);
    fields.push_back(line.substr(start, tab - start));
    if (tab == last) return fields;
    start = tab + 1;
  }
}

std::optional<std::size_t> Number(std::string_view text) {
  if (text.empty() || text.size() > 9) return std::nullopt;
  std::size_t value = 0;
  for (char d : text) {
    if (d < '0' || d > '9') return std::nullopt;
    value = value * 10 + static_cast<std::size_t>(d - '0');
  }
  return value;
}

template <typename Words>
std::optional<int> IndexOf(const Words& words, std::string_view word) {
  for (int i = 0; i < static_cast<int>(std::size(words)); ++i)
    if (word == words[i]) return i;
  return std::nullopt;
}

}  // namespace

std::string HeaderLine(RunKind kind) { return Line({"ZEFTA", "journal", "1", kKinds[static_cast<int>(kind)]}); }

std::string StepLine(std::size_t number, const JournalStep& step) {
  return Line({"step", std::to_string(number), Escaped(step.folder), Escaped(step.oldName), Escaped(step.newName),
               Escaped(step.parkedName)});
}

std::string DoneLine(std::size_t number, StepOutcome outcome) {
  return Line({"done", std::to_string(number), kOutcomes[static_cast<int>(outcome)]});
}

std::string EndLine() { return Line({"end"}); }

namespace {

// Reads every line of the text; the steps' names go to steps when given, the
// last outcome of each step to outcomes. False when the text is damaged.
bool ReadJournal(std::string_view text, JournalSummary& summary, std::vector<JournalStep>* steps,
                 std::vector<std::optional<StepOutcome>>& outcomes) {
  bool header = false;
  // Cut short while its first line was written: a run that moved nothing.
  if (text.find('\n') == std::string_view::npos) return true;
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) break;  // torn while it was written
    const auto fields = Fields(text.substr(start, end - start));
    start = end + 1;
    if (!fields || summary.finished) return false;
    const std::vector<std::string_view>& f = *fields;
    if (!header) {
      const bool known = f.size() == 4 && f[0] == "ZEFTA" && f[1] == "journal" && f[2] == "1";
      const auto kind = known ? IndexOf(kKinds, f[3]) : std::nullopt;
      if (!kind) return false;
      summary.kind = static_cast<RunKind>(*kind);
      header = true;
    } else if (f[0] == "step" && f.size() == 6 && Number(f[1]) == outcomes.size() + 1) {
      const auto folder = Unescaped(f[2]), oldName = Unescaped(f[3]), newName = Unescaped(f[4]),
                 parked = Unescaped(f[5]);
      if (!folder || !oldName || !newName || !parked || oldName->empty() || newName->empty()) return false;
      if (steps) steps->push_back({*folder, *oldName, *newName, *parked, std::nullopt});
      outcomes.emplace_back();
    } else if (f[0] == "done" && f.size() == 3) {
      const auto number = Number(f[1]);
      const auto outcome = IndexOf(kOutcomes, f[2]);
      if (!number || *number < 1 || *number > outcomes.size() || !outcome) return false;
      outcomes[*number - 1] = static_cast<StepOutcome>(*outcome);
    } else if (f[0] == "end" && f.size() == 1) {
      summary.finished = true;
    } else {
      return false;
    }
  }
  return header;
}

}  // namespace

std::optional<JournalRun> ParseJournal(std::string_view text) {
  JournalSummary summary;
  JournalRun run;
  std::vector<std::optional<StepOutcome>> outcomes;
  if (!ReadJournal(text, summary, &run.steps, outcomes)) return std::nullopt;
  if (text.find('\n') != std::string_view::npos) {
    run.kind = summary.kind;
    run.finished = summary.finished;
  }
  for (std::size_t i = 0; i < outcomes.size(); ++i) run.steps[i].outcome = outcomes[i];
  return run;
}

std::optional<JournalSummary> SummarizeJournal(std::string_view text) {
  JournalSummary summary;
  std::vector<std::optional<StepOutcome>> outcomes;
  if (!ReadJournal(text, summary, nullptr, outcomes)) return std::nullopt;
  for (const auto& outcome : outcomes) summary.renamedAny = summary.renamedAny || outcome == StepOutcome::Renamed;
  return summary;
}

}  // namespace zefta
