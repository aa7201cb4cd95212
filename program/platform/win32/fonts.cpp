#include "platform/win32/fonts.h"

#include <algorithm>

#include "controls/form.h"
#include "platform/win32/screen_units.h"

namespace zefta::win32 {

namespace {

// A screen DC with a font selected, for measuring.
class MeasuringDc {
 public:
  explicit MeasuringDc(HFONT font) : dc_(GetDC(nullptr)), old_(SelectObject(dc_, font)) {}
  ~MeasuringDc() {
    SelectObject(dc_, old_);
    ReleaseDC(nullptr, dc_);
  }
  MeasuringDc(const MeasuringDc&) = delete;
  MeasuringDc& operator=(const MeasuringDc&) = delete;
  operator HDC() const { return dc_; }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

}  // namespace

FontSet::~FontSet() {
  for (auto& [points, font] : fonts_) DeleteObject(font);
}

HFONT FontSet::OfSize(int points) {
  for (auto& [size, font] : fonts_)
    if (size == points) return font;
  HFONT font = CreateFontW(PointsToFontHeight(points), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN,
                           reinterpret_cast<const wchar_t*>(kFontFace));
  fonts_.emplace_back(points, font);
  return font;
}

int LineHeight(HFONT font) {
  MeasuringDc dc(font);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  return metrics.tmHeight;
}

}  // namespace zefta::win32
