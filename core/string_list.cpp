#include "core/string_list.h"

#include "core/exception.h"
#include "core/text.h"

namespace qh {

const std::string& TStringList::Strings(int index) const {
    if (index < 0 || index >= Count()) RaiseListIndexError(index);
    return FItems[static_cast<size_t>(index)];
}

int TStringList::IndexOf(std::string_view text) const {
    for (size_t i = 0; i < FItems.size(); ++i)
        if (SameText(FItems[i], text)) return static_cast<int>(i);
    return -1;
}

void TStringList::SetText(std::string_view text) { FItems = SplitLines(text); }

std::string TStringList::Text() const {
    std::string out;
    for (const std::string& line : FItems) {
        out += line;
        out += "\r\n";
    }
    return out;
}

} // namespace qh
