// A day of use, from another process as a person does it: the window
// closed and shown again by every road and in every skin, minimised and
// restored, the menus opened, popups arriving while another program has
// the keyboard, and the session's end. After each step the window answers,
// the screen shows what it should, and nothing is left behind.
#include "portal_e2e.h"
#include "program_look.h"
#include "x_input.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace e2e_app;
using namespace qh::test;

constexpr DWORD kPatience = 30000;

bool Answers(HWND window) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &result) != 0;
}

// The whole screen as a bitmap file, to see what went wrong.
void SaveScreen(const std::wstring& path) {
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, h, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, w, h, screen, 0, 0, SRCCOPY);
    GdiFlush();
    const DWORD stride = (static_cast<DWORD>(w) * 3 + 3) & ~3u;
    const DWORD size = stride * static_cast<DWORD>(h);
    constexpr DWORD kHeaders = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    BITMAPFILEHEADER file{0x4D42, kHeaders + size, 0, 0, kHeaders};
    HANDLE out = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (out != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        WriteFile(out, &file, sizeof(file), &written, nullptr);
        WriteFile(out, &info.bmiHeader, sizeof(BITMAPINFOHEADER), &written, nullptr);
        WriteFile(out, bits, size, &written, nullptr);
        CloseHandle(out);
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

// Pictures the screen at a failed check (only a failure's message
// evaluates it), and says where the picture went.
std::string ScreenNote() {
    static int failures = 0;
    const std::string name = "journey-failure-" + std::to_string(++failures) + ".bmp";
    SaveScreen(ExecutableFolder() + std::wstring(name.begin(), name.end()));
    return " (screen: " + name + " beside the suite)";
}

class Journey : public PortalE2e {
protected:
    // Started as the user starts it: dressed, its tray icon shown, at its
    // design size and in front.
    void StartInFront() {
        StartProgram(kPatience);
        ASSERT_TRUE(Dressed(FMain));
        ASSERT_TRUE(
            PumpUntil([&] { return (FTray = FindTrayIcon(FProgram->Id())).Window; }, kPatience));
        ASSERT_TRUE(PumpUntil([&] { return ClientIsDesignSize(); }, kPatience));
        SetForegroundWindow(FMain);
        ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == FMain; }, 5000));
    }
    bool ClientIsDesignSize() const {
        RECT client{};
        GetClientRect(FMain, &client);
        return client.right == 910 && client.bottom == 603;
    }
    bool Shown() const { return IsWindowVisible(FMain) && !IsIconic(FMain); }
    // The program still runs, its window answers and its tray icon is there.
    void ExpectAlive(const char* step) {
        SCOPED_TRACE(step);
        EXPECT_TRUE(FProgram->Running());
        EXPECT_TRUE(Answers(FMain));
        EXPECT_TRUE(TrayIconShown(FTray));
    }

    void ChooseSkin(int skin) {
        // 工具, up to its last item 皮肤, into it, down to the skin, Enter.
        PickMenuItem(FMain, L't', VK_UP, 1, {VK_RIGHT}, skin);
        FSkin = ShippedSkin(skin);
        ASSERT_TRUE(PumpUntil([&] { return OpenMenuWindow(FProgram->Id()) == nullptr; }, 5000));
        // The deferred re-dress runs 250 ms after the choice; the close
        // button of the new skin shows once it has.
        ASSERT_TRUE(PumpUntil(
            [&] {
                const int cell = CaptionButtonCell(FMain, *FSkin, 0);
                return ClientIsDesignSize() && (cell == 1 || cell == 4);
            },
            5000))
            << "skin " << skin << " did not dress the frame" << ScreenNote();
    }

    // The user's click on the skin's close button: the window goes to the tray.
    void CloseByButton() {
        const POINT close = CaptionButtonPoint(FMain, *FSkin, 0, false);
        ASSERT_GE(close.x, 0);
        // The pointer rests on the button first, as a hand does: it shows
        // hot on an active window.
        ASSERT_TRUE(FInput.MoveTo(close));
        if (GetForegroundWindow() == FMain) {
            EXPECT_TRUE(PumpUntil([&] { return CaptionButtonCell(FMain, *FSkin, 0) == 3; }, 3000))
                << "the close button shows cell " << CaptionButtonCell(FMain, *FSkin, 0)
                << " under the pointer" << ScreenNote();
        }
        ASSERT_TRUE(FInput.Click(close));
        ASSERT_TRUE(PumpUntil([&] { return !IsWindowVisible(FMain); }, 5000))
            << "the close button did not answer" << ScreenNote();
        ExpectAlive("closed to the tray");
    }

    enum class TRoad { TrayIcon, TrayMenu, SecondStart };
    void ShowBy(TRoad road) {
        switch (road) {
        case TRoad::TrayIcon:
            ClickTrayIcon(FTray, false);
            break;
        case TRoad::TrayMenu: {
            ClickTrayIcon(FTray, true);
            HWND menu = nullptr;
            ASSERT_TRUE(PumpUntil(
                [&] { return (menu = OpenMenuWindow(FProgram->Id())) != nullptr; }, 5000));
            // 显示/隐藏 is the first item.
            PostMessageW(FTray.Window, WM_KEYDOWN, VK_DOWN, 1);
            PostMessageW(FTray.Window, WM_KEYDOWN, VK_RETURN, 1);
            break;
        }
        case TRoad::SecondStart: {
            Process second(ProgramExe());
            ASSERT_TRUE(second.Started());
            EXPECT_TRUE(second.WaitExit(kPatience)) << "a second start stays";
            break;
        }
        }
        ASSERT_TRUE(PumpUntil([&] { return Shown(); }, 5000)) << "not shown again" << ScreenNote();
        ExpectAlive("shown again");
        // Drawn normal (or inactive) once the pointer is elsewhere.
        FInput.MoveTo({5, 5});
        EXPECT_TRUE(PumpUntil(
            [&] {
                const int cell = CaptionButtonCell(FMain, *FSkin, 0);
                return cell == 1 || cell == 4;
            },
            3000))
            << "the close button shows cell " << CaptionButtonCell(FMain, *FSkin, 0)
            << ScreenNote();
    }

    TTrayIconId FTray;
    std::unique_ptr<qh::TSkinData> FSkin = ShippedSkin(0);
    XInput FInput;
};

} // namespace

