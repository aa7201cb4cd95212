#include "modules/conversion_engine.h"

#include "modules/messages.h"

namespace zefta {

ConversionEntry EntryOfPath(std::u16string_view path) {
  const PathParts parts = SplitPath(path);
  return {std::u16string(parts.folder), std::u16string(parts.name)};
}

std::optional<std::u16string> ReportText(const ConversionReport& report, const char16_t* nothingConverted) {
  if (report.converted != 0) return CompletionText(report.processed, report.converted);
  if (nothingConverted) return std::u16string(nothingConverted);
  return std::nullopt;
}

std::u16string LeftParkedText(const ConversionEntry& entry, const RenameResult& result) {
  return std::u16string(kRenameFailedText) + u"\n「" + entry.folder + entry.name + u"」は「" + result.parkedPath +
         u"」という名前で残っています。";
}

std::optional<ConversionReport> ConversionEngine::Run(const std::vector<ConversionEntry>& entries,
                                                      ProcessedCounts counts, ConversionSteps& steps) {
  // Events handled while the run yields could start another run, which
  // would reset the counters under this one and walk the same entries.
  if (running_) return std::nullopt;
  struct Guard {
    bool& flag;
    explicit Guard(bool& f) : flag(f) { flag = true; }
    ~Guard() { flag = false; }
  } guard(running_);

  processed_.Reset();
  converted_.Reset();
  renamer_.BeginRun();
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (steps.Take(i)) {
      const ConversionEntry& entry = entries[i];
      const CaseOptions options = steps.Options();
      const bool needed = NeedsConversion(entry.name, options);
      if (counts == ProcessedCounts::EveryTakenEntry || needed) processed_.Increment();
      if (needed) {
        converted_.Increment();
        const RenameResult result = renamer_.Rename(entry.folder, entry.name, ConvertName(entry.name, options));
        if (result.outcome != RenameResult::Outcome::Renamed) {
          converted_.Decrement();
          steps.Failed(entry, result);
        }
      }
    }
    steps.LetEventsRun();
  }
  return ConversionReport{processed_.Value(), converted_.Value()};
}

}  // namespace zefta
