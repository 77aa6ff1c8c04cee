#include "store/StoredSecrets.h"

namespace ov {

const std::string_view kCatalogueDbPassword = "5AED2D2F1921CDB4BF5D84";
const std::string_view kLessonPageKey = kCatalogueDbPassword;
const std::string_view kClassPackageSuffix = "3C21E67EB15D";
const std::string_view kWordDbFileName = "71EB15A745E909699A91";
const std::string_view kWordDbConnectionLead = "2E39EC42FC5DE40A28F734D266";
const std::string_view kWordDbConnectionTail = "938977C5678BAA86BD4DE773A235F72FCA6390A0";
const std::string_view kWordDbPassword = "C477D16794A79E89A38280F93D7DAC45FE";

}  // namespace ov
