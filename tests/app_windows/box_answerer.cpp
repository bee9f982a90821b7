#include "box_answerer.h"

namespace qh::test {

namespace {

BoxAnswerer* activeAnswerer = nullptr;

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

std::wstring TextOf(HWND window) {
    int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), length + 1)));
    return text;
}

BOOL CALLBACK FindBox(HWND window, LPARAM found) {
    if (IsWindowVisible(window) && ClassOf(window) == L"#32770") {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK ReadChild(HWND child, LPARAM target) {
    SeenBox& box = *reinterpret_cast<SeenBox*>(target);
    std::wstring cls = ClassOf(child);
    if (_wcsicmp(cls.c_str(), L"Static") == 0) {
        LONG style = GetWindowLongW(child, GWL_STYLE);
        if ((style & SS_TYPEMASK) == SS_ICON) {
            box.Icon = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
        } else if (!TextOf(child).empty()) {
            box.Text = TextOf(child);
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
    seen.Caption = TextOf(box);
    EnumChildWindows(box, ReadChild, reinterpret_cast<LPARAM>(&seen));
    FSeen.push_back(seen);
    // Hidden first, so the next tick cannot count the same box twice.
    ShowWindow(box, SW_HIDE);
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(FAnswer, BN_CLICKED), 0);
}

} // namespace qh::test
