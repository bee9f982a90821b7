#include "tray/notify_icon.h"

#include "core/gbk.h"

#include <shellapi.h>

#include <algorithm>

namespace qh {

namespace {

TShellNotifyIconFunc& CurrentFunc() {
    static TShellNotifyIconFunc func;
    return func;
}

template <size_t N> void CopyWide(wchar_t (&field)[N], const std::string& gbk) {
    std::wstring text = GbkToWide(gbk);
    size_t length = std::min(text.size(), N - 1);
    // A surrogate pair must not lose its second half.
    if (length > 0 && length < text.size() && text[length - 1] >= 0xD800 &&
        text[length - 1] <= 0xDBFF)
        --length;
    std::copy_n(text.data(), length, field);
    field[length] = L'\0';
}

} // namespace

NOTIFYICONDATAW ToNotifyIconDataW(const TNotifyIconRecord& record) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = record.Window;
    data.uID = record.Id;
    data.uFlags = record.Flags;
    data.uCallbackMessage = record.CallbackMessage;
    data.hIcon = record.Icon;
    CopyWide(data.szTip, record.Tip);
    CopyWide(data.szInfo, record.Info);
    data.uTimeout = record.TimeoutOrVersion;
    CopyWide(data.szInfoTitle, record.InfoTitle);
    data.dwInfoFlags = record.InfoFlags;
    return data;
}

bool ShellNotifyIcon(DWORD message, const TNotifyIconRecord& record) {
    if (CurrentFunc()) return CurrentFunc()(message, record);
    NOTIFYICONDATAW data = ToNotifyIconDataW(record);
    return Shell_NotifyIconW(message, &data) != FALSE;
}

void SetShellNotifyIconOverride(TShellNotifyIconFunc func) {
    CurrentFunc() = std::move(func);
}

} // namespace qh
