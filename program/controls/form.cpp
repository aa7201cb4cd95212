// Window ids from the layout tables, and CenterForm.
#include "controls/form.h"

namespace zefta {

int ControlId(const FormLayout& layout, std::string_view name) {
  for (std::size_t row = 0; row < layout.controls.size(); ++row)
    if (layout.controls[row].name && name == layout.controls[row].name) return ControlIdOfRow(row);
  return 0;
}

int MenuId(const FormLayout& layout, std::string_view name) {
  for (std::size_t row = 0; row < layout.menus.size(); ++row)
    if (layout.menus[row].name && name == layout.menus[row].name) return MenuIdOfRow(row);
  return 0;
}

void CenterForm(Form& form, WindowHost& host) {
  // Single precision, width before height, as the classic runtime computes it;
  // a window larger than the screen gets a negative position.
  const float left = (static_cast<float>(host.ScreenWidth()) - static_cast<float>(form.Width())) / 2.0f;
  const float top = (static_cast<float>(host.ScreenHeight()) - static_cast<float>(form.Height())) / 2.0f - 150.0f;
  form.Move(static_cast<int>(left), static_cast<int>(top));
}

}  // namespace zefta
