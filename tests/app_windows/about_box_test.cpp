#include "app/about_box_win.h"

#include "app/about_text.h"
#include "app/open_address_win.h"
#include "tests/support/toolkit_env.h"
#include "core/gbk.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "qh_config.h"

namespace {

using qh::TAboutBox;

// Runs a step against the about box once it is up, from a thread timer
// inside its modal loop; each step runs once.
std::vector<std::function<void(TAboutBox&)>> pendingSteps;
int showings = 0;
HWND lastBox = nullptr;

void CALLBACK StepTimer(HWND, UINT, UINT_PTR, DWORD) {
    for (HWND w = GetWindow(GetDesktopWindow(), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
        wchar_t cls[32] = {};
        GetClassNameW(w, cls, 32);
        if (std::wstring(cls) != L"TAboutBox" || !IsWindowVisible(w)) continue;
        auto* box = static_cast<TAboutBox*>(qh::TWinControl::FindControl(w));
        if (!box || pendingSteps.empty()) return;
        if (w != lastBox) ++showings;
        lastBox = w;
        auto step = pendingSteps.front();
        pendingSteps.erase(pendingSteps.begin());
        step(*box);
        return;
    }
}

// Shows the box with the steps to run while it is up; false when it did not
// close by itself after them.
bool ShowWithSteps(std::vector<std::function<void(TAboutBox&)>> steps) {
    pendingSteps = std::move(steps);
    // A last step closes the box if the case's own keys did not.
    pendingSteps.push_back([](TAboutBox& box) { box.SetModalResult(qh::mrAbort); });
    UINT_PTR timer = SetTimer(nullptr, 0, 100, StepTimer);
    qh::ShowAboutBox();
    KillTimer(nullptr, timer);
    bool closedByCase = !pendingSteps.empty();
    pendingSteps.clear();
    return closedByCase;
}

void PressKey(WORD key) {
    HWND focus = GetFocus();
    PostMessageW(focus, WM_KEYDOWN, key, 1);
    PostMessageW(focus, WM_KEYUP, key, 0xC0000001);
}

} // namespace

TEST(AboutBox, LayoutTextsAndDescription) {
    std::wstring caption, label1, label2, memo;
    RECT client{};
    bool okDefault = false, okCancel = false;
    ShowWithSteps({[&](TAboutBox& box) {
        caption = qh::GbkToWide(box.Caption());
        GetClientRect(box.Handle(), &client);
        label1 = qh::GbkToWide(box.Label1->Caption());
        label2 = qh::GbkToWide(box.Label2->Caption());
        wchar_t text[4096] = {};
        GetWindowTextW(box.Memo1->Handle(), text, 4096);
        memo = text;
        okDefault = box.OKButton->Default();
        okCancel = box.OKButton->Cancel();
        EXPECT_EQ(box.Memo1->Left(), 12);
        EXPECT_EQ(box.Memo1->Width(), 337);
        EXPECT_EQ(box.OKButton->Left(), 270);
        EXPECT_EQ(box.Label2->Cursor(), qh::crHandPoint);
        EXPECT_TRUE(GetWindowLongW(box.Memo1->Handle(), GWL_STYLE) & WS_VSCROLL);
    }});
    EXPECT_EQ(caption, L"关于我们");
    EXPECT_EQ(client.right, 360);
    EXPECT_EQ(client.bottom, 227);
    EXPECT_EQ(label1, L"想了解更多信息？请访问：");
    EXPECT_EQ(label2, qh::GbkToWide(QH_SITE_HOST));
    EXPECT_EQ(memo, qh::GbkToWide(qh::AboutDescriptionText()));
    EXPECT_EQ(memo.rfind(L"感谢您使用我们的产品! ", 0), 0u);
    EXPECT_TRUE(okDefault);
    EXPECT_TRUE(okCancel);
}

TEST(AboutBox, EnterAndEscapeBothClose) {
    for (WORD key : {static_cast<WORD>(VK_RETURN), static_cast<WORD>(VK_ESCAPE)}) {
        SCOPED_TRACE(key);
        EXPECT_TRUE(ShowWithSteps({[key](TAboutBox&) { PressKey(key); }}));
    }
}

TEST(AboutBox, AddressLabelOpensTheSiteAndTheBoxStays) {
    std::vector<std::wstring> opened;
    HWND owner = nullptr, boxWindow = nullptr;
    qh::SetOpenAddressOverride([&](HWND from, const std::wstring& address) {
        owner = from;
        opened.push_back(address);
    });
    bool stillUp = false;
    ShowWithSteps({
        [&](TAboutBox& box) {
            boxWindow = box.Handle();
            // A real click on the label: press and release on it.
            LPARAM at = MAKELPARAM(box.Label2->Left() + 5, box.Label2->Top() + 5);
            SendMessageW(box.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
            SendMessageW(box.Handle(), WM_LBUTTONUP, 0, at);
        },
        [&](TAboutBox& box) { stillUp = IsWindowVisible(box.Handle()) != FALSE; },
    });
    qh::SetOpenAddressOverride({});
    EXPECT_EQ(opened, (std::vector<std::wstring>{qh::GbkToWide(QH_SITE_HOST)}));
    EXPECT_EQ(owner, boxWindow);
    EXPECT_TRUE(stillUp);
}

TEST(AboutBox, EditsAreGoneAtTheNextShowing) {
    ShowWithSteps({[](TAboutBox& box) {
        SetWindowTextW(box.Memo1->Handle(), L"typed by the user");
        PressKey(VK_ESCAPE);
    }});
    std::wstring memo;
    ShowWithSteps({[&](TAboutBox& box) {
        wchar_t text[4096] = {};
        GetWindowTextW(box.Memo1->Handle(), text, 4096);
        memo = text;
        PressKey(VK_RETURN);
    }});
    EXPECT_EQ(memo, qh::GbkToWide(qh::AboutDescriptionText()));
}

// A site host of 40 characters with a port and a path: the whole address
// shows, clear of the OK button and inside the box.
TEST(AboutBox, ALongAddressShowsWhole) {
    const std::string address = "http://" + std::string(40, 'w') + ":8780/site";
    int textWidth = 0, labelRight = 0, okLeft = 0, clientWidth = 0, memoRight = 0;
    ShowWithSteps({[&](TAboutBox& box) {
        box.LayOutAddress(address);
        HDC dc = GetDC(box.Handle());
        HGDIOBJ old = SelectObject(dc, box.Label2->Font()->Handle());
        SIZE size{};
        const std::wstring text = qh::GbkToWide(address);
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
        SelectObject(dc, old);
        ReleaseDC(box.Handle(), dc);
        textWidth = size.cx;
        labelRight = box.Label2->Left() + box.Label2->Width();
        okLeft = box.OKButton->Left();
        memoRight = box.Memo1->Left() + box.Memo1->Width();
        RECT client{};
        GetClientRect(box.Handle(), &client);
        clientWidth = client.right;
    }});
    EXPECT_GT(textWidth, 138);
    EXPECT_GE(labelRight - 24, textWidth);
    EXPECT_LT(labelRight, okLeft);
    EXPECT_LE(okLeft + 75, clientWidth);
    EXPECT_EQ(clientWidth - memoRight, 360 - 349) << "the text keeps its margin";
}
