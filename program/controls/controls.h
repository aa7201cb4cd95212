// Control models: the state and events of the classic form controls, without
// any Win32. Setting a value by code raises the same event as the user's
// action when the state changes. The Win32 binding mirrors the state into the
// real controls (through onStateChanged) and feeds user input back in.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "services/services.h"

namespace zefta {

class ControlBase {
 public:
  virtual ~ControlBase() = default;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  bool Visible() const { return visible_; }
  void SetVisible(bool visible);

  // Raised by the binding when the pointer moves over the control.
  std::function<void()> MouseMove;
  // Set by the binding: called after every change of the model's state.
  std::function<void()> onStateChanged;

 protected:
  void Changed() const {
    if (onStateChanged) onStateChanged();
  }

 private:
  bool enabled_ = true;
  bool visible_ = true;
};

// Frame or label: a caption only.
class Caption : public ControlBase {
 public:
  const std::u16string& Text() const { return text_; }
  void SetText(std::u16string text);

 private:
  std::u16string text_;
};

// Check box: 0 clear, 1 checked, 2 grey.
class CheckBox : public ControlBase {
 public:
  int Value() const { return value_; }
  // Raises Click when the value changes; a value outside 0..2 is refused
  // with PlatformError{error::kInvalidPropertyValue}.
  void SetValue(int value);
  // A click by the user: clear becomes checked, anything else clear.
  void UserClick();

  std::function<void()> Click;

 private:
  int value_ = 0;
};

class CommandButton : public ControlBase {
 public:
  std::function<void()> Click;
};

class MenuItem : public ControlBase {
 public:
  bool Checked() const { return checked_; }
  void SetChecked(bool checked);
  // The user chose the item (mouse, access key or shortcut); only when enabled.
  void UserClick();

  std::function<void()> Click;
  // The item is highlighted in its open menu.
  std::function<void()> Select;

 private:
  bool checked_ = false;
};

class StatusPanel : public ControlBase {
 public:
  const std::u16string& Text() const { return text_; }
  void SetText(std::u16string text);
  // Counts every write, also of the same text (the hint logic writes once per area).
  int Writes() const { return writes_; }
  bool Spring() const { return spring_; }
  void SetSpring(bool spring);

 private:
  std::u16string text_;
  int writes_ = 0;
  bool spring_ = false;
};

// List box. Sorted lists keep their items in case-insensitive order; the
// check-box style shows a check mark per item, which is its selected state.
// A list of owner rows holds no items: its owner keeps the rows' texts and
// hands each out when it is drawn, so a list of a million paths keeps one
// copy of each.
class ListBox : public ControlBase {
 public:
  enum class Selection { Single, Extended };
  enum class Rows { Held, Owner };
  enum class Change { Reset, Added, Selection, Current };

  ListBox(bool sorted, Selection selection, bool checkBoxes = false, Rows rows = Rows::Held)
      : sorted_(sorted), selection_(selection), checkBoxes_(checkBoxes), rows_(rows) {}

  bool Sorted() const { return sorted_; }
  Selection SelectionMode() const { return selection_; }
  bool CheckBoxes() const { return checkBoxes_; }
  bool OwnerRows() const { return rows_ == Rows::Owner; }

  int Count() const { return static_cast<int>(selected_.size()); }
  std::u16string Item(int index) const;
  // The held items (none for owner rows).
  const std::vector<std::u16string>& Items() const { return items_; }
  // Adds one item (at its sorted place when sorted) and returns its index.
  int AddItem(std::u16string text);
  // Replaces every item at once (sorted once when sorted); nothing selected.
  void SetItems(std::vector<std::u16string> items);
  // Owner rows: count rows, row i's text given by text(i); nothing selected.
  void SetRows(std::size_t count, std::function<std::u16string(std::size_t)> text);

  bool Selected(int index) const { return selected_.at(static_cast<std::size_t>(index)) != 0; }
  bool AnySelected() const;
  // In single selection, selecting one item unselects the others.
  void SetSelected(int index, bool selected);
  // Every item at once (check lists and extended selection).
  void SetAllSelected(bool selected);
  std::vector<int> SelectedIndexes() const;
  // The current (focused) item, -1 when none.
  int ListIndex() const { return listIndex_; }
  void SetListIndex(int index);

