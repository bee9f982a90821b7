#include "net/net_header_list.h"

#include "core/exception.h"
#include "core/text.h"
#include "net/net_text.h"

namespace qh {

namespace {
bool IsContinuation(const std::string& line) {
    return !line.empty() && (line[0] == ' ' || line[0] == '\t');
}

std::string TrimBlanksLeft(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    return text.substr(i);
}
} // namespace

const std::string& TNetHeaderList::Strings(int index) const {
    if (index < 0 || index >= Count()) RaiseListIndexError(index);
    return FLines[static_cast<size_t>(index)];
}

void TNetHeaderList::Delete(int index) {
    if (index < 0 || index >= Count()) RaiseListIndexError(index);
    FLines.erase(FLines.begin() + index);
}

std::string TNetHeaderList::NameOf(const std::string& line) {
    size_t colon = NetFind(line, ":");
    return colon == std::string::npos ? std::string() : line.substr(0, colon);
}

int TNetHeaderList::FindHeader(const std::string& name) const {
    for (int i = 0; i < Count(); ++i)
        if (SameText(NameOf(FLines[static_cast<size_t>(i)]), name)) return i;
    return -1;
}

int TNetHeaderList::EndOfHeader(int index) const {
    int next = index + 1;
    while (next < Count() && IsContinuation(FLines[static_cast<size_t>(next)]))
        ++next;
    return next;
}

std::string TNetHeaderList::GetHeaderValue(const std::string& name) const {
    int index = FindHeader(name);
    if (index < 0) return "";
    const std::string& line = FLines[static_cast<size_t>(index)];
    std::string value = line.substr(NetFind(line, ":") + 1);
    for (int i = index + 1; i < EndOfHeader(index); ++i) {
        if (!value.empty() && value.back() != ' ' && value.back() != '\t') value += ' ';
        value += TrimBlanksLeft(FLines[static_cast<size_t>(i)]);
    }
    return TrimBlanksLeft(value);
}

void TNetHeaderList::SetHeaderValue(const std::string& name, const std::string& value) {
    int index = FindHeader(name);
    if (index >= 0) FLines.erase(FLines.begin() + index, FLines.begin() + EndOfHeader(index));
    if (value.empty()) return;
    std::string line = name + NameValueSeparator + value;
    if (index >= 0)
        FLines.insert(FLines.begin() + index, std::move(line));
    else
        FLines.push_back(std::move(line));
}

} // namespace qh
