#include "modules/rename.h"

#include <gtest/gtest.h>

#include "fakes.h"
#include "modules/messages.h"
#include "text_util.h"

namespace zefta {
namespace {

using namespace zefta::testing;

class RenameEntryTest : public ::testing::Test {
 protected:
  FakeFileSystem files;
  MessageRecorder messages;
  FakeDesktop desktop;
  ProgramState state;
  RenameContext context{files, messages, desktop, 7, state};
};

TEST_F(RenameEntryTest, SuccessRaisesTheCountAndRenamesInPlace) {
  files.AddFile(u"c:\\Work\\README.TXT", "r");
  files.AddDirectory(u"c:\\Work\\SubDir");
  RenameEntry(context, u"c:\\Work\\", u"README.TXT", {true, false});
  RenameEntry(context, u"c:\\Work\\", u"SubDir", {true, false});
  EXPECT_EQ(state.convertedCount.Value(), 2);
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(files.ActualPath(u"c:\\work\\readme.txt"), u"c:\\Work\\readme.txt");
  EXPECT_EQ(files.ActualPath(u"c:\\work\\subdir"), u"c:\\Work\\subdir");
  // Whole-text mode never touches the folder part.
  EXPECT_EQ(files.renameCalls[0].second, u"c:\\Work\\readme.txt");
}

TEST_F(RenameEntryTest, RefusedRenameShowsOneMessageAndRestoresTheCount) {
  files.AddFile(u"c:\\Work\\A.TXT");
  files.refusedRenames.insert(u"c:\\Work\\A.TXT");
  state.convertedCount.Increment();
  RenameEntry(context, u"c:\\Work\\", u"A.TXT", {true, false});
  EXPECT_EQ(state.convertedCount.Value(), 1);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, U16("ファイル名の変更に失敗しました。"));
  EXPECT_EQ(messages.shown[0].title, U16("SORVELからのお知らせ"));
  EXPECT_EQ(messages.shown[0].icon, MessageIcon::Exclamation);
  EXPECT_EQ(messages.shown[0].owner, 7u);
  // The main window comes to the front before the box.
  ASSERT_EQ(desktop.fronted.size(), 1u);
  EXPECT_EQ(desktop.fronted[0], 7u);
  EXPECT_EQ(files.ActualPath(u"c:\\Work\\a.txt"), u"c:\\Work\\A.TXT");
}

TEST_F(RenameEntryTest, MissingEntryAndOccupiedTargetFail) {
  // Two spellings that only differ in case would meet on a case-sensitive
  // folder: the rename must not replace the other entry.
  files.AddFile(u"c:\\W\\gone.txt");
  RenameEntry(context, u"c:\\W\\", u"ABSENT.TXT", {true, false});
  EXPECT_EQ(state.convertedCount.Value(), 0);
  EXPECT_EQ(messages.shown.size(), 1u);
}

TEST(MessagesTest, CompletionTextIsPlainDecimal) {
  EXPECT_EQ(CompletionText(3, 2), U16("3ファイル中、2ファイルを変換しました。"));
  EXPECT_EQ(CompletionText(12345, 0), U16("12345ファイル中、0ファイルを変換しました。"));
  EXPECT_EQ(MessageTitle(), U16("SORVELからのお知らせ"));
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
