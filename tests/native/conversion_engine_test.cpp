// What the no-data-loss runs cannot see of a conversion: the report's texts
// and counts past what 16 bits hold.
#include <gtest/gtest.h>

#include "modules/conversion_engine.h"
#include "modules/messages.h"

namespace zefta {
namespace {

using Outcome = StepOutcome;

TEST(ConversionEngine, ReportTexts) {
  // The counts in plain decimal, the processed one first.
  EXPECT_EQ(*ReportText({12345, 678}, kNothingConvertedText), u"12345ファイル中、678ファイルを変換しました。");
  EXPECT_EQ(ReportText({2, 0}, kNothingConvertedText), kNothingConvertedText);
  EXPECT_FALSE(ReportText({2, 0}));
  EXPECT_EQ(LeftParkedText({u"c:\\W\\", u"B.TXT"}, {Outcome::Parked, u"c:\\W\\B.TXT.~zefta0"}),
            std::u16string(kRenameFailedText) + u"\n「c:\\W\\B.TXT」は「c:\\W\\B.TXT.~zefta0」という名前で残っています。");
}

// More than 16-bit counters hold: 40,000 entries, 33,000 of them to convert,
// 33 of those refused.
TEST(ConversionEngine, CountsEveryEntryOfABigRun) {
  struct Refusing : FolderEntries, ConversionSteps {
    struct Entry : OpenedEntry {
      bool refused;
      explicit Entry(bool r) : refused(r) {}
      bool MoveTo(std::u16string_view) override { return !refused; }
      bool MoveToParkedName(std::u16string_view) override { return !refused; }
    };
    std::unique_ptr<OpenedEntry> Open(std::u16string_view path) override {
      return std::make_unique<Entry>(path.ends_with(u"000.TXT"));
    }
    bool ClearPlaceholder(std::u16string_view) override { return false; }
    std::optional<std::u16string> StoredName(std::u16string_view path) override { return std::u16string(path.substr(7)); }
    std::optional<std::vector<std::u16string>> Names(std::u16string_view) override { return std::nullopt; }
    bool Take(std::size_t) override { return true; }
    CaseOptions Options() override { return {true, false}; }
    void Failed(const ConversionEntry&, const RenameResult&) override {}
    void LetEventsRun() override {}
  } world;
  std::vector<ConversionEntry> entries;
  for (int i = 100000; i < 140000; ++i) {
    const std::string digits = std::to_string(i);
    entries.push_back({u"c:\\Top\\", (i < 133000 ? u"Café" : u"café") + std::u16string(digits.begin(), digits.end()) +
                                          (i < 133000 ? u".TXT" : u".txt")});
  }
  for (const auto counts : {ProcessedCounts::EntriesNeedingConversion, ProcessedCounts::EveryTakenEntry}) {
    Counter processed, converted;
    EXPECT_EQ(ReportText(*ConversionEngine(world, processed, converted).Run(entries, counts, world)),
              counts == ProcessedCounts::EveryTakenEntry ? u"40000ファイル中、32967ファイルを変換しました。"
                                                         : u"33000ファイル中、32967ファイルを変換しました。");
  }
}

}  // namespace
}  // namespace zefta
