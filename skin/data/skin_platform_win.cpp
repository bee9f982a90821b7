#include <windows.h>

#include <cstring>

#include "core/gbk.h"
#include "skin/data/skin_platform.h"

namespace qh::platform {

namespace {

// The bytes of a resource of the program, or none (data null).
struct TResourceBytes {
    const void* Data = nullptr;
    DWORD Size = 0;
};

TResourceBytes ProgramResource(const std::string& name, LPCWSTR type) {
    const std::wstring wide = GbkToWide(name);
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(module, wide.c_str(), type);
    if (!found) return {};
    HGLOBAL loaded = LoadResource(module, found);
    return {loaded ? LockResource(loaded) : nullptr, SizeofResource(module, found)};
}

} // namespace

// A bitmap resource holds the file without its 14-byte file header; the
// header is put back so the portable reader takes it.
std::string FindProgramBitmap(const std::string& name) {
    const auto [data, size] = ProgramResource(name, MAKEINTRESOURCEW(2)); // RT_BITMAP
    if (!data || size < sizeof(BITMAPINFOHEADER)) return std::string();
    BITMAPINFOHEADER info;
    std::memcpy(&info, data, sizeof info);
    DWORD offset = 14 + info.biSize;
    if (info.biSize == sizeof(BITMAPINFOHEADER) && info.biCompression == BI_BITFIELDS) offset += 12;
    if (info.biBitCount <= 8)
        offset += 4 * (info.biClrUsed ? info.biClrUsed : (1u << info.biBitCount));
    std::string file(14, '\0');
    const DWORD total = 14 + size;
    file[0] = 'B';
    file[1] = 'M';
    std::memcpy(&file[2], &total, 4);
    std::memcpy(&file[10], &offset, 4);
    file.append(static_cast<const char*>(data), size);
    return file;
}

std::string FindProgramData(const std::string& name) {
    const auto [data, size] = ProgramResource(name, MAKEINTRESOURCEW(10)); // RT_RCDATA
    return data ? std::string(static_cast<const char*>(data), size) : std::string();
}

void ShowMessageBox(const std::string& text) {
    MessageBoxW(GetActiveWindow(), GbkToWide(text).c_str(), GbkToWide("青禾网络电视").c_str(),
                MB_OK | MB_ICONINFORMATION);
}

} // namespace qh::platform
