#include "app/update_check.h"

#include "core/text.h"

namespace qh {

std::string VersionText(const TFixedFileVersion& record) {
    return Format("%u.%u.%u.%u", record.FileVersionMS >> 16, record.FileVersionMS & 0xFFFFu,
                  record.FileVersionLS >> 16, record.FileVersionLS & 0xFFFFu);
}

std::wstring UpdaterPath(const std::wstring& executablePath) {
    size_t slash = executablePath.find_last_of(L"\\/");
    std::wstring folder =
        slash == std::wstring::npos ? std::wstring() : executablePath.substr(0, slash + 1);
    return folder + kUpdaterFileName;
}

void CheckForUpdate(TUpdateCheckHost& host, const std::string& versionAddress) {
    TFixedFileVersion record;
    host.ReadOwnFileVersion(record);
    const std::string ownVersion = VersionText(record);

    // Taken as it comes: a trailing line break already counts as a difference.
    const std::string published = host.FetchText(versionAddress);
    if (published.empty() || published == ownVersion) return;

    if (!host.UpdaterExists()) {
        host.InfoBox(kUpdaterMissingText);
        return;
    }
    if (host.ConfirmBox(kUpdateOfferText)) host.StartUpdater();
    host.Terminate();
}

} // namespace qh
