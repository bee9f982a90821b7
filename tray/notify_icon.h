// The notify-icon record as the tray icon fills it, and the one seam through
// which it reaches the shell.
//
// Texts are GBK byte strings, counted in bytes like the shell's 8-bit record
// (tip 127, balloon text 255, title 63, each plus its NUL); the seam turns
// the record into the wide form just before the call, so tests see exactly
// what the component asked for.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <functional>
#include <string>

namespace qh {

constexpr UINT kTrayCallbackMessage = WM_USER + 1024; // 2048
constexpr size_t kTrayTipBytes = 127;
constexpr size_t kTrayBalloonTextBytes = 255;
constexpr size_t kTrayBalloonTitleBytes = 63;

struct TNotifyIconRecord {
    HWND Window = nullptr;
    UINT Id = 0;
    UINT Flags = 0;
    UINT CallbackMessage = 0;
    HICON Icon = nullptr;
    std::string Tip;  // at most kTrayTipBytes
    std::string Info; // balloon text, at most kTrayBalloonTextBytes
    UINT TimeoutOrVersion = 0;
    std::string InfoTitle; // at most kTrayBalloonTitleBytes
    DWORD InfoFlags = 0;
};

// The wide record that Shell_NotifyIconW gets for a record; texts that do not
// fit the wide fields are cut on a character boundary.
NOTIFYICONDATAW ToNotifyIconDataW(const TNotifyIconRecord& record);

// Shell_NotifyIconW with the record, or the installed replacement.
bool ShellNotifyIcon(DWORD message, const TNotifyIconRecord& record);

using TShellNotifyIconFunc = std::function<bool(DWORD message, const TNotifyIconRecord& record)>;

// Replaces the shell call (tests); an empty function restores the real one.
void SetShellNotifyIconOverride(TShellNotifyIconFunc func);

} // namespace qh
