// Header lines ("Name: value"), names compared without regard to case,
// continuation lines unfolded when a value is read.
#pragma once

#include <string>
#include <vector>

namespace qh {

class TNetHeaderList {
public:
    std::string NameValueSeparator = ": ";
    // Stored values are not folded; the width is kept for callers that fold.
    int FoldLength = 78;

    int Count() const { return static_cast<int>(FLines.size()); }
    const std::string& Strings(int index) const;
    void Add(std::string line) { FLines.push_back(std::move(line)); }
    void Delete(int index);
    void Clear() { FLines.clear(); }
    const std::vector<std::string>& Lines() const { return FLines; }

    // The text before the first ":" (empty without one).
    static std::string NameOf(const std::string& line);
    int FindHeader(const std::string& name) const;
    std::string GetHeaderValue(const std::string& name) const;
    // An empty value deletes the line with its continuation lines.
    void SetHeaderValue(const std::string& name, const std::string& value);

private:
    // Index after the line at index and its continuation lines.
    int EndOfHeader(int index) const;

    std::vector<std::string> FLines;
};

} // namespace qh