// The close button answers every time, whichever road brought the window
// back and whatever skin it wears.
TEST_F(Journey, EverySkinClosesAndShowsAgainByEveryRoad) {
    StartInFront();
    for (int skin : {0, 1, 2}) {
        SCOPED_TRACE("skin " + std::to_string(skin));
        ChooseSkin(skin);
        for (TRoad road : {TRoad::TrayIcon, TRoad::TrayMenu, TRoad::SecondStart}) {
            SCOPED_TRACE("road " + std::to_string(static_cast<int>(road)));
            for (int round = 0; round < 3; ++round) {
                CloseByButton();
                ShowBy(road);
                if (HasFatalFailure()) return;
            }
        }
        // Minimised by its button, restored by a second start, then closed.
        const POINT minimize = CaptionButtonPoint(FMain, *FSkin, 2, false);
        ASSERT_GE(minimize.x, 0);
        ASSERT_TRUE(FInput.MoveTo(minimize));
        if (GetForegroundWindow() == FMain) {
            EXPECT_TRUE(PumpUntil([&] { return CaptionButtonCell(FMain, *FSkin, 2) == 3; }, 3000));
        }
        ASSERT_TRUE(FInput.Click(minimize));
        ASSERT_TRUE(PumpUntil([&] { return IsIconic(FMain) != FALSE; }, 5000));
        ShowBy(TRoad::SecondStart);
        ASSERT_TRUE(PumpUntil([&] { return ClientIsDesignSize(); }, 5000));
        CloseByButton();
        ShowBy(TRoad::TrayIcon);
    }
}

