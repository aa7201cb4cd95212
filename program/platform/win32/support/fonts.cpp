#include "platform/win32/support/fonts.h"

#include <algorithm>

#include "controls/form.h"
#include "controls/twips.h"

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

constexpr std::size_t kBlock = 256;

}  // namespace

FontSet::~FontSet() {
  for (const Made& made : fonts_) DeleteObject(made.font);
}

HFONT FontSet::OfSize(int points) {
  for (const Made& made : fonts_)
    if (made.points == points && made.dpi == dpi_) return made.font;
  // A negative height asks for the em, which is what points measure.
  HFONT font = CreateFontW(-PointsToPixels(points, dpi_), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN,
                           reinterpret_cast<const wchar_t*>(kFontFace));
  fonts_.push_back({points, dpi_, font});
  return font;
}

HFONT FontSet::SameSize(HFONT font) {
  for (const Made& made : fonts_)
    if (made.font == font) return OfSize(made.points);
  return font;
}

int LineHeight(HFONT font) {
  MeasuringDc dc(font);
  TEXTMETRICW metrics{};
  if (!GetTextMetricsW(dc, &metrics)) return 16;
  const int ascent = metrics.tmAscent;
  int bottom = metrics.tmHeight;
  // Where the face puts its underline, when it has outlines.
  if (const UINT size = GetOutlineTextMetricsW(dc, 0, nullptr); size >= sizeof(OUTLINETEXTMETRICW)) {
    std::vector<char> buffer(size);
    auto* outline = reinterpret_cast<OUTLINETEXTMETRICW*>(buffer.data());
    if (GetOutlineTextMetricsW(dc, size, outline))
      bottom = std::max(bottom, ascent - outline->otmsUnderscorePosition + std::max<int>(outline->otmsUnderscoreSize, 1));
  }
  // And how low the glyphs that reach lowest in names really go.
  const MAT2 identity{{0, 1}, {0, 0}, {0, 0}, {0, 1}};
  for (wchar_t c : std::wstring_view(L"_gjpqy|")) {
    GLYPHMETRICS glyph{};
    if (GetGlyphOutlineW(dc, c, GGO_METRICS, &glyph, 0, nullptr, &identity) != GDI_ERROR)
      bottom = std::max<int>(bottom, ascent - glyph.gmptGlyphOrigin.y + static_cast<int>(glyph.gmBlackBoxY));
  }
  return bottom;
}

void TextMeter::LoadBlock(char16_t c) {
  if (widths_.empty()) widths_.assign(0x10000, -1);
  const UINT first = c / kBlock * kBlock;
  MeasuringDc dc(font_);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  INT block[kBlock];
  const bool ok = GetCharWidth32W(dc, first, first + kBlock - 1, block) != FALSE;
  for (std::size_t i = 0; i < kBlock; ++i) widths_[first + i] = ok ? block[i] : metrics.tmMaxCharWidth;
}

int TextMeter::Width(std::u16string_view text) {
  int width = 0;
  for (char16_t c : text) {
    if (widths_.empty() || widths_[c] < 0) LoadBlock(c);
    width += widths_[c];
  }
  return width;
}

int TextMeter::Widest(const std::vector<std::u16string>& texts) {
  int widest = 0;
  for (const auto& text : texts) widest = std::max(widest, Width(text));
  return widest;
}

}  // namespace zefta::win32
