#include "app/update_check_win.h"

#include "app/program_addresses.h"
#include "core/gbk.h"

#include <shellapi.h>

#include <vector>

namespace qh {

bool ReadFileVersion(const std::wstring& fileName, TFixedFileVersion& record) {
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeW(fileName.c_str(), &ignored);
    if (size == 0) return false;
    std::vector<unsigned char> buffer(size);
    if (!GetFileVersionInfoW(fileName.c_str(), 0, size, buffer.data())) return false;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixedSize = 0;
    if (!VerQueryValueW(buffer.data(), L"\\", reinterpret_cast<void**>(&fixed), &fixedSize) ||
        fixed == nullptr || fixedSize < sizeof(VS_FIXEDFILEINFO)) {
        return false;
    }
    record.Signature = fixed->dwSignature;
    record.StrucVersion = fixed->dwStrucVersion;
    record.FileVersionMS = fixed->dwFileVersionMS;
    record.FileVersionLS = fixed->dwFileVersionLS;
    record.ProductVersionMS = fixed->dwProductVersionMS;
    record.ProductVersionLS = fixed->dwProductVersionLS;
    record.FileFlagsMask = fixed->dwFileFlagsMask;
    record.FileFlags = fixed->dwFileFlags;
    record.FileOS = fixed->dwFileOS;
    record.FileType = fixed->dwFileType;
    record.FileSubtype = fixed->dwFileSubtype;
    return true;
}

std::wstring ExecutableFileName() {
    // Long paths: grow the buffer until the name fits.
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        DWORD length = GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
        if (length == 0) return std::wstring();
        if (length < name.size()) {
            name.resize(length);
            return name;
        }
        if (name.size() >= 32768) return std::wstring();
        name.resize(name.size() * 2);
    }
}

void InfoBox(const std::string& text, HWND owner) {
    MessageBoxW(owner, GbkToWide(text).c_str(), GbkToWide(kUpdateBoxTitle).c_str(),
                MB_OK | MB_ICONINFORMATION);
}

bool ConfirmBox(const std::string& text, HWND owner) {
    return MessageBoxW(owner, GbkToWide(text).c_str(), GbkToWide(kUpdateBoxTitle).c_str(),
                       MB_YESNO | MB_ICONQUESTION) == IDYES;
}

namespace {

class TWinUpdateCheckHost : public TUpdateCheckHost {
public:
    TWinUpdateCheckHost(const std::function<std::string(const std::string&)>& fetchText,
                       const std::function<void()>& terminate)
        : FFetchText(fetchText), FTerminate(terminate),
          FUpdater(UpdaterPath(ExecutableFileName())) {}

    void ReadOwnFileVersion(TFixedFileVersion& record) override {
        ReadFileVersion(ExecutableFileName(), record);
    }
    std::string FetchText(const std::string& address) override { return FFetchText(address); }
    bool UpdaterExists() override {
        DWORD attributes = GetFileAttributesW(FUpdater.c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
    }
    void InfoBox(const std::string& text) override { qh::InfoBox(text); }
    bool ConfirmBox(const std::string& text) override { return qh::ConfirmBox(text); }
    void StartUpdater() override {
        // A failed start is not reported; the program ends all the same.
        ShellExecuteW(nullptr, L"open", FUpdater.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    }
    void Terminate() override { FTerminate(); }

private:
    const std::function<std::string(const std::string&)>& FFetchText;
    const std::function<void()>& FTerminate;
    std::wstring FUpdater;
};

} // namespace

void RunUpdateCheck(const std::function<std::string(const std::string&)>& fetchText,
                    const std::function<void()>& terminate) {
    TWinUpdateCheckHost host(fetchText, terminate);
    CheckForUpdate(host, UpdateVersionAddress());
}

} // namespace qh
