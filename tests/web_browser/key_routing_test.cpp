// Keys for a page: the program's shortcuts have them first, then the hosted
// control, then the form and the window they were sent to.
#include "toolkit/browser/web_browser.h"
#include "toolkit/browser/web_browser_host.h"
#include "toolkit/application.h"
#include "toolkit/buttons.h"
#include "toolkit/edits.h"
#include "toolkit/forms.h"
#include "toolkit/menus.h"

#include <gtest/gtest.h>

#include <array>
#include <set>
#include <string>
#include <vector>

using namespace qh;

namespace {

std::string Note(const char* who, UINT message, WPARAM key) {
    const char* kind = message == WM_KEYDOWN ? "down"
                       : message == WM_KEYUP ? "up"
                       : message == WM_CHAR  ? "char"
                                             : "other";
    return std::string(who) + ":" + kind + ":" + std::to_string(key);
}

// The control's in-place active object as the test bed cannot give it: it
// takes the keys it is told to and writes down every key it is offered.
class FakeActiveObject final : public IOleInPlaceActiveObject {
public:
    FakeActiveObject(std::vector<std::string>& log, std::set<WPARAM> taken)
        : FLog(log), FTaken(std::move(taken)) {}

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IOleWindow || iid == IID_IOleInPlaceActiveObject) {
            *object = static_cast<IOleInPlaceActiveObject*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++FReferences; }
    STDMETHODIMP_(ULONG) Release() override {
        ULONG left = --FReferences;
        if (left == 0) delete this;
        return left;
    }
    STDMETHODIMP GetWindow(HWND* window) override {
        if (window) *window = nullptr;
        return E_FAIL;
    }
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP TranslateAccelerator(LPMSG message) override {
        if (!message) return E_POINTER;
        FLog.push_back(Note("page", message->message, message->wParam));
        return message->message == WM_KEYDOWN && FTaken.count(message->wParam) ? S_OK : S_FALSE;
    }
    STDMETHODIMP OnFrameWindowActivate(BOOL) override { return S_OK; }
    STDMETHODIMP OnDocWindowActivate(BOOL) override { return S_OK; }
    STDMETHODIMP ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return S_OK; }
    STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }

private:
    ~FakeActiveObject() = default;
    ULONG FReferences = 1;
    std::vector<std::string>& FLog;
    std::set<WPARAM> FTaken;
};

// Holds Ctrl down in the thread's keyboard state while it lives.
class HeldControlKey {
public:
    HeldControlKey() { Set(0x80); }
    ~HeldControlKey() { Set(0); }

private:
    static void Set(BYTE state) {
        std::array<BYTE, 256> keys{};
        GetKeyboardState(keys.data());
        keys[VK_CONTROL] = state;
        SetKeyboardState(keys.data());
    }
};

constexpr int kCtrlT = 0x4000 + 'T';

// The main window's make: a menu with Ctrl+T, the browser filling the
// form, and here a cancel button too.
struct PageForm {
    PageForm() {
        Form->SetClientSize(400, 300);
        auto* menu = new TMainMenu(Form.get());
        auto* view = new TMenuItem(Form.get());
        view->SetCaption("视图(&V)");
        menu->Items()->Add(view);
        auto* onTop = new TMenuItem(Form.get());
        onTop->SetCaption("窗口始终最前");
        onTop->SetShortCut(kCtrlT);
        onTop->OnClick = [this](TObject*) { Log.push_back("shortcut"); };
        view->Add(onTop);
        Form->SetMenu(menu);
        Cancel->SetParent(Form.get());
        Cancel->SetCancel(true);
        Cancel->OnClick = [this](TObject*) { Log.push_back("cancel"); };
        Browser->SetParent(Form.get());
        Browser->SetBounds(0, 30, 400, 270);
        Front = Browser->FrontWindowProc([this](TMessage& m, const TWndMethod& next) {
            if (m.Msg == WM_KEYDOWN || m.Msg == WM_KEYUP || m.Msg == WM_CHAR)
                Log.push_back(Note("window", m.Msg, m.WParam));
            next(m);
        });
        Form->Show();
        auto active = ComPtr<IOleInPlaceActiveObject>::Adopt(
            new FakeActiveObject(Log, {VK_TAB, 'C', VK_F5, VK_DOWN}));
        SetBrowserActiveObjectOverride([active](IOleObject*) { return active; });
    }
    ~PageForm() {
        SetBrowserActiveObjectOverride({});
        Browser->RestoreWindowProc(Front);
    }

