// The menu bar of a window and its accelerators, built from the layout's
// menu table: captions, shortcuts shown beside them, enabled and checked
// states mirrored from the models, and commands fed back to them.
#pragma once

#include <windows.h>

#include <vector>

#include "controls/form.h"

namespace zefta::win32 {

class MenuBinder {
 public:
  explicit MenuBinder(const std::vector<MenuLayout>& menus);
  ~MenuBinder();
  MenuBinder(const MenuBinder&) = delete;
  MenuBinder& operator=(const MenuBinder&) = delete;

  // Null when the window has no menus.
  HMENU Bar() const { return bar_; }
  HACCEL Accelerators() const { return accelerators_; }
  // Mirrors the models into the bar of window from now on, or no longer.
  void Attach(HWND window);
  void Detach();
  // A menu command (by mouse, access key or shortcut); false for other ids.
  bool OnCommand(int id);
  // An item highlighted in its open menu.
  void OnSelect(int id);

 private:
  void Mirror(std::size_t row);
  MenuItem* ModelOf(int id) const;
  std::vector<MenuLayout> menus_;
  HMENU bar_ = nullptr;
  HACCEL accelerators_ = nullptr;
  HWND window_ = nullptr;
};

}  // namespace zefta::win32
