#include "store/StoredSecrets.h"

namespace ov {

const std::string_view kCatalogueDbPassword = "5AED2D2F1921CDB4BF5D84";
const std::string_view kLessonPageKey = kCatalogueDbPassword;
const std::string_view kClassPackageSuffix = "3C21E67EB15D";
const std::string_view kWordDbFileName = "71EB15A745E909699A91";
const std::string_view kWordDbPassword = "C477D16794A79E89A38280F93D7DAC45FE";

}  // namespace ov
