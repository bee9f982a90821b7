#include <windows.h>

#include <cstring>

#include "core/gbk.h"
#include "skin/data/skin_platform.h"

namespace qh::platform {

// A bitmap resource holds the file without its 14-byte file header; the
// header is put back so the portable reader takes it.
std::string FindProgramBitmap(const std::string& name) {
    const std::wstring wide = GbkToWide(name);
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(module, wide.c_str(), MAKEINTRESOURCEW(2)); // RT_BITMAP
    if (!found) return std::string();
    const DWORD size = SizeofResource(module, found);
    HGLOBAL loaded = LoadResource(module, found);
    const void* data = loaded ? LockResource(loaded) : nullptr;
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
    const std::wstring wide = GbkToWide(name);
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(module, wide.c_str(), MAKEINTRESOURCEW(10)); // RT_RCDATA
    if (!found) return std::string();
    const DWORD size = SizeofResource(module, found);
    HGLOBAL loaded = LoadResource(module, found);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    return data ? std::string(static_cast<const char*>(data), size) : std::string();
}

void ShowMessageBox(const std::string& text) {
    MessageBoxW(GetActiveWindow(), GbkToWide(text).c_str(), GbkToWide("青禾网络电视").c_str(),
                MB_OK | MB_ICONINFORMATION);
}

} // namespace qh::platform
