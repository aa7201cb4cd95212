// CenterForm: a window in the middle of the screen, slightly above it.
#include "controls/form.h"

namespace zefta {

void CenterForm(Form& form, WindowHost& host) {
  // Single precision, width before height, as the classic runtime computes it;
  // a window larger than the screen gets a negative position.
  const float left = (static_cast<float>(host.ScreenWidth()) - static_cast<float>(form.Width())) / 2.0f;
  const float top = (static_cast<float>(host.ScreenHeight()) - static_cast<float>(form.Height())) / 2.0f - 150.0f;
  form.Move(static_cast<int>(left), static_cast<int>(top));
}

}  // namespace zefta
