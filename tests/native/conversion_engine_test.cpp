// The run shared by every way of starting a conversion: what is taken, what
// is counted, what is renamed, one run at a time, and the report.
#include "modules/conversion_engine.h"

#include <gtest/gtest.h>

#include "fakes.h"
#include "modules/messages.h"
#include "text_util.h"

namespace zefta {
namespace {

using namespace zefta::testing;

// Records what the engine asks of a window; taken and options are the script.
struct ScriptedSteps final : ConversionSteps {
  std::vector<char> taken;
  std::vector<CaseOptions> options;  // per entry, the last one repeats
  std::function<void(std::size_t)> onYield;
  std::vector<std::u16string> failed;
  std::size_t current = 0, yields = 0;

  bool Take(std::size_t index) override {
    current = index;
    return taken.empty() || taken[index];
  }
  CaseOptions Options() override { return options[std::min(current, options.size() - 1)]; }
  void Failed(const ConversionEntry& entry, const RenameResult&) override { failed.push_back(entry.name); }
  void LetEventsRun() override {
    if (onYield) onYield(yields);
    ++yields;
  }
};

class ConversionEngineTest : public ::testing::Test {
 protected:
  FakeFileSystem files;
  ProgramState state;
  ConversionEngine engine{files, state.processedCount, state.convertedCount};
};

TEST_F(ConversionEngineTest, WhatIsTakenCountedAndRenamed) {
  files.AddFile(u"c:\\my.dir\\Makefile");
  files.AddFile(u"c:\\my.dir\\done.txt");
  files.AddFile(u"c:\\my.dir\\Held.TXT");
  files.AddFile(u"c:\\my.dir\\Skipped.TXT");
  files.refusedRenames.insert(u"c:\\my.dir\\Held.TXT");
  const std::vector<ConversionEntry> entries{{u"c:\\my.dir\\", u"Makefile"},
                                             {u"c:\\my.dir\\", u"done.txt"},
                                             {u"c:\\my.dir\\", u"Held.TXT"},
                                             {u"c:\\my.dir\\", u"Skipped.TXT"}};
  const struct {
    ProcessedCounts counts;
    std::int16_t processed;
  } cases[] = {{ProcessedCounts::EveryTakenEntry, 3}, {ProcessedCounts::EntriesNeedingConversion, 2}};
  for (const auto& c : cases) {
    FakeFileSystem fresh = files;
    ConversionEngine run{fresh, state.processedCount, state.convertedCount};
    ScriptedSteps steps;
    steps.taken = {1, 1, 1, 0};
    steps.options = {{true, false}};
    const auto report = run.Run(entries, c.counts, steps);
    ASSERT_TRUE(report);
    EXPECT_EQ(report->processed, c.processed);
    EXPECT_EQ(report->converted, 1);
    EXPECT_EQ(state.processedCount.Value(), c.processed);
    EXPECT_EQ(state.convertedCount.Value(), 1);
    EXPECT_EQ(steps.failed, std::vector<std::u16string>{u"Held.TXT"});
    EXPECT_EQ(steps.yields, 4u);  // after every entry, taken or not
    // Only the entry's own name changes; the folder keeps its spelling.
    EXPECT_EQ(fresh.renameCalls.front(), std::make_pair(std::u16string(u"c:\\my.dir\\Makefile"),
                                                        std::u16string(u"c:\\my.dir\\makefile")));
    EXPECT_EQ(fresh.ActualPath(u"c:\\my.dir\\skipped.txt"), u"c:\\my.dir\\Skipped.TXT");
  }
}

TEST_F(ConversionEngineTest, OptionsAreReadForEveryEntryAndOnlyTheNameIsTested) {
  files.AddFile(u"c:\\Dotted.Dir\\Makefile");
  files.AddFile(u"c:\\Dotted.Dir\\Read.me");
  ScriptedSteps steps;
  // Extension-only upper case: a dotless name is converted whole, in its folder.
  steps.options = {{false, true}, {true, false}};
  const auto report = engine.Run({{u"c:\\Dotted.Dir\\", u"Makefile"}, {u"c:\\Dotted.Dir\\", u"Read.me"}},
                                 ProcessedCounts::EntriesNeedingConversion, steps);
  EXPECT_EQ(report->converted, 2);
  EXPECT_EQ(files.ActualPath(u"c:\\dotted.dir\\makefile"), u"c:\\Dotted.Dir\\MAKEFILE");
  EXPECT_EQ(files.ActualPath(u"c:\\dotted.dir\\read.me"), u"c:\\Dotted.Dir\\read.me");
}

TEST_F(ConversionEngineTest, ARunStartedWhileOneYieldsDoesNothing) {
  files.AddFile(u"c:\\W\\A.TXT");
  files.AddFile(u"c:\\W\\B.TXT");
  const std::vector<ConversionEntry> entries{{u"c:\\W\\", u"A.TXT"}, {u"c:\\W\\", u"B.TXT"}};
  ScriptedSteps steps, inner;
  steps.options = inner.options = {{true, false}};
  std::optional<ConversionReport> nested{ConversionReport{}};
  steps.onYield = [&](std::size_t) {
    EXPECT_TRUE(engine.Running());
    nested = engine.Run(entries, ProcessedCounts::EveryTakenEntry, inner);
  };
  const auto report = engine.Run(entries, ProcessedCounts::EveryTakenEntry, steps);
  EXPECT_FALSE(nested);
  EXPECT_EQ(inner.yields, 0u);
  EXPECT_EQ(report->processed, 2);
  EXPECT_EQ(report->converted, 2);
  EXPECT_FALSE(engine.Running());
}

TEST(ConversionReportTest, TextsOfTheEndOfARun) {
  EXPECT_EQ(ReportText({3, 2}), U16("3ファイル中、2ファイルを変換しました。"));
  EXPECT_EQ(ReportText({12345, 678}, kNothingConvertedText), U16("12345ファイル中、678ファイルを変換しました。"));
  EXPECT_EQ(ReportText({12345, 0}, kNothingConvertedText), U16("変換対象ファイルは有りませんでした。"));
  EXPECT_FALSE(ReportText({2, 0}));
  const std::u16string parked =
      LeftParkedText({u"c:\\W\\", u"B.TXT"}, {RenameResult::Outcome::LeftParked, u"c:\\W\\B.TXT.~zefta0"});
  EXPECT_EQ(parked, U16("ファイル名の変更に失敗しました。\n「c:\\W\\B.TXT」は「c:\\W\\B.TXT.~zefta0」という名前で残っています。"));
}

TEST(Counter16Test, NeverWraps) {
  Counter16 counter;
  for (int i = 0; i < 40000; ++i) counter.Increment();
  EXPECT_EQ(counter.Value(), 32767);
  for (int i = 0; i < 40000; ++i) counter.Decrement();
  EXPECT_EQ(counter.Value(), 0);
}

}  // namespace
}  // namespace zefta
