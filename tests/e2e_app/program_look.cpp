#include "program_look.h"

#include "skin/render/caption_layout.h"
#include "skin/render/compose.h"
#include "skin/render/frame_styles.h"
#include "skin/render/state_image.h"
#include "tests/support/windows_walk.h"

#include <shellapi.h>

#include <algorithm>
#include <cwctype>
#include <string>

namespace e2e_app {

using namespace qh::test;

std::unique_ptr<qh::TSkinData> ShippedSkin(int index) {
    static const char* const kFiles[] = {"default.skn", "crystal.skn", "mac.skn"};
    auto data = std::make_unique<qh::TSkinData>(nullptr);
    data->SkinStream().LoadFromFile(std::string(QH_PACKED_SKIN_DIR) + "/" + kFiles[index]);
    data->SkinStream().SetPosition(0);
    data->LoadSkin();
    return data;
}

namespace {

// The placed caption button with this action, in window coordinates, and its part.
bool PlacedButton(HWND window, const qh::TSkinParts& skin, int action, bool maximized,
                  qh::TRect& bounds, const qh::TDataSkinSysButton*& part) {
    std::vector<const qh::TDataSkinSysButton*> parts;
    for (const auto& p : skin.SysButtons)
        parts.push_back(p.get());
    RECT r{};
    GetWindowRect(window, &r);
    qh::TCaptionState state;
    state.Active = true;
    state.Maximized = maximized;
    state.BoxFlags = qh::kBoxMaximize | qh::kBoxMinimize | qh::kBoxSystemMenu;
    qh::TCaptionGeometry geometry;
    geometry.WindowWidth = r.right - r.left;
    const qh::TCaptionButtonLayout layout =
        qh::LayoutCaptionButtons(parts, qh::TBitmap(), state, geometry);
    for (size_t i = 0; i < layout.Buttons.size(); ++i) {
        const qh::TPlacedButton& button = layout.Buttons[i];
        if (!button.Visible || button.Action != action) continue;
        bounds = button.Bounds;
        part = parts[i];
        return true;
    }
    return false;
}

} // namespace

POINT CaptionButtonPoint(HWND window, const qh::TSkinParts& skin, int action, bool maximized) {
    qh::TRect b{};
    const qh::TDataSkinSysButton* part = nullptr;
    if (!PlacedButton(window, skin, action, maximized, b, part)) return {-1, -1};
    RECT r{};
    GetWindowRect(window, &r);
    return {r.left + (b.Left + b.Right) / 2, r.top + (b.Top + b.Bottom) / 2};
}

int CaptionButtonCell(HWND window, const qh::TSkinParts& skin, int action) {
    qh::TRect b{};
    const qh::TDataSkinSysButton* part = nullptr;
    if (!PlacedButton(window, skin, action, IsZoomed(window) != FALSE, b, part)) return 0;
    RECT r{};
    GetWindowRect(window, &r);
    const int frames = std::max(1, static_cast<int>(part->Frame));
    HDC screen = GetDC(nullptr);
    int best = 0, bestSame = 0, sampled = 0;
    for (int cell = 1; cell <= frames; ++cell) {
        const qh::TRect c = qh::StateImageRect(part->Image, false, frames, cell);
        if (c.Empty()) continue;
        int same = 0, count = 0;
        for (int y = 0; y < c.Height(); y += 2)
            for (int x = 0; x < c.Width(); x += 2) {
                const qh::TColor want = part->Image.GetPixel(c.Left + x, c.Top + y);
                if (want == qh::kColourKey) continue;
                ++count;
                same += GetPixel(screen, r.left + b.Left + x, r.top + b.Top + y) == Rgb(want);
            }
        if (same > bestSame) {
            best = cell;
            bestSame = same;
            sampled = count;
        }
    }
    ReleaseDC(nullptr, screen);
    return sampled > 0 && bestSame * 10 >= sampled * 9 ? best : 0;
}

HWND OpenMenuWindow(DWORD process) {
    for (HWND w : TopLevelWindows(process))
        if (WindowClass(w) == L"#32768" && IsWindowVisible(w)) return w;
    return nullptr;
}

qh::TBitmap ComposedMenuBackground(HWND menu, const qh::TSkinData& skin) {
    const qh::TDataSkinObject& part = *skin.MenuBackground;
    RECT r{};
    GetWindowRect(menu, &r);
    return qh::ComposeImage({0, 0, r.right - r.left, r.bottom - r.top}, part.Image,
                            {part.LeftWidth, part.TopHeight, part.RightWidth, part.BottomHeight},
                            false, part.Tile != 0, 1, 1);
}

TTrayIconId FindTrayIcon(DWORD process) {
    TTrayIconId icon;
    for (HWND w : TopLevelWindows(process))
        if (WindowClass(w) == L"TQhMessageWindow") icon.Window = w;
    if (!icon.Window) return icon;
    // Only an icon that is there can be modified.
    for (icon.Id = 1; icon.Id <= 64; ++icon.Id)
        if (TrayIconShown(icon)) return icon;
    return TTrayIconId{};
}

bool TrayIconShown(const TTrayIconId& icon) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = icon.Window;
    data.uID = icon.Id;
    return icon.Window && Shell_NotifyIconW(NIM_MODIFY, &data);
}

void ClickTrayIcon(const TTrayIconId& icon, bool right) {
    constexpr UINT kCallback = WM_USER + 1024;
    PostMessageW(icon.Window, kCallback, icon.Id, right ? WM_RBUTTONDOWN : WM_LBUTTONDOWN);
    PostMessageW(icon.Window, kCallback, icon.Id, right ? WM_RBUTTONUP : WM_LBUTTONUP);
}

void PressAltKey(HWND window, WORD key) {
    PostMessageW(window, WM_SYSKEYDOWN, key, 1 | (1 << 29));
    PostMessageW(window, WM_SYSKEYUP, key, 1 | (1 << 29) | (1u << 30) | (1u << 31));
}

void PickMenuItem(HWND window, wchar_t accessKey, WORD arrow, int presses, std::vector<WORD> then,
                  int downs) {
    PressAltKey(window, static_cast<WORD>(towupper(accessKey)));
    Sleep(700);
    auto press = [&](WORD k) {
        PostMessageW(window, WM_KEYDOWN, k, 1);
        Sleep(200);
    };
    for (int i = 0; i < presses; ++i)
        press(arrow);
    for (WORD k : then)
        press(k);
    for (int i = 0; i < downs; ++i)
        press(VK_DOWN);
    PostMessageW(window, WM_KEYDOWN, VK_RETURN, 1);
}

} // namespace e2e_app
