#include "controls/controls.h"

#include <algorithm>
#include <limits>

#include "modules/paths.h"
#include "services/case_mapping.h"

namespace zefta {

void ControlBase::SetEnabled(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  Changed();
}

void ControlBase::SetVisible(bool visible) {
  if (visible_ == visible) return;
  visible_ = visible;
  Changed();
}

void Caption::SetText(std::u16string text) {
  text_ = std::move(text);
  Changed();
}

void CheckBox::SetValue(int value) {
  if (value < 0 || value > 2) throw PlatformError{error::kInvalidPropertyValue};
  if (value_ == value) return;
  value_ = value;
  Changed();
  if (Click) Click();
}

void CheckBox::UserClick() {
  if (!Enabled()) return;
  SetValue(value_ == 0 ? 1 : 0);
}

void MenuItem::SetChecked(bool checked) {
  if (checked_ == checked) return;
  checked_ = checked;
  Changed();
}

void MenuItem::UserClick() {
  if (Enabled() && Click) Click();
}

void StatusPanel::SetText(std::u16string text) {
  text_ = std::move(text);
  ++writes_;
  Changed();
}

void StatusPanel::SetSpring(bool spring) {
  spring_ = spring;
  Changed();
}

bool ListOrderLess(const std::u16string& a, const std::u16string& b) {
  const std::u16string ua = MapCase(a, CaseDirection::Upper);
  const std::u16string ub = MapCase(b, CaseDirection::Upper);
  if (ua != ub) return ua < ub;
  return a < b;
}

void SortInListOrder(std::vector<std::u16string>& items) {
  // Each item is upper-cased once, not at every comparison: a folder of tens
  // of thousands of names would otherwise map a million strings.
  std::vector<std::u16string> keys;
  keys.reserve(items.size());
  for (const auto& item : items) keys.push_back(MapCase(item, CaseDirection::Upper));
  std::vector<std::size_t> order(items.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    if (keys[a] != keys[b]) return keys[a] < keys[b];
    return items[a] < items[b];
  });
  std::vector<std::u16string> sorted;
  sorted.reserve(items.size());
  for (std::size_t i : order) sorted.push_back(std::move(items[i]));
  items = std::move(sorted);
}

std::u16string ListBox::Item(int index) const {
  const std::size_t at = static_cast<std::size_t>(index);
  if (index < 0 || at >= selected_.size()) throw PlatformError{error::kInvalidPropertyValue};
  return OwnerRows() ? rowText_(at) : items_[at];
}

int ListBox::AddItem(std::u16string text) {
  if (OwnerRows()) throw PlatformError{error::kInvalidPropertyValue};
  std::size_t at = items_.size();
  if (sorted_) at = static_cast<std::size_t>(std::upper_bound(items_.begin(), items_.end(), text, ListOrderLess) - items_.begin());
  items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(at), std::move(text));
  selected_.insert(selected_.begin() + static_cast<std::ptrdiff_t>(at), 0);
  if (listIndex_ >= static_cast<int>(at)) ++listIndex_;
  if (singleSelected_ >= static_cast<int>(at)) ++singleSelected_;
  Notify(Change::Added, static_cast<int>(at));
  return static_cast<int>(at);
}

void ListBox::SetItems(std::vector<std::u16string> items) {
  if (OwnerRows()) throw PlatformError{error::kInvalidPropertyValue};
  if (sorted_) SortInListOrder(items);
  items_ = std::move(items);
  selected_.assign(items_.size(), 0);
  listIndex_ = -1;
  singleSelected_ = -1;
  Notify(Change::Reset, -1);
}

void ListBox::SetRows(std::size_t count, std::function<std::u16string(std::size_t)> text) {
  if (!OwnerRows() || count > static_cast<std::size_t>(std::numeric_limits<int>::max()))
    throw PlatformError{error::kInvalidPropertyValue};
  rowText_ = std::move(text);
  selected_.assign(count, 0);
  listIndex_ = -1;
  singleSelected_ = -1;
  Notify(Change::Reset, -1);
}

bool ListBox::AnySelected() const {
  return SingleChoice() ? singleSelected_ >= 0 : std::find(selected_.begin(), selected_.end(), 1) != selected_.end();
}

void ListBox::SetSelected(int index, bool selected) {
  if (index < 0 || index >= Count()) throw PlatformError{error::kInvalidPropertyValue};
  if (SingleChoice()) {
    // At most one item is selected: only the previous one needs clearing,
    // which keeps a walk down a long list linear.
    if (selected && singleSelected_ >= 0 && singleSelected_ != index) {
      selected_[static_cast<std::size_t>(singleSelected_)] = 0;
      Notify(Change::Selection, singleSelected_);
    }
    if (selected) singleSelected_ = index;
    else if (singleSelected_ == index) singleSelected_ = -1;
  }
  selected_[static_cast<std::size_t>(index)] = selected ? 1 : 0;
  Notify(Change::Selection, index);
}

void ListBox::SetAllSelected(bool selected) {
  if (SingleChoice() && selected && Count() > 1) throw PlatformError{error::kInvalidPropertyValue};
  selected_.assign(selected_.size(), selected ? 1 : 0);
  singleSelected_ = SingleChoice() && selected && Count() == 1 ? 0 : -1;
  Notify(Change::Reset, -1);
}

std::vector<int> ListBox::SelectedIndexes() const {
  std::vector<int> indexes;
  for (std::size_t i = 0; i < selected_.size(); ++i)
    if (selected_[i]) indexes.push_back(static_cast<int>(i));
  return indexes;
}

