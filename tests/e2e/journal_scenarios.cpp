// The journal seen from outside: the last run undone by Ctrl+Z after a
// restart (which keeps the settings the user left), and (make reliability
// only) ZEFTA.EXE killed in the middle of runs, started again and undone.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "driving.h"
#include "forms/main_window_texts.h"

namespace e2e {

namespace {

// The count of a start-up message that tells of names mended, or 0.
int MendedCount(const std::wstring& told) {
  const std::wstring before = Text(zefta::main_texts::kMendedBefore), after = Text(zefta::main_texts::kMendedAfter);
  const std::size_t at = told.find(before);
  if (at == std::wstring::npos || told.find(after, at) == std::wstring::npos) return 0;
  return _wtoi(told.c_str() + at + before.size());
}

// The seed of the moments to kill at: ZEFTA_KILL_SEED when set (to repeat a
// run), else the clock; printed either way.
unsigned KillSeed() {
  const char* given = std::getenv("ZEFTA_KILL_SEED");
  const unsigned seed = given ? static_cast<unsigned>(std::strtoul(given, nullptr, 10)) : GetTickCount();
  std::printf("killed runs: seed %u (ZEFTA_KILL_SEED=%u repeats the moments)\n", seed, seed);
  std::fflush(stdout);
  return seed;
}

}  // namespace

void UndoneAfterARestart() {
  const std::wstring folder = g_root + L"\\undo";
  const std::wstring before = NamesOnDisk(folder);
  {
    Program program({{L"DRV", folder}, {L"SMALL", L"0"}, {L"MSG", L"1"}});
    if (!program.MainWindow()) return;
    PostMessageW(FrameControl(program.main, "SmallCheck"), BM_CLICK, 0, 0);  // before the start: posted in order
    ConvertEverything(program);
    CheckEqual(AnswerMessageBox(program.Id()), L"3ファイル中、3ファイルを変換しました。", "the run converts the folder");
  }
  Program again({});
  if (!again.MainWindow()) return;
  Check(SendMessageW(FrameControl(again.main, "SmallCheck"), BM_GETCHECK, 0, 0) == BST_CHECKED,
        "the restarted window has the settings the user left");
  PressCtrlZ(again.main);
  CheckEqual(AnswerMessageBox(again.Id()), L"3ファイル中、3ファイルを元に戻しました。", "after a restart Ctrl+Z undoes the run");
  CheckEqual(NamesOnDisk(folder), before, "every old name is back");
  PressCtrlZ(again.main);
  CheckEqual(AnswerMessageBox(again.Id(), 2000), L"", "the undo is used up: a second Ctrl+Z does nothing");
}

// Not in the default run (make reliability runs it): the program is killed
// at a random moment of a run over a folder of 3,000 files and started again,
// six times, lower and upper case in turn; every entry must be under its old
// or its new name, and the undo must bring back the names of the last run.
void KilledRunsAreMended() {
  const std::wstring folder = g_root + L"\\kill";
  const std::wstring first = NamesOnDisk(folder, true);
  std::wstring before;
  int kills = 0, mended = 0;
  std::mt19937 random(KillSeed());
  std::uniform_int_distribution<int> moment(700, 2199);  // ms after the start of the run
  for (int round = 0; round < 6; ++round) {
    before = NamesOnDisk(folder);
    const std::vector<std::pair<std::wstring, std::wstring>> settings{
        {L"DRV", folder}, {L"SMALL", round % 2 ? L"0" : L"1"}, {L"MSG", L"1"}, {L"DIR", L"0"}};
    {
      Program program(settings);
      if (!program.MainWindow()) return;
      ConvertEverything(program);
      Sleep(moment(random));
      kills += TerminateProcess(program.info.hProcess, 9) != FALSE;
      program.Ended();
    }
    Program again(settings);
    const std::wstring told = AnswerMessageBox(again.Id(), 5000);
    mended += MendedCount(told);
    if (!again.MainWindow()) return;
    const std::wstring now = NamesOnDisk(folder);
    Check(now.find(L".~zefta") == std::wstring::npos && now.find(L".~ZEFTA") == std::wstring::npos,
          "no entry left under a parked name", told);
    CheckEqual(NamesOnDisk(folder, true), first, "every entry under its old or its new name");
    if (round == 5) {
      PressCtrlZ(again.main);
      AnswerMessageBox(again.Id(), 120000);
      CheckEqual(NamesOnDisk(folder), before, "the undo brings back the names of the last run");
    }
  }
  const auto count = [](const std::wstring& names) { return std::count(names.begin(), names.end(), L',') + 1; };
  const char* group = "no data loss, under Wine: ZEFTA.EXE killed in the middle of runs";
  std::printf("FIGURE|%s|kills|%d\nFIGURE|%s|entries mended|%d\nFIGURE|%s|entries lost|%d\n", group, kills, group,
              mended, group, static_cast<int>(count(first) - count(NamesOnDisk(folder))));
}

}  // namespace e2e
