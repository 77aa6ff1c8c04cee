#include "study/FunctionPages.h"

#include <algorithm>

namespace ov {

std::string PageBase(const std::string& entry) { return entry.substr(0, entry.find('.')); }

std::string PageEntry(const std::string& fileName) { return PageBase(fileName) + ".ov"; }

QString PageLabel(std::size_t number, std::size_t count) {
    return QStringLiteral("第%1页/共%2页").arg(number).arg(count);
}

std::optional<TPageTarget> PageTarget(TPageButton button, const std::vector<std::string>& pages,
                                      const std::string& currentEntry) {
    const auto found = std::find(pages.begin(), pages.end(), currentEntry);
    if (found == pages.end()) return std::nullopt;
    const std::size_t current = static_cast<std::size_t>(found - pages.begin());
    const std::size_t last = pages.size() - 1;
    switch (button) {
        case TPageButton::First:
            return TPageTarget{0, false, true};
        case TPageButton::Last:
            return TPageTarget{last, true, false};
        case TPageButton::Next:
            if (current == last) return TPageTarget{last, true, false};
            return TPageTarget{current + 1, true, current + 1 != last};
        case TPageButton::Prior:
            if (current == 0) return TPageTarget{0, false, true};
            return TPageTarget{current - 1, current - 1 != 0, true};
    }
    return std::nullopt;
}

}  // namespace ov