namespace {

std::string WindowRectText(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return std::to_string(r.left) + "," + std::to_string(r.top) + "-" + std::to_string(r.right) +
           "," + std::to_string(r.bottom) + (IsWindowVisible(window) ? " shown" : " hidden");
}

// The check mark of the selected item of an open drop-down, as the screen
// shows it. The selected row is where the right end of the drop-down shows
// something else than the skin's MenuBackground picture; in its left
// margin the mark is drawn: strokes of ink unlike the highlight, and no
// box: no row of the margin white across where the highlight is not white.
struct TMarkLook {
    int Top = -1;       // first row of the selected band
    int Rows = 0;       // rows of the selected band
    int MarkPixels = 0; // pixels of the margin unlike the highlight
    int WhiteRun = 0;   // the longest run of white across the margin on a non-white highlight
};

TMarkLook SelectedMarkLook(HWND menu, const qh::TSkinData& skin) {
    RECT r{};
    GetWindowRect(menu, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    const qh::TBitmap background = ComposedMenuBackground(menu, skin);
    HDC screen = GetDC(nullptr);
    const int probe = w - 8;
    // The longest run of such rows: a separator line is no selection.
    int runTop = -1, bestTop = -1, bestRows = 0;
    for (int y = 3; y <= h - 3; ++y) {
        const bool other = y < h - 3 && GetPixel(screen, r.left + probe, r.top + y) !=
                                            Rgb(background.GetPixel(probe, y));
        if (other && runTop < 0) runTop = y;
        if (!other && runTop >= 0) {
            if (y - runTop > bestRows) {
                bestRows = y - runTop;
                bestTop = runTop;
            }
            runTop = -1;
        }
    }
    TMarkLook look;
    look.Top = bestTop;
    look.Rows = bestRows;
    for (int y = bestTop; y >= 0 && y < bestTop + bestRows; ++y) {
        const COLORREF highlight = GetPixel(screen, r.left + probe, r.top + y);
        int run = 0;
        for (int x = 3; x < 22; ++x) {
            const COLORREF at = GetPixel(screen, r.left + x, r.top + y);
            if (at != highlight) ++look.MarkPixels;
            run = at == RGB(255, 255, 255) && highlight != RGB(255, 255, 255) ? run + 1 : 0;
            look.WhiteRun = std::max(look.WhiteRun, run);
        }
    }
    ReleaseDC(nullptr, screen);
    return look;
}

} // namespace

// The checked item of 视图 (显示按钮) and of the tray menu (显示/隐藏),
// selected, in each skin: its mark shows, in no white box.
TEST_F(Journey, EveryMenuShowsItsMarksOnTheSkin) {
    StartInFront();
    for (int skin : {0, 1, 2}) {
        SCOPED_TRACE("skin " + std::to_string(skin));
        if (skin != 0) ChooseSkin(skin);
        // A click on the caption first, as a user puts the keyboard on a window.
        RECT frame{};
        GetWindowRect(FMain, &frame);
        ASSERT_TRUE(FInput.Click({(frame.left + frame.right) / 2 + 100, frame.top + 8}));
        ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == FMain; }, 5000));
        // 视图 opens on its first item; one down selects 显示按钮.
        ASSERT_TRUE(FInput.Keys(L"alt+v"));
        HWND menu = nullptr;
        ASSERT_TRUE(
            PumpUntil([&] { return (menu = OpenMenuWindow(FProgram->Id())) != nullptr; }, 5000))
            << "Alt+V opened nothing" << ScreenNote();
        // Once the drop-down is painted and still (keys pressed while the
        // menu is still being put up are not all taken under the test bed).
        TMarkLook look, before;
        ASSERT_TRUE(PumpUntil(
            [&] {
                before = look;
                look = SelectedMarkLook(menu, *FSkin);
                return look.Rows > 8 && look.Top == before.Top && look.Rows == before.Rows &&
                       look.MarkPixels == before.MarkPixels;
            },
            5000))
            << "no item of 视图 selected" << ScreenNote();
        // One row down from the first item to 显示按钮, unless it is there already.
        if (look.Top < look.Rows / 2) {
            ASSERT_TRUE(FInput.Keys(L"Down"));
        }
        EXPECT_TRUE(PumpUntil(
            [&] {
                look = SelectedMarkLook(menu, *FSkin);
                return look.Top > look.Rows / 2 && look.Top < look.Rows * 3 / 2 + 4 &&
                       look.MarkPixels > 6 && look.WhiteRun < 8;
            },
            3000))
            << "视图 at " << WindowRectText(menu) << ": top " << look.Top << ", rows " << look.Rows
            << ", mark " << look.MarkPixels << ", white run " << look.WhiteRun << ScreenNote();
        // The other drop-downs open in turn and answer as skinned.
        for (int i = 0; i < 2; ++i) {
            ASSERT_TRUE(FInput.Keys(L"Right"));
            EXPECT_TRUE(PumpUntil(
                [&] {
                    HWND open = OpenMenuWindow(FProgram->Id());
                    return open && open != menu && SendMessageW(open, 0x3504, 0, 0) == 1;
                },
                5000));
            menu = OpenMenuWindow(FProgram->Id());
        }
        ASSERT_TRUE(FInput.Keys(L"Escape Escape"));
        ASSERT_TRUE(PumpUntil([&] { return OpenMenuWindow(FProgram->Id()) == nullptr; }, 5000));

        ClickTrayIcon(FTray, true);
        ASSERT_TRUE(
            PumpUntil([&] { return (menu = OpenMenuWindow(FProgram->Id())) != nullptr; }, 5000));
        ASSERT_TRUE(FInput.Keys(L"Down"));
        EXPECT_TRUE(PumpUntil(
            [&] {
                look = SelectedMarkLook(menu, *FSkin);
                return look.Rows > 8 && look.MarkPixels > 6 && look.WhiteRun < 8;
            },
            3000))
            << "tray menu: rows " << look.Rows << ", mark " << look.MarkPixels << ", white run "
            << look.WhiteRun << ScreenNote();
        ASSERT_TRUE(FInput.Keys(L"Escape"));
        ASSERT_TRUE(PumpUntil([&] { return OpenMenuWindow(FProgram->Id()) == nullptr; }, 5000));
        ExpectAlive("menus closed");
        EXPECT_TRUE(Shown());
    }
}

