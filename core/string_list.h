// An ordered list of byte strings, filled from and joined into text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qh {

class TStringList {
public:
    int Count() const { return static_cast<int>(FItems.size()); }
    // Raises EListError "列表索引越界 (%d)" outside 0..Count-1.
    const std::string& Strings(int index) const;
    void Add(std::string text) { FItems.push_back(std::move(text)); }
    void Clear() { FItems.clear(); }
    int IndexOf(std::string_view text) const;

    // Lines separated by CR, LF or CR LF.
    void SetText(std::string_view text);
    // Every line followed by CR LF.
    std::string Text() const;

    const std::vector<std::string>& Items() const { return FItems; }

private:
    std::vector<std::string> FItems;
};

} // namespace qh
