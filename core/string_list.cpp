#include "core/string_list.h"

#include "core/exception.h"
#include "core/text.h"

namespace qh {

const std::string& TStringList::Strings(int index) const {
    if (index < 0 || index >= Count()) RaiseListIndexError(index);
    return items_[static_cast<size_t>(index)];
}

int TStringList::IndexOf(std::string_view text) const {
    for (size_t i = 0; i < items_.size(); ++i)
        if (SameText(items_[i], text)) return static_cast<int>(i);
    return -1;
}

void TStringList::SetText(std::string_view text) { items_ = SplitLines(text); }

std::string TStringList::Text() const {
    std::string out;
    for (const std::string& line : items_) {
        out += line;
        out += "\r\n";
    }
    return out;
}

} // namespace qh
