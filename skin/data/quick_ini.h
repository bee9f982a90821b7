// A small read-only INI parser over a skin's INI text.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "core/stream.h"
#include "core/string_list.h"

namespace qh {

class TQuickIni {
public:
    // Parses from the stream's position to its end, replacing earlier
    // content. A zero byte ends the text.
    void LoadFromStream(TStream& stream);
    void LoadFromText(std::string_view text);

    // Index in Lines() of the header "[" + name + "]", without regard to
    // case; -1 when absent.
    int FindSection(std::string_view name) const;
    // The first occurrence of key in section wins; an empty value gives
    // fallback.
    std::string ReadString(std::string_view section, std::string_view key,
                           const std::string& fallback) const;
    // Decimal, "$" hexadecimal or "0x" hexadecimal; anything else gives fallback.
    int32_t ReadInteger(std::string_view section, std::string_view key, int32_t fallback) const;
    // The section names without brackets, in text order.
    void ReadSections(TStringList& list) const;

    // The kept lines: trimmed, neither empty nor comments.
    const std::vector<std::string>& Lines() const { return FLines; }

private:
    std::vector<std::string> FLines;
    // Each header as written (trimmed, brackets included) and its line index.
    std::vector<std::pair<std::string, int>> FSections;
};

} // namespace qh