    // Posts a key press to the window and lets the application's loop take
    // it, as the keyboard would.
    void Press(HWND window, WORD key) {
        PostMessageW(window, WM_KEYDOWN, key, 1);
        PostMessageW(window, WM_KEYUP, key, 0xC0000001);
        for (int i = 0; i < 20; ++i)
            Application->ProcessMessages();
    }

    std::vector<std::string> Log;
    std::unique_ptr<TForm> Form = std::make_unique<TForm>(Application);
    TButton* Cancel = new TButton(Form.get());
    TWebBrowser* Browser = new TWebBrowser(Form.get());
    TWindowProcToken Front = 0;
};

using Log = std::vector<std::string>;

} // namespace

TEST(PageKeys, TheProgramsShortcutComesFirstAndThePageNeverSeesIt) {
    PageForm page;
    {
        HeldControlKey ctrl;
        page.Press(page.Browser->Handle(), 'T');
    }
    // The release still goes the usual way: offered to the page, then the window.
    EXPECT_EQ(page.Log, (Log{"shortcut", "page:up:84", "window:up:84"}));
}

TEST(PageKeys, KeysThePageTakesGoNoFurther) {
    PageForm page;
    HWND focus = GetFocus();
    ASSERT_NE(focus, nullptr);
    for (WORD key :
         {static_cast<WORD>(VK_TAB), static_cast<WORD>(VK_F5), static_cast<WORD>(VK_DOWN)}) {
        page.Log.clear();
        page.Press(page.Browser->Handle(), key);
        std::string k = std::to_string(key);
        EXPECT_EQ(page.Log, (Log{"page:down:" + k, "page:up:" + k, "window:up:" + k}));
    }
    // Tab was the page's: the form did not move the focus to its next tab stop.
    EXPECT_EQ(GetFocus(), focus);
    {
        HeldControlKey ctrl;
        page.Log.clear();
        page.Press(page.Browser->Handle(), 'C');
    }
    EXPECT_EQ(page.Log, (Log{"page:down:67", "page:up:67", "window:up:67"}));
}

TEST(PageKeys, KeysThePageLeavesReachTheFormAndThenTheWindow) {
    PageForm page;
    page.Press(page.Browser->Handle(), 'A');
    // The character the press makes is the page's to see as well.
    EXPECT_EQ(page.Log, (Log{"page:down:65", "window:down:65", "page:up:65", "window:up:65",
                             "page:char:97", "window:char:97"}));
    // Escape left by the page is the form's: its cancel button.
    page.Log.clear();
    page.Press(page.Browser->Handle(), VK_ESCAPE);
    EXPECT_EQ(page.Log, (Log{"page:down:27", "cancel", "page:up:27", "window:up:27"}));
}

TEST(PageKeys, KeysForTheWindowsInsideTheBrowserAreOfferedToThePageToo) {
    PageForm page;
    HWND inside = page.Browser->Host().ControlWindow();
    if (!inside) inside = page.Browser->Host().Handle();
    ASSERT_NE(inside, page.Browser->Handle());
    ASSERT_EQ(TWinControl::FindControl(inside), nullptr);
    EXPECT_EQ(TWinControl::FindOwningControl(inside), page.Browser);
    page.Press(inside, VK_TAB);
    ASSERT_FALSE(page.Log.empty());
    EXPECT_EQ(page.Log.front(), "page:down:9");
    {
        HeldControlKey ctrl;
        page.Log.clear();
        page.Press(inside, 'T');
    }
    ASSERT_FALSE(page.Log.empty());
    EXPECT_EQ(page.Log.front(), "shortcut");
}

TEST(PageKeys, WithoutAControlNothingIsOfferedAndKeysAreDispatched) {
    TForm form(Application);
    auto* edit = new TEdit(&form);
    edit->SetParent(&form);
    form.Show();
    MSG msg{edit->Handle(), WM_KEYDOWN, VK_TAB, 1, 0, {}};
    EXPECT_FALSE(edit->PreProcessMessage(msg));
    EXPECT_EQ(TWinControl::FindOwningControl(edit->Handle()), edit);
    EXPECT_EQ(TWinControl::FindOwningControl(nullptr), nullptr);
}