namespace {

// Another program the user is typing in.
struct TNotepad {
    Process Program{L"C:\\windows\\system32\\notepad.exe"};
    HWND Window = nullptr;
    HWND Edit = nullptr;
};

HWND FocusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus;
}

} // namespace

// Two popups slide up while notepad has the keyboard: notepad keeps it,
// each popup wears the skin and rests inside the work area, and each goes
// by its own close picture.
TEST_F(Journey, PopupsArriveWhileAnotherProgramHasTheKeyboard) {
    StartInFront();
    TNotepad notepad;
    ASSERT_TRUE(notepad.Program.Started());
    ASSERT_TRUE(PumpUntil(
        [&] {
            for (HWND w : TopLevelWindows(notepad.Program.Id()))
                if (WindowClass(w) == L"Notepad" && IsWindowVisible(w)) notepad.Window = w;
            return notepad.Window != nullptr;
        },
        kPatience));
    notepad.Edit = FindWindowExW(notepad.Window, nullptr, L"Edit", nullptr);
    SetForegroundWindow(notepad.Window);
    ASSERT_TRUE(PumpUntil(
        [&] { return GetForegroundWindow() == notepad.Window && FocusOf(notepad.Window); }, 5000));
    const HWND focus = FocusOf(notepad.Window);

    FServer->Set("/ad/p1.htm", Answer{200, "<html><body>one</body></html>", 0});
    FServer->Set("/ad/p2.htm", Answer{200, "<html><body>two</body></html>", 0});
    FServer->Set("/ad/Config.txt", Answer{200,
                                          ScheduleLine(ServerAddress("/ad/p1.htm")) +
                                              ScheduleLine(ServerAddress("/ad/p2.htm"), 250, 150),
                                          0});
    std::vector<HWND> popups;
    ASSERT_TRUE(PumpUntil(
        [&] {
            popups = ShownPopups(*FProgram);
            return popups.size() == 2;
        },
        kPatience));
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    // Risen: each stops moving once on its resting line.
    for (HWND popup : popups) {
        RECT last{};
        EXPECT_TRUE(PumpUntil(
            [&] {
                RECT now{};
                GetWindowRect(popup, &now);
                const bool still =
                    EqualRect(&now, &last) && now.bottom < GetSystemMetrics(SM_CYSCREEN);
                last = now;
                if (!still) Sleep(200);
                return still;
            },
            kPatience));
        EXPECT_LE(last.right, work.right);
        EXPECT_EQ(SendMessageW(popup, 0x3504, 0, 0), 1) << "the popup wears the skin";
    }
    EXPECT_EQ(GetForegroundWindow(), notepad.Window) << ScreenNote();
    EXPECT_EQ(FocusOf(notepad.Window), focus);
    EXPECT_TRUE(IsWindow(notepad.Edit));
    ExpectAlive("popups up");

    for (HWND popup : popups) {
        // The close picture, 35 x 22 left of the 3-pixel right corner.
        RECT r{};
        GetWindowRect(popup, &r);
        ASSERT_TRUE(FInput.Click({r.right - 3 - 17, r.top + 11}));
        EXPECT_TRUE(
            PumpUntil([&] { return !IsWindow(popup) || !IsWindowVisible(popup); }, kPatience))
            << "the close picture did not answer" << ScreenNote();
    }
    EXPECT_EQ(GetForegroundWindow(), notepad.Window) << "a click on a popup took the keyboard";
    PostMessageW(notepad.Window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(notepad.Program.WaitExit(kPatience));
    ExpectAlive("popups gone");
}

// Signing out ends the program as its 退出 does, whether its window is
// shown or hidden to the tray, and nothing of it stays behind.
TEST_F(Journey, SigningOutEndsTheProgram) {
    StartInFront();
    CloseByButton(); // hidden to the tray: its windows still answer yes
    const DWORD id = FProgram->Id();
    Process signOut(L"C:\\windows\\system32\\wineboot.exe", L"--end-session");
    ASSERT_TRUE(signOut.Started());
    ASSERT_TRUE(signOut.WaitExit(kPatience));
    EXPECT_EQ(signOut.ExitCode(), 0u) << "a window of the program refused the session's end";
    EXPECT_TRUE(FProgram->WaitExit(10000)) << "still running 10 s after the session's end";
    EXPECT_FALSE(TrayIconShown(FTray)) << "the tray icon was left behind";
    EXPECT_TRUE(TopLevelWindows(id).empty());
    EXPECT_EQ(FindWindowW(L"TKivoMainForm", nullptr), nullptr);
}