  // Called by the binding when the user changed the selection in the view,
  // when the user moved the current item only, and when the user flipped the
  // mark of one item of a check list (which becomes the current one).
  void AssignSelectionFromView(std::vector<char> selected, int listIndex);
  void AssignCurrentFromView(int listIndex);
  void FlipFromView(int index);

  std::function<void()> Click;
  std::function<void()> DblClick;
  // Set by the binding: what changed (index of the item, or -1).
  std::function<void(Change, int)> onListChanged;

 private:
  bool SingleChoice() const { return selection_ == Selection::Single && !checkBoxes_; }
  void Notify(Change change, int index) const {
    if (onListChanged) onListChanged(change, index);
  }
  bool sorted_;
  Selection selection_;
  bool checkBoxes_;
  Rows rows_;
  std::vector<std::u16string> items_;
  std::function<std::u16string(std::size_t)> rowText_;
  std::vector<char> selected_;
  int listIndex_ = -1;
  int singleSelected_ = -1;  // the selected item of a single-choice list
};

// Drive list: the drives of the machine, one of them current.
class DriveList : public ControlBase {
 public:
  explicit DriveList(FileSystem& files) : files_(files) {}
  // Reads the drives of the machine (done by the window before use).
  void Refresh();
  const std::vector<std::u16string>& Drives() const { return drives_; }
  // Text of the current drive, such as "c:".
  std::u16string Drive() const;
  // Selects the drive named by the first two characters of text, raising
  // Change when it differs; an unknown drive fails with path-not-found.
  void SetDrive(std::u16string_view text);
  int ListIndex() const { return listIndex_; }
  // Raises Change when the index changes.
  void SetListIndex(int index);

  std::function<void()> Change;

 private:
  FileSystem& files_;
  std::vector<std::u16string> drives_;
  int listIndex_ = -1;
};

// Directory list: the current folder with its ancestors and subfolders.
class DirList : public ControlBase {
 public:
  struct Row {
    std::u16string text;  // "c:\" for the root, else the folder's name
    int level;            // indentation
    bool open;            // an ancestor or the current folder
  };
  explicit DirList(FileSystem& files) : files_(files) {}
  // Full path: "c:\" for a root, "c:\a\b" without a trailing "\" otherwise.
  const std::u16string& Path() const { return path_; }
  // Accepts a drive ("c:", its current folder), a path from the root of the
  // current drive ("\a"), a full path, or a name relative to the current path.
  // Fails with device-unavailable for a drive that cannot be read and with
  // path-not-found for a folder that does not exist. Raises Change when the
  // path changes.
  void SetPath(std::u16string_view text);
  // The rows shown, and the index of the current folder among them.
  const std::vector<Row>& Rows() const { return rows_; }
  int CurrentRow() const { return currentRow_; }
  // The full path of a row.
  std::u16string PathOfRow(int row) const;
  // The user opened a row (double-click or Enter).
  void OpenRow(int row);

  std::function<void()> Change;

 private:
  void Rebuild();
  FileSystem& files_;
  std::u16string path_;
  std::vector<Row> rows_;
  int currentRow_ = -1;
};

// File list: follows a folder and shows its files (never read by the program).
class FileList : public ControlBase {
 public:
  explicit FileList(FileSystem& files) : files_(files) {}
  const std::u16string& Path() const { return path_; }
  void SetPath(std::u16string_view path);
  const std::vector<std::u16string>& Files() const { return files_list_; }

  std::function<void()> DblClick;

 private:
  FileSystem& files_;
  std::u16string path_;
  std::vector<std::u16string> files_list_;
};

// Case-insensitive order of sorted list boxes.
bool ListOrderLess(const std::u16string& a, const std::u16string& b);
// Sorts in that order, keeping the relative order of equal items.
void SortInListOrder(std::vector<std::u16string>& items);

}  // namespace zefta
