#include "modules/get_folder.h"

namespace zefta {

namespace {

template <typename View>
View CutAtNulOf(View text) {
  const auto nul = text.find(typename View::value_type{});
  return nul == View::npos ? text : text.substr(0, nul);
}

}  // namespace

std::u16string_view CutAtNul(std::u16string_view text) { return CutAtNulOf(text); }
std::string_view CutAtNul(std::string_view bytes) { return CutAtNulOf(bytes); }

}  // namespace zefta
