// The journal of renames: its text keeps every name exactly and shows any
// damage; a run cut short at any move is mended at the next start, and the
// last run is undone, also after a restart.
#include <gtest/gtest.h>

#include <algorithm>

#include "main_window_fixture.h"
#include "modules/journal_format.h"
#include "modules/messages.h"
#include "services/case_mapping.h"
#include "forms/main_window_texts.h"
#include "forms/progress_texts.h"

namespace zefta {
namespace {

using namespace zefta::testing;

TEST(JournalFormat, KeepsEveryNameAndRefusesADamagedLine) {
  const std::u16string odd = u"Café\t100%\n한글😀\U0010FFFF" + std::u16string(1, char16_t(0xD800)) + u"\uE000.TXT";
  const std::string text = HeaderLine(RunKind::Undo) + StepLine(1, {u"c:\\ソ表\\", odd, u"x", u"", {}}) +
                           DoneLine(1, StepOutcome::Parked) + EndLine();
  const auto run = ParseJournal(text);
  ASSERT_TRUE(run);
  EXPECT_EQ(run->kind, RunKind::Undo);
  EXPECT_TRUE(run->finished);
  ASSERT_EQ(run->steps.size(), 1u);
  EXPECT_EQ(run->steps[0].oldName, odd);
  EXPECT_NE(text.find("😀\U0010FFFF"), std::string::npos) << "pairs readable as UTF-8";
  EXPECT_EQ(run->steps[0].outcome, StepOutcome::Parked);
  // A torn last line is one the program was writing when it stopped.
  EXPECT_FALSE(ParseJournal(text.substr(0, text.size() - 3))->finished);
  for (std::size_t at : {std::size_t{3}, text.find("step") + 6, text.find("parked")}) {
    std::string damaged = text;
    damaged[at] ^= 1;
    EXPECT_FALSE(ParseJournal(damaged)) << at;
  }
  EXPECT_FALSE(ParseJournal(HeaderLine(RunKind::Convert) + DoneLine(1, StepOutcome::Renamed)));
  // 2^64 + 1 with its right sum: a number too long to hold is damage, not step 1 wrapped round.
  const std::string firstStep = text.substr(0, text.find("done"));
  EXPECT_FALSE(ParseJournal(firstStep + "done\t18446744073709551617\trenamed\t392200A7\n"));
  EXPECT_EQ(EndLine(), "end\t00FC33B1\n") << "the sum is CRC-32, as every version writes it";
}

struct Killed {};

// The program is cut short before each move of a run in turn, losing what
// it had not yet written; the next start leaves every entry under its old or
// its new name, and the undo brings back every old name.
TEST(Journal, ARunCutShortAtAnyMoveIsMendedAndThenUndone) {
  const Names before{u"A.TXT", u"B.TXT", u"Sub"}, after{u"a.txt", u"b.txt", u"sub"};
  for (int killAt = 0;; ++killAt) {
    MainWindowFixture f;
    FakePlatform& platform = f.platform;
    platform.files.kind = FakeFileSystem::Kind::WineOnLinux;
    for (const auto& name : before) platform.files.AddFile(u"c:\\W\\" + name);
    int moves = 0;
    platform.files.onMove = [&] {
      // Before any move, the journal on the disk names the entry it moves.
      const auto run = ParseJournal(platform.journal.files[JournalFile::Current]);
      ASSERT_TRUE(run && !run->steps.empty());
      const JournalStep& step = run->steps.back();
      const std::u16string from = MapCase(platform.files.moves.back().first, CaseDirection::Upper);
      EXPECT_TRUE(from == MapCase(step.folder + step.oldName, CaseDirection::Upper) ||
                  from == MapCase(step.folder + step.parkedName, CaseDirection::Upper));
      if (moves++ == killAt) throw Killed{};
    };
    f.StartIn(u"c:\\W");
    f.Select(before);
    try {
      f.window.ConversionStart_Click();
      break;  // not cut short: every move has had its turn
    } catch (const Killed&) {
    }
    platform.files.onMove = nullptr;
    platform.desktop.pointer = Pointer::Default;  // the cut program's hourglass went with it
    MainWindow again(platform.services);
    ASSERT_TRUE(again.Initialize());
    again.Load();
    for (const auto& name : platform.files.SortedNames(u"c:\\W\\"))
      EXPECT_TRUE(std::count(before.begin(), before.end(), name) + std::count(after.begin(), after.end(), name))
          << U8(name) << " after a cut at move " << killAt;
    EXPECT_EQ(again.SMenuUndo.Enabled(), platform.files.SortedNames(u"c:\\W\\") != before);
    again.SMenuUndo.UserClick();
    EXPECT_EQ(platform.desktop.pointer, Pointer::Default);
    EXPECT_EQ(platform.files.SortedNames(u"c:\\W\\"), before) << "undone after a cut at move " << killAt;
    EXPECT_FALSE(again.SMenuUndo.Enabled());
  }
}

// Esc stops a run after the entry at hand: the report says so and counts
// what the run took up to there, the status bar told how far it was, and
// the stopped run is undone like any other.
TEST(Journal, AStoppedRunIsReportedTrulyAndUndone) {
  MainWindowFixture f;
  for (auto name : {u"A.TXT", u"B.TXT", u"C.TXT", u"D.TXT"}) f.platform.files.AddFile(u"c:\\W\\" + std::u16string(name));
  f.StartIn(u"c:\\W");
  f.window.SMenuMsgOn.SetChecked(true);
  f.Select({u"A.TXT", u"B.TXT", u"C.TXT", u"D.TXT"});
  f.platform.desktop.tick = 100;  // a tenth of a second per look at the clock
  std::vector<std::u16string> shown;
  f.platform.desktop.events = {[&] { shown.push_back(f.window.StatusBar.Text()); },
                               [&] { EXPECT_TRUE(f.window.Escape()); }};
  f.window.ConversionStart_Click();
  EXPECT_EQ(shown, Names{progress_texts::kConverting + std::u16string(u"1 / 4") + progress_texts::kCountAfter +
                         progress_texts::kEscStops});
  EXPECT_EQ(f.window.StatusBar.Text(), u"");
  EXPECT_EQ(f.Texts(), Names{kStoppedText + std::u16string(u"\n2ファイル中、2ファイルを変換しました。")});
  EXPECT_EQ(f.platform.files.SortedNames(u"c:\\W\\"), (Names{u"C.TXT", u"D.TXT", u"a.txt", u"b.txt"}));
  EXPECT_FALSE(f.window.Escape());  // no run: Esc is the window's again
  f.window.SMenuUndo.UserClick();
  EXPECT_EQ(f.platform.files.SortedNames(u"c:\\W\\"), (Names{u"A.TXT", u"B.TXT", u"C.TXT", u"D.TXT"}));
}

TEST(Journal, ADamagedJournalAStuckEntryAndAFailedWriteAreEachTold) {
  MainWindowFixture f;
  f.platform.files.kind = FakeFileSystem::Kind::WineOnLinux;
  f.platform.files.AddFile(u"c:\\W\\A.TXT.~zefta0");
  const std::string cut = HeaderLine(RunKind::Convert) + StepLine(1, {u"c:\\W\\", u"A.TXT", u"a.txt", u"A.TXT.~zefta0", {}});
  // A damaged journal, and a sound one that cannot be read to its end.
  for (const bool unreadable : {false, true}) {
    f.platform.journal.files[JournalFile::Current] = unreadable ? cut : cut + "x\t0\n";
    f.platform.journal.failReads = unreadable;
    f.window.MendCutRun();
    EXPECT_TRUE(f.platform.files.moves.empty() && f.platform.journal.files.count(JournalFile::SetAside));
    ASSERT_EQ(f.Texts().size(), unreadable ? 2u : 1u);
    EXPECT_TRUE(f.Texts().back().starts_with(main_texts::kJournalDamaged));
  }
  f.platform.journal.failReads = false;
  // A sound journal: the entries mended (one on, one back) are counted, one
  // that can go neither way is named where it stays, all in one message;
  // the record keeps where each went.
  for (const auto* name : {u"A.TXT", u"a.txt", u"C.TXT.~zefta0", u"F.TXT.~zefta0", u"g.txt", u"F.TXT"})
    f.platform.files.AddFile(u"c:\\W\\" + std::u16string(name));
  f.platform.files.Find(u"c:\\W\\F.TXT")->placeholder = true;  // the way back was cut at its placeholder
  f.platform.journal.files[JournalFile::Current] =
      cut + StepLine(2, {u"c:\\W\\", u"C.TXT", u"c.txt", u"C.TXT.~zefta0", {}}) +
      StepLine(3, {u"c:\\W\\", u"F.TXT", u"g.txt", u"F.TXT.~zefta0", {}});
  f.window.MendCutRun();
  EXPECT_EQ(f.Texts().back(), main_texts::kMendedBefore + std::u16string(u"2") + main_texts::kMendedAfter + u"\n" +
                                  main_texts::kNotMended + u"\nc:\\W\\A.TXT.~zefta0");
  const auto mended = ParseJournal(f.platform.journal.files[JournalFile::LastRun]);
  ASSERT_TRUE(mended && mended->steps.size() == 3);
  EXPECT_TRUE(mended->steps[1].outcome == StepOutcome::Renamed && mended->steps[2].outcome == StepOutcome::Refused);
  // A journal that cannot be written stops no run, and says so once.
  f.platform.files.AddFile(u"c:\\W\\B.TXT");
  f.platform.journal.failWrites = true;
  f.StartIn(u"c:\\W");
  f.Select({u"B.TXT"});
  f.window.ConversionStart_Click();
  EXPECT_EQ(f.platform.files.ActualPath(u"c:\\W\\b.txt"), u"c:\\W\\b.txt");
  const Names texts = f.Texts();
  EXPECT_EQ(std::count(texts.begin(), texts.end(), kJournalFailedText), 1);
  EXPECT_FALSE(f.window.SMenuUndo.Enabled());
  // A run of one entry is recorded whole, and undone, also after a run that
  // renamed nothing, which leaves the last run as it was.
  f.platform.journal.failWrites = false;
  f.window.SMenuMsgOn.SetChecked(true);
  for (auto name : {u"D.TXT", u"E.TXT"}) f.platform.files.AddFile(u"c:\\W\\" + std::u16string(name));
  f.platform.files.refusedMoves.insert(u"c:\\W\\E.TXT");
  f.StartIn(u"c:\\W");
  for (auto name : {u"D.TXT", u"E.TXT"}) {
    f.Select({name});
    f.window.ConversionStart_Click();
  }
  ASSERT_TRUE(f.window.SMenuUndo.Enabled());
  f.window.SMenuUndo.UserClick();
  EXPECT_EQ(f.platform.files.ActualPath(u"c:\\W\\d.txt"), u"c:\\W\\D.TXT");
  EXPECT_EQ(f.Texts().back(), u"1ファイル中、1ファイルを元に戻しました。");
  EXPECT_TRUE(f.window.DirCheck.Enabled() && f.window.SmallCheck.Enabled() && f.window.ProcEnd.Enabled());
  // A record of the last run found damaged at the next start renames nothing by it.
  f.platform.journal.files[JournalFile::LastRun] = "x\t0\n";
  MainWindow again(f.platform.services);
  again.Journal().Claim();
  again.UpdateUndo();
  again.SMenuUndo.UserClick();
  EXPECT_TRUE(f.Texts().back().starts_with(main_texts::kJournalDamaged) && !f.platform.journal.files.count(JournalFile::LastRun));
}

}  // namespace
}  // namespace zefta
