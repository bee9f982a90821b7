#include "box_answerer.h"

#include "tests/support/windows_walk.h"

namespace qh::test {

namespace {

BoxAnswerer* activeAnswerer = nullptr;

BOOL CALLBACK FindBox(HWND window, LPARAM found) {
    if (IsWindowVisible(window) && WindowClass(window) == L"#32770") {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK ReadChild(HWND child, LPARAM target) {
    SeenBox& box = *reinterpret_cast<SeenBox*>(target);
    std::wstring cls = WindowClass(child);
    if (_wcsicmp(cls.c_str(), L"Static") == 0) {
        LONG style = GetWindowLongW(child, GWL_STYLE);
        if ((style & SS_TYPEMASK) == SS_ICON) {
            box.Icon = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
        } else if (!WindowText(child).empty()) {
            box.Text = WindowText(child);
        }
    } else if (_wcsicmp(cls.c_str(), L"Button") == 0 && IsWindowVisible(child)) {
        box.Buttons.push_back(GetDlgCtrlID(child));
    }
    return TRUE;
}

} // namespace

BoxAnswerer::BoxAnswerer(int answer) : FAnswer(answer) {
    activeAnswerer = this;
    FTimer = SetTimer(nullptr, 0, 50, &BoxAnswerer::OnTimer);
}

BoxAnswerer::~BoxAnswerer() {
    KillTimer(nullptr, FTimer);
    activeAnswerer = nullptr;
}

void CALLBACK BoxAnswerer::OnTimer(HWND, UINT, UINT_PTR, DWORD) {
    if (activeAnswerer) activeAnswerer->Poll();
}

void BoxAnswerer::Poll() {
    HWND box = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindBox, reinterpret_cast<LPARAM>(&box));
    if (!box) return;
    SeenBox seen;
    seen.Caption = WindowText(box);
    EnumChildWindows(box, ReadChild, reinterpret_cast<LPARAM>(&seen));
    FSeen.push_back(seen);
    // Hidden first, so the next tick cannot count the same box twice.
    ShowWindow(box, SW_HIDE);
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(FAnswer, BN_CLICKED), 0);
}

} // namespace qh::test
