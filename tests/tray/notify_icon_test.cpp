#include "tray/notify_icon.h"

#include "tray/tray_icon_handler.h"

#include <shellapi.h>

#include <gtest/gtest.h>

#include <string>

TEST(NotifyIconRecord, WideFormCarriesEveryField) {
    qh::TNotifyIconRecord record;
    record.Window = reinterpret_cast<HWND>(0x1234);
    record.Id = 7;
    record.Flags = NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_INFO;
    record.CallbackMessage = qh::kTrayCallbackMessage;
    record.Icon = reinterpret_cast<HICON>(0x5678);
    record.Tip = "青禾网络电视 V2.0";
    record.Info = "青禾网络电视已缩小到系统托盘。";
    record.InfoTitle = "提示";
    record.TimeoutOrVersion = 10000;
    record.InfoFlags = NIIF_INFO;

    NOTIFYICONDATAW data = qh::ToNotifyIconDataW(record);
    EXPECT_EQ(data.cbSize, sizeof(NOTIFYICONDATAW));
    EXPECT_EQ(data.hWnd, record.Window);
    EXPECT_EQ(data.uID, 7u);
    EXPECT_EQ(data.uFlags, 23u);
    EXPECT_EQ(data.uCallbackMessage, 2048u);
    EXPECT_EQ(data.hIcon, record.Icon);
    EXPECT_EQ(std::wstring(data.szTip), L"青禾网络电视 V2.0");
    EXPECT_EQ(std::wstring(data.szInfo), L"青禾网络电视已缩小到系统托盘。");
    EXPECT_EQ(std::wstring(data.szInfoTitle), L"提示");
    EXPECT_EQ(data.uTimeout, 10000u);
    EXPECT_EQ(data.dwInfoFlags, static_cast<DWORD>(NIIF_INFO));
}

TEST(NotifyIconRecord, OverrideSeesTheRecordAndEmptyRestoresTheShell) {
    int firstCalls = 0, secondCalls = 0;
    qh::SetShellNotifyIconOverride([&](DWORD, const qh::TNotifyIconRecord&) {
        ++firstCalls;
        return true;
    });
    // A second override replaces the first.
    qh::SetShellNotifyIconOverride([&](DWORD message, const qh::TNotifyIconRecord& r) {
        ++secondCalls;
        return message == NIM_MODIFY && r.Tip == "x";
    });
    qh::TNotifyIconRecord record;
    record.Tip = "x";
    EXPECT_TRUE(qh::ShellNotifyIcon(NIM_MODIFY, record));
    EXPECT_FALSE(qh::ShellNotifyIcon(NIM_ADD, record));
    qh::SetShellNotifyIconOverride({});
    // The real shell knows no icon of a null window.
    EXPECT_FALSE(qh::ShellNotifyIcon(NIM_MODIFY, record));
    EXPECT_EQ(firstCalls, 0);
    EXPECT_EQ(secondCalls, 2);
}

namespace {
struct NullTarget : qh::TTrayCallbackTarget {
    void TrayCallback(UINT) override {}
};
} // namespace

// The real shell call of the test bed: its desktop has a tray.
TEST(NotifyIconRecord, RealShellAddsModifiesAndRemovesAnIcon) {
    NullTarget target;
    qh::TNotifyIconRecord record;
    record.Id = qh::TTrayIconHandler::Register(target);
    record.Window = qh::TTrayIconHandler::Instance()->Window();
    record.Flags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    record.CallbackMessage = qh::kTrayCallbackMessage;
    record.Icon = LoadIconW(nullptr, IDI_APPLICATION);
    record.Tip = "青禾网络电视 V2.0";

    EXPECT_TRUE(qh::ShellNotifyIcon(NIM_ADD, record));
    record.Tip = "提示";
    EXPECT_TRUE(qh::ShellNotifyIcon(NIM_MODIFY, record));
    EXPECT_TRUE(qh::ShellNotifyIcon(NIM_DELETE, record));
    // Gone: the shell knows it no more.
    EXPECT_FALSE(qh::ShellNotifyIcon(NIM_MODIFY, record));
    qh::TTrayIconHandler::Unregister(record.Id);
}
