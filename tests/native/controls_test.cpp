#include "controls/controls.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace zefta {
namespace {

TEST(ListBoxTest, SingleChoiceKeepsOneSelectedAcrossInsertsAndViewChanges) {
  ListBox list(true, ListBox::Selection::Single);
  list.SetItems({u"b", u"D", u"c"});
  list.SetSelected(1, true);  // "c"
  list.AddItem(u"A");         // shifts "c" to index 2
  list.SetSelected(3, true);  // "D": "c" must be cleared
  EXPECT_EQ(list.SelectedIndexes(), std::vector<int>{3});
  list.AssignSelectionFromView({0, 1, 0, 0}, 1);
  list.SetSelected(2, true);
  EXPECT_EQ(list.SelectedIndexes(), std::vector<int>{2});
  EXPECT_EQ(list.Items(), (std::vector<std::u16string>{u"A", u"b", u"c", u"D"}));
}

TEST(ListBoxTest, SortedFillOrdersAsItemByItemComparison) {
  // Case-only twins, duplicates, Japanese, and names that differ after a
  // shared upper-case form: the one-key-per-item sort must agree with the
  // item-by-item order, ties kept in their listed order.
  std::vector<std::u16string> names{u"readme", u"README", u"b.txt", u"ReadMe", u"日本語", u"A_b", u"a_B",
                                    u"Zz",     u"zZ",     u"b.txt", u"_x",     u"ｶﾅ",    u"10", u"9"};
  std::vector<std::u16string> expected = names;
  std::stable_sort(expected.begin(), expected.end(), ListOrderLess);
  ListBox list(true, ListBox::Selection::Extended);
  list.SetItems(names);
  EXPECT_EQ(list.Items(), expected);
  EXPECT_EQ(list.Items().front(), u"10");
}

TEST(ListBoxTest, ExtendedAndCheckListsKeepEverySelection) {
  ListBox extended(false, ListBox::Selection::Extended);
  ListBox checks(false, ListBox::Selection::Single, true);
  for (ListBox* list : {&extended, &checks}) {
    list->SetItems({u"x", u"y", u"z"});
    list->SetSelected(0, true);
    list->SetSelected(2, true);
    EXPECT_EQ(list->SelectedIndexes(), (std::vector<int>{0, 2}));
  }
}

TEST(CheckBoxTest, ClickOnlyOnChangeAndRangeChecked) {
  CheckBox box;
  int clicks = 0;
  box.Click = [&] { ++clicks; };
  box.SetValue(0);
  box.SetValue(2);
  box.UserClick();  // grey → clear
  EXPECT_EQ(box.Value(), 0);
  EXPECT_EQ(clicks, 2);
  EXPECT_THROW(box.SetValue(3), PlatformError);
  box.SetEnabled(false);
  box.UserClick();
  EXPECT_EQ(clicks, 2);
}

}  // namespace
}  // namespace zefta
