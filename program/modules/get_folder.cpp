#include "modules/get_folder.h"

namespace zefta {

std::u16string_view CutAtNul(std::u16string_view text) { return text.substr(0, text.find(u'\0')); }

}  // namespace zefta
