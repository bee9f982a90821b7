#include "skin/data/quick_ini.h"

#include "core/text.h"

namespace qh {

namespace {

bool IsHeader(const std::string& line) {
    return line.size() >= 2 && line.front() == '[' && line.back() == ']';
}

} // namespace

void TQuickIni::LoadFromStream(TStream& stream) {
    const int64_t remaining = stream.Size() - stream.Position();
    std::string text(remaining > 0 ? static_cast<size_t>(remaining) : 0, '\0');
    if (!text.empty()) text.resize(static_cast<size_t>(stream.Read(text.data(), remaining)));
    LoadFromText(text);
}

void TQuickIni::LoadFromText(std::string_view text) {
    FLines.clear();
    FSections.clear();
    const size_t end = text.find('\0');
    if (end != std::string_view::npos) text = text.substr(0, end);
    size_t start = 0;
    while (start < text.size()) {
        size_t stop = text.find_first_of("\r\n", start);
        if (stop == std::string_view::npos) stop = text.size();
        std::string line = Trim(text.substr(start, stop - start));
        start = stop;
        if (start < text.size()) start += text.compare(start, 2, "\r\n") == 0 ? 2 : 1;
        if (line.empty() || line.front() == ';') continue;
        if (IsHeader(line)) FSections.emplace_back(line, static_cast<int>(FLines.size()));
        FLines.push_back(std::move(line));
    }
}

int TQuickIni::FindSection(std::string_view name) const {
    std::string header(1, '[');
    header.append(name);
    header.push_back(']');
    for (const auto& [text, index] : FSections)
        if (SameText(text, header)) return index;
    return -1;
}

std::string TQuickIni::ReadString(std::string_view section, std::string_view key,
                                  const std::string& fallback) const {
    std::string result = fallback;
    const std::string wanted = LowerCase(key);
    if (FLines.empty()) return result;
    const int header = FindSection(section);
    if (header < 0) return result;
    for (size_t i = static_cast<size_t>(header) + 1; i < FLines.size(); ++i) {
        const std::string& line = FLines[i];
        if (IsHeader(line)) break;
        const size_t equals = line.find('=');
        const std::string lineKey =
            equals == std::string::npos ? std::string() : LowerCase(Trim(line.substr(0, equals)));
        if (lineKey != wanted) continue;
        if (equals != std::string::npos) {
            std::string value = Trim(line.substr(equals + 1));
            if (!value.empty()) result = std::move(value);
        }
        break;
    }
    return result;
}

int32_t TQuickIni::ReadInteger(std::string_view section, std::string_view key,
                               int32_t fallback) const {
    std::string text = ReadString(section, key, std::string());
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        text.replace(0, 2, "$");
    return StrToIntDef(text, fallback);
}

void TQuickIni::ReadSections(TStringList& list) const {
    list.Clear();
    for (const auto& [text, index] : FSections) {
        const std::string trimmed = Trim(text);
        list.Add(Trim(trimmed.substr(1, trimmed.size() - 2)));
    }
}

} // namespace qh
