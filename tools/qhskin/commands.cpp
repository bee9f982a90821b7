#include "tools/qhskin/commands.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <vector>

#include "core/exception.h"
#include "core/gbk.h"
#include "core/text.h"
#include "skin/data/skin_reader.h"
#include "tools/qhskin/skin_package.h"

namespace fs = std::filesystem;

namespace qh {

namespace {

// Member names are code page 936 byte strings; the file system speaks UTF-16
// on Windows and UTF-8 elsewhere.
fs::path MemberPath(const fs::path& folder, const std::string& name) {
#ifdef _WIN32
    return folder / fs::path(GbkToWide(name));
#else
    return folder / fs::path(GbkToUtf8(name));
#endif
}

std::string MemberName(const fs::path& file) {
#ifdef _WIN32
    return WideToGbk(file.filename().wstring());
#else
    return Utf8ToGbk(file.filename().string());
#endif
}

// For messages and listings on this platform's terminal.
std::string Shown(const std::string& gbk) {
#ifdef _WIN32
    return gbk;
#else
    return GbkToUtf8(gbk);
#endif
}

// A name from a package must stay a plain file inside the target folder.
bool IsSafeMemberName(const std::string& name) {
    if (name.empty() || name == "." || name == "..") return false;
    for (unsigned char c : name) {
        if (c < 0x20 || c == '/' || c == '\\' || c == ':' || c == '*' || c == '?' || c == '"' ||
            c == '<' || c == '>' || c == '|')
            return false;
    }
    return name.back() != '.' && name.back() != ' ';
}

bool ReadWholeFile(const fs::path& file, std::string& bytes) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

bool WriteWholeFile(const fs::path& file, const void* bytes, size_t count) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(static_cast<const char*>(bytes), static_cast<std::streamsize>(count));
    out.close();
    return !out.fail();
}

std::string OneLine(std::string text) {
    std::replace(text.begin(), text.end(), '\r', ' ');
    std::replace(text.begin(), text.end(), '\n', ' ');
    return text;
}

bool OpenSkin(TSkinReader& reader, const std::string& skinFile) {
    if (!fs::is_regular_file(fs::path(skinFile))) {
        ReportError(skinFile + ": no such skin file");
        return false;
    }
    if (!reader.OpenFile(skinFile)) {
        ReportError(skinFile + ": " + OneLine(reader.ErrorMessage()));
        return false;
    }
    return true;
}

} // namespace

int ReportError(const std::string& text) {
    std::fprintf(stderr, "qhskin: %s\n", text.c_str());
    return 1;
}

int RunPack(const std::string& folder, const std::string& skinFile) {
    const fs::path dir(folder);
    std::error_code error;
    if (!fs::is_directory(dir, error)) return ReportError(folder + ": no such folder");

    std::vector<fs::path> inis;
    std::vector<fs::path> bitmaps;
    for (const fs::directory_entry& entry : fs::directory_iterator(dir, error)) {
        if (!entry.is_regular_file()) continue;
        const std::string extension = LowerCase(entry.path().extension().string());
        if (extension == ".ini")
            inis.push_back(entry.path());
        else if (extension == ".bmp")
            bitmaps.push_back(entry.path());
    }
    if (error) return ReportError(folder + ": " + error.message());
    if (inis.size() != 1) {
        return ReportError(Format("%s: %d INI files; a skin needs exactly one", folder.c_str(),
                                  static_cast<int>(inis.size())));
    }
    std::sort(bitmaps.begin(), bitmaps.end());

    std::vector<TSkinMember> members;
    std::vector<fs::path> files = inis;
    files.insert(files.end(), bitmaps.begin(), bitmaps.end());
    for (const fs::path& file : files) {
        TSkinMember member;
        member.Name = MemberName(file);
        if (!ReadWholeFile(file, member.Data))
            return ReportError(Shown(file.string()) + ": cannot read the file");
        if (&file != &files.front() && member.Data.compare(0, 2, "BM") != 0)
            return ReportError(Shown(file.string()) + ": not a Windows bitmap");
        members.push_back(std::move(member));
    }

    std::vector<uint8_t> packed;
    try {
        packed = PackSkin(members);
    } catch (const Exception& e) {
        return ReportError(folder + ": " + e.Message);
    }
    if (!WriteWholeFile(fs::path(skinFile), packed.data(), packed.size()))
        return ReportError(skinFile + ": cannot write the file");
    return 0;
}

int RunUnpack(const std::string& skinFile, const std::string& folder) {
    TSkinReader reader;
    if (!OpenSkin(reader, skinFile)) return 1;
    const fs::path dir(folder);
    std::error_code error;
    fs::create_directories(dir, error);
    if (!fs::is_directory(dir)) return ReportError(folder + ": cannot create the folder");

    // The program reads the first of two members that differ only in case;
    // so does the unpacked folder.
    std::set<std::string> written;
    for (int i = 0; i < reader.MemberCount(); ++i) {
        const std::string& name = reader.StoredNames().Strings(i);
        if (!IsSafeMemberName(name))
            return ReportError(skinFile + ": unsafe member name \"" + Shown(name) + "\"");
        if (!written.insert(reader.Names().Strings(i)).second) continue;
        TMemoryStream member;
        reader.ExtractMember(name, member);
        if (!WriteWholeFile(MemberPath(dir, name), member.Memory(),
                            static_cast<size_t>(member.Size())))
            return ReportError(Shown(MemberPath(dir, name).string()) + ": cannot write the file");
    }
    return 0;
}

int RunList(const std::string& skinFile) {
    TSkinReader reader;
    if (!OpenSkin(reader, skinFile)) return 1;
    for (int i = 0; i < reader.MemberCount(); ++i) {
        std::printf("%s\t%d\n", Shown(reader.StoredNames().Strings(i)).c_str(),
                    reader.MemberSize(i));
    }
    return 0;
}

} // namespace qh