void ListBox::SetListIndex(int index) {
  if (index < -1 || index >= Count()) throw PlatformError{error::kInvalidPropertyValue};
  listIndex_ = index;
  Notify(Change::Current, index);
}

void ListBox::AssignSelectionFromView(std::vector<char> selected, int listIndex) {
  selected.resize(selected_.size(), 0);
  selected_ = std::move(selected);
  listIndex_ = listIndex;
  if (SingleChoice()) {
    singleSelected_ = -1;
    for (std::size_t i = 0; i < selected_.size(); ++i)
      if (selected_[i]) singleSelected_ = static_cast<int>(i);
  }
}

void ListBox::AssignCurrentFromView(int listIndex) { listIndex_ = listIndex >= -1 && listIndex < Count() ? listIndex : -1; }

void ListBox::FlipFromView(int index) {
  if (index < 0 || index >= Count()) return;
  char& mark = selected_[static_cast<std::size_t>(index)];
  mark = !mark;
  listIndex_ = index;
  Notify(Change::Selection, index);
}

void DriveList::Refresh() {
  const std::u16string current = Drive();
  drives_ = files_.Drives();
  listIndex_ = -1;
  for (std::size_t i = 0; i < drives_.size(); ++i)
    if (!current.empty() && MapCase(drives_[i], CaseDirection::Lower) == current) listIndex_ = static_cast<int>(i);
  Changed();
}

std::u16string DriveList::Drive() const {
  if (listIndex_ < 0 || listIndex_ >= static_cast<int>(drives_.size())) return {};
  return MapCase(drives_[static_cast<std::size_t>(listIndex_)], CaseDirection::Lower);
}

void DriveList::SetDrive(std::u16string_view text) {
  const std::u16string wanted = MapCase(text.substr(0, std::min<std::size_t>(2, text.size())), CaseDirection::Lower);
  for (std::size_t i = 0; i < drives_.size(); ++i) {
    if (MapCase(drives_[i], CaseDirection::Lower) == wanted) {
      SetListIndex(static_cast<int>(i));
      return;
    }
  }
  throw PlatformError{error::kPathNotFound};
}

void DriveList::SetListIndex(int index) {
  if (index < 0 || index >= static_cast<int>(drives_.size())) throw PlatformError{error::kInvalidPropertyValue};
  if (index == listIndex_) return;
  listIndex_ = index;
  Changed();
  if (Change) Change();
}

void DirList::SetPath(std::u16string_view text) {
  std::u16string full;
  if (HasDrive(text)) {
    const std::u16string drive = MapCase(text.substr(0, 2), CaseDirection::Lower);
    if (!files_.DriveReady(drive)) throw PlatformError{error::kDeviceUnavailable};
    if (text.size() == 2) full = files_.CurrentDirectoryOf(drive);
    else full = drive + std::u16string(text.substr(2));
    if (full.size() >= 3 && !IsSeparator(full[2])) full.insert(2, u"\\");
  } else if (!text.empty() && IsSeparator(text[0])) {
    full = (path_.size() >= 2 ? path_.substr(0, 2) : std::u16string(u"c:")) + std::u16string(text);
  } else {
    full = path_;
    if (!full.empty() && !IsSeparator(full.back())) full += u'\\';
    full += text;
  }
  if (!HasDrive(full)) throw PlatformError{error::kPathNotFound};
  full = NormalizedPath(full);
  if (!files_.DirectoryExists(full)) throw PlatformError{error::kPathNotFound};
  if (full == path_) return;
  path_ = full;
  Rebuild();
  Changed();
  if (Change) Change();
}

void DirList::Rebuild() {
  rows_.clear();
  std::u16string root = path_.substr(0, 3);
  rows_.push_back({root, 0, true});
  std::size_t start = 3;
  int level = 1;
  while (start < path_.size()) {
    std::size_t end = path_.find(u'\\', start);
    if (end == std::u16string::npos) end = path_.size();
    rows_.push_back({path_.substr(start, end - start), level++, true});
    start = end + 1;
  }
  currentRow_ = static_cast<int>(rows_.size()) - 1;
  for (auto& name : files_.Subdirectories(path_)) rows_.push_back({name, level, false});
}

std::u16string DirList::PathOfRow(int row) const {
  if (row < 0 || row >= static_cast<int>(rows_.size())) return path_;
  if (row <= currentRow_) {
    std::u16string result = rows_[0].text;
    for (int i = 1; i <= row; ++i) {
      if (i > 1) result += u'\\';
      result += rows_[static_cast<std::size_t>(i)].text;
    }
    return result;
  }
  std::u16string result = path_;
  if (!IsSeparator(result.back())) result += u'\\';
  return result + rows_[static_cast<std::size_t>(row)].text;
}

void DirList::OpenRow(int row) {
  try {
    SetPath(PathOfRow(row));
  } catch (const PlatformError&) {
    // A folder that vanished since it was listed: show what is there now.
    Rebuild();
    Changed();
  }
}

void FileList::SetPath(std::u16string_view path) {
  path_ = std::u16string(path);
  std::u16string folder = path_;
  if (!folder.empty() && !IsSeparator(folder.back())) folder += u'\\';
  files_list_.clear();
  if (auto names = files_.Enumerate(folder, 0)) {
    for (auto& name : *names)
      if (name != u"." && name != u"..") files_list_.push_back(std::move(name));
  }
  SortInListOrder(files_list_);
  Changed();
}

}  // namespace zefta
