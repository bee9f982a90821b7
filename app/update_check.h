// The start-up update check: the running program's file version against the
// version text the update host publishes; any difference offers the updater
// and ends the program.
#pragma once

#include <cstdint>
#include <string>

namespace qh {

// The first eleven fields of the platform's fixed file-version block, in its
// order. Callers start from a record of zeros.
struct TFixedFileVersion {
    uint32_t Signature = 0;
    uint32_t StrucVersion = 0;
    uint32_t FileVersionMS = 0;
    uint32_t FileVersionLS = 0;
    uint32_t ProductVersionMS = 0;
    uint32_t ProductVersionLS = 0;
    uint32_t FileFlagsMask = 0;
    uint32_t FileFlags = 0;
    uint32_t FileOS = 0;
    uint32_t FileType = 0;
    uint32_t FileSubtype = 0;
};

// "major.minor.release.build" of the file version; zeros give "0.0.0.0".
std::string VersionText(const TFixedFileVersion& record);

// The updater's file name, relative to the executable's folder.
inline constexpr const wchar_t* kUpdaterFileName = L"Update.exe";
// The folder part of an executable path (through its last "\" or "/")
// followed by the updater's file name.
std::wstring UpdaterPath(const std::wstring& executablePath);

// Title of both update message boxes.
inline constexpr const char* kUpdateBoxTitle = "中国澄川网络影视频道";
inline constexpr const char* kUpdaterMissingText = "系统没有找到更新程序,请检查软件是否正确安装！";
inline constexpr const char* kUpdateOfferText = "系统发现最新版本，是否现在更新";

// Everything the check does outside itself.
class TUpdateCheckHost {
public:
    virtual ~TUpdateCheckHost() = default;
    // The running executable's version record; left untouched on failure.
    virtual void ReadOwnFileVersion(TFixedFileVersion& record) = 0;
    // The body of a GET, or the empty text on any failure.
    virtual std::string FetchText(const std::string& address) = 0;
    virtual bool UpdaterExists() = 0;
    virtual void InfoBox(const std::string& text) = 0;
    // True exactly when the answer is Yes.
    virtual bool ConfirmBox(const std::string& text) = 0;
    virtual void StartUpdater() = 0;
    // Asks the application to end once its message loop takes the request.
    virtual void Terminate() = 0;
};

// versionAddress is where the update host publishes its version.
void CheckForUpdate(TUpdateCheckHost& host, const std::string& versionAddress);

} // namespace qh
