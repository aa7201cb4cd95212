#include "platform/win32/binders/menu_binder.h"

#include <string_view>

#include "platform/win32/support/text.h"

namespace zefta::win32 {

namespace {

// "Ctrl+X" and the like; false for anything else.
bool ParseShortcut(std::u16string_view text, ACCEL& accel) {
  BYTE flags = FVIRTKEY;
  for (;;) {
    if (text.starts_with(u"Ctrl+")) flags |= FCONTROL, text.remove_prefix(5);
    else if (text.starts_with(u"Shift+")) flags |= FSHIFT, text.remove_prefix(6);
    else if (text.starts_with(u"Alt+")) flags |= FALT, text.remove_prefix(4);
    else break;
  }
  WORD key = 0;
  if (text.size() == 1 && ((text[0] >= u'A' && text[0] <= u'Z') || (text[0] >= u'0' && text[0] <= u'9'))) {
    key = static_cast<WORD>(text[0]);
  } else if (text.size() >= 2 && text[0] == u'F') {
    int n = 0;
    for (char16_t c : text.substr(1)) n = (c >= u'0' && c <= u'9') ? n * 10 + (c - u'0') : 99;
    if (n >= 1 && n <= 12) key = static_cast<WORD>(VK_F1 + n - 1);
  }
  if (key == 0) return false;
  accel.fVirt = flags;
  accel.key = key;
  return true;
}

}  // namespace

MenuBinder::MenuBinder(const std::vector<MenuLayout>& menus) : menus_(menus) {
  if (menus_.empty()) return;
  bar_ = CreateMenu();
  HMENU popup = nullptr;
  std::vector<ACCEL> accels;
  for (std::size_t row = 0; row < menus_.size(); ++row) {
    const MenuLayout& menu = menus_[row];
    const UINT id = static_cast<UINT>(MenuIdOfRow(row));
    if (menu.level == 0 || !popup) {
      popup = CreatePopupMenu();
      AppendMenuW(bar_, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup), W(menu.caption));
    } else if (menu.caption == u"-") {
      AppendMenuW(popup, MF_SEPARATOR, id, nullptr);
    } else {
      const std::u16string text = menu.shortcut.empty() ? menu.caption : menu.caption + u"\t" + menu.shortcut;
      AppendMenuW(popup, MF_STRING, id, W(text));
      ACCEL accel{};
      if (ParseShortcut(menu.shortcut, accel)) {
        accel.cmd = static_cast<WORD>(id);
        accels.push_back(accel);
      }
    }
  }
  if (!accels.empty()) accelerators_ = CreateAcceleratorTableW(accels.data(), static_cast<int>(accels.size()));
}

MenuBinder::~MenuBinder() {
  Detach();
  if (accelerators_) DestroyAcceleratorTable(accelerators_);
}

void MenuBinder::Attach(HWND window) {
  window_ = window;
  for (std::size_t row = 0; row < menus_.size(); ++row) {
    if (!menus_[row].model) continue;
    menus_[row].model->onStateChanged = [this, row] { Mirror(row); };
    Mirror(row);
  }
}

void MenuBinder::Detach() {
  for (const auto& menu : menus_)
    if (menu.model) menu.model->onStateChanged = nullptr;
  window_ = nullptr;
}

void MenuBinder::Mirror(std::size_t row) {
  if (!bar_ || !window_) return;
  const MenuItem& model = *menus_[row].model;
  if (menus_[row].level == 0) {
    // A menu of the bar, by its position among the others.
    UINT position = 0;
    for (std::size_t k = 0; k < row; ++k) position += menus_[k].level == 0;
    EnableMenuItem(bar_, position, MF_BYPOSITION | (model.Enabled() ? MF_ENABLED : MF_GRAYED));
    DrawMenuBar(window_);
    return;
  }
  const UINT id = static_cast<UINT>(MenuIdOfRow(row));
  EnableMenuItem(bar_, id, MF_BYCOMMAND | (model.Enabled() ? MF_ENABLED : MF_GRAYED));
  CheckMenuItem(bar_, id, MF_BYCOMMAND | (model.Checked() ? MF_CHECKED : MF_UNCHECKED));
}

MenuItem* MenuBinder::ModelOf(int id) const {
  const int row = id - kFirstMenuId;
  if (row < 0 || row >= static_cast<int>(menus_.size())) return nullptr;
  return menus_[static_cast<std::size_t>(row)].model;
}

bool MenuBinder::OnCommand(int id) {
  const int row = id - kFirstMenuId;
  if (row < 0 || row >= static_cast<int>(menus_.size())) return false;
  if (MenuItem* model = ModelOf(id)) model->UserClick();
  return true;
}

void MenuBinder::OnSelect(int id) {
  if (MenuItem* model = ModelOf(id); model && model->Select) model->Select();
}

}  // namespace zefta::win32
