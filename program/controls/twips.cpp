#include "controls/twips.h"

#include <cstdint>

namespace zefta {

int ScaleRounded(int value, int numerator, int denominator) {
  const std::int64_t product = static_cast<std::int64_t>(value) * numerator;
  const std::int64_t half = denominator / 2;
  return static_cast<int>(product >= 0 ? (product + half) / denominator : (product - half) / denominator);
}

PixelRect PlaceAt(const ControlLayout& row, int dpi) {
  const TwipsBox& box = row.box;
  return {TwipsToPixels(box.left, dpi), TwipsToPixels(box.top, dpi), TwipsToPixels(box.left + box.width, dpi),
          TwipsToPixels(box.top + box.height, dpi)};
}

PixelRect ClientAt(const FormLayout& layout, int dpi) {
  return {0, 0, TwipsToPixels(layout.clientWidth, dpi), TwipsToPixels(layout.clientHeight, dpi)};
}

}  // namespace zefta
