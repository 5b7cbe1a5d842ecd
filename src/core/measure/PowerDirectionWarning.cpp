#include "core/measure/PowerDirectionWarning.h"

#include "core/platform/NumberText.h"
#include "core/strings/StringTable.h"

namespace wattrix {

std::string PowerDirectionWarning(bool reversed, std::int32_t average, std::int32_t reverse) {
  if (!reversed) return {};
  return FormatC("%s (Avg:%d, Rev:%d)", strings::GetString("S_SETTING_WARNING_POWER").c_str(),
                 static_cast<int>(average), static_cast<int>(reverse));
}

}  // namespace wattrix
