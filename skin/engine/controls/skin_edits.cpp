#include "skin/engine/controls/skin_edits.h"

#include "skin/engine/controls/skin_check_controls.h"
#include "skin/engine/frame/win_skin_form.h"
#include "skin/engine/skin_paint.h"
#include "skin/render/compose.h"
#include "skin/render/control_pixels.h"
#include "skin/render/control_states.h"
#include "skin/render/part_compose.h"
#include "skin/render/pixel_copy.h"
#include "skin/render/state_image.h"
#include "toolkit/graphics.h"
#include "toolkit/win_handle.h"

#include <commctrl.h>

#include <algorithm>
#include <cwchar>

namespace qh {

QH_DEFINE_CLASS(TSkinEdit, TSkinControl)
QH_DEFINE_CLASS(TSkinComBox, TSkinControl)
QH_DEFINE_CLASS(TSkinUpDown, TSkinControl)

namespace {

// The client area of a window in its window's coordinates.
RECT ClientInWindow(HWND window) {
    RECT client{}, outer{};
    GetClientRect(window, &client);
    GetWindowRect(window, &outer);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    OffsetRect(&client, origin.x - outer.left, origin.y - outer.top);
    return client;
}

bool ClassIs(HWND window, const wchar_t* name) {
    return _wcsicmp(WindowClassName(window).c_str(), name) == 0;
}

} // namespace

void SkinUpDownChildren(HWND parent, TSkinData* skinData, TWinSkinForm* form, TCanvas* canvas) {
    if (!form || !skinData) return;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!ClassIs(child, UPDOWN_CLASSW) || form->SkinnedControls().FindForWindow(child))
            continue;
        auto skin = std::make_unique<TSkinUpDown>(&form->SkinnedControls());
        skin.release()->AttachWindow(child, skinData, form, canvas);
    }
}

// Edits.

TSkinEdit::TSkinEdit(TComponent* owner) : TSkinControl(owner) {}

void TSkinEdit::AttachWindow(HWND window, TSkinData* skinData, TWinSkinForm* form,
                             TCanvas* canvas) {
    TSkinControl::AttachWindow(window, skinData, form, canvas);
    if (SkinState() != TSkinState::Attached) return;
    SkinUpDownChildren(window, skinData, form, canvas);
    // The border is non-client: it shows the skin from now on.
    SetWindowPos(window, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TSkinEdit::Detach() {
    TSkinControl::Detach();
    if (Window() && IsWindow(Window()))
        RedrawWindow(Window(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

void TSkinEdit::AfterMessage(TMessage& m) {
    switch (m.Msg) {
    case WM_NCPAINT:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case EM_SETREADONLY:
        PaintNow();
        return;
    case WM_PAINT:
        // The text area is the edit's; the border came with WM_NCPAINT.
        return;
    default:
        TSkinControl::AfterMessage(m);
    }
}

void TSkinEdit::PaintTo(HDC dc, const RECT& rect) {
    HWND edit = Window();
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (!edit || !SkinData() || w <= 0 || h <= 0) return;
    const RECT client = ClientInWindow(edit);
    if (client.left <= 0 && client.top <= 0) return; // no border to dress
    const TSkinColours& colours = SkinData()->Colours;
    // Inside the shadow line, the colour of the text area.
    const bool plain = !ReadEnabled() || (GetWindowLongW(edit, GWL_STYLE) & ES_READONLY);
    const COLORREF inside = plain ? SkinColour(colours.ButtonFace) : GetSysColor(COLOR_WINDOW);
    TDibSection picture(w, h);
    TBitmap& pixels = picture.Bitmap();
    pixels.Fill(inside);
    const COLORREF line = SkinColour(ReadFocused() ? colours.ButtonDkShadow : colours.ButtonShadow);
    OutlineRect(pixels, {0, 0, w, h}, line);
    const int saved = SaveDC(dc);
    ExcludeClipRect(dc, rect.left + client.left, rect.top + client.top, rect.left + client.right,
                    rect.top + client.bottom);
    BitBlt(dc, rect.left, rect.top, w, h, picture.Dc(), 0, 0, SRCCOPY);
    RestoreDC(dc, saved);
}

// Combo boxes.

TSkinComBox::TSkinComBox(TComponent* owner) : TSkinControl(owner) {}

TSkinComBox::~TSkinComBox() = default;

void TSkinComBox::AfterMessage(TMessage& m) {
    switch (m.Msg) {
    case WM_MOUSEMOVE:
        if (!Hot()) {
            SetMouseFlag(kMouseHot, true);
            PaintNow();
            if (List()) List()->SetHoveredButton(this);
        }
        return;
    case CM_MOUSEENTER:
        SetMouseFlag(kMouseHot, true);
        PaintNow();
        return;
    case CM_MOUSELEAVE:
        SetMouseFlag(kMouseHot, false);
        PaintNow();
        if (List() && List()->HoveredButton() == this) List()->SetHoveredButton(nullptr);
        return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case CB_SETCURSEL:
    case CB_SHOWDROPDOWN:
    case CN_COMMAND:
        PaintNow();
        return;
    default:
        TSkinControl::AfterMessage(m);
    }
}

void TSkinComBox::PaintTo(HDC dc, const RECT& rect) {
    const TSkinParts* data = Skin();
    HWND combo = Window();
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (!data || !combo || w <= 0 || h <= 0) return;
    const TDataSkinObject* edge = data->SunkEdge.get();
    const TDataSkinBorder* button = data->ComboButton.get();
    const bool hasEdge = edge && !edge->Image.Empty();
    const bool hasButton = button && !button->Image.Empty();
    if (!hasEdge && !hasButton) return;
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    if (!GetComboBoxInfo(combo, &info)) return;
    const bool enabled = ReadEnabled();
    const HWND focus = GetFocus();
    const bool focused = focus == combo || (focus && GetParent(focus) == combo);
    const bool dropped = SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0) != 0;

    if (!FPicture || FPicture->Width() != w || FPicture->Height() != h)
        FPicture = std::make_unique<TDibSection>(w, h);
    FPicture->Sync();
    TBitmap& pixels = FPicture->Bitmap();
    pixels.Fill(SkinBackground(*this));
    // Over the system's own frame: the text area inside it stays the system's.
    if (hasEdge) {
        const int state = !enabled ? 4 : dropped || focused ? 3 : Hot() ? 2 : 1;
        ComposeOver(pixels, {0, 0, w, h}, *edge, edge->Image, 4, state);
    }
    const RECT& b = info.rcButton;
    if (hasButton && b.right > b.left && b.bottom > b.top) {
        const int state = !enabled ? 4 : dropped ? 3 : Hot() ? 2 : 1;
        ComposeOver(pixels,
                    {static_cast<int>(b.left), static_cast<int>(b.top), static_cast<int>(b.right),
                     static_cast<int>(b.bottom)},
                    *button, button->Image, 4, state);
    }
    const int saved = SaveDC(dc);
    const RECT& item = info.rcItem;
    ExcludeClipRect(dc, rect.left + item.left, rect.top + item.top, rect.left + item.right,
                    rect.top + item.bottom);
    BitBlt(dc, rect.left, rect.top, w, h, FPicture->Dc(), 0, 0, SRCCOPY);
    RestoreDC(dc, saved);
}

// Up-down buttons.

TSkinUpDown::TSkinUpDown(TComponent* owner) : TSkinControl(owner) {}

TSkinUpDown::~TSkinUpDown() = default;

bool TSkinUpDown::Horizontal() const {
    return Window() && (GetWindowLongW(Window(), GWL_STYLE) & UDS_HORZ) != 0;
}

const TDataSkinBorder* TSkinUpDown::Part() const {
    const TSkinParts* data = Skin();
    if (!data) return nullptr;
    const TDataSkinBorder* part = Horizontal() ? data->UpDownHorz.get() : data->UpDownVert.get();
    return part && !part->Image.Empty() ? part : nullptr;
}

int TSkinUpDown::ButtonAt(LPARAM point) const {
    RECT client{};
    GetClientRect(Window(), &client);
    const TUpDownHalves halves = UpDownHalves(client.right, client.bottom, Horizontal());
    const int x = static_cast<short>(LOWORD(point)), y = static_cast<short>(HIWORD(point));
    auto in = [&](const TRect& r) { return x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom; };
    return in(halves.First) ? 1 : in(halves.Second) ? 2 : 0;
}

void TSkinUpDown::SetButtons(int hot, int pressed) {
    if (hot == FHotButton && pressed == FPressedButton) return;
    FHotButton = hot;
    FPressedButton = pressed;
    SetMouseFlag(kMouseHot, hot != 0);
    SetMouseFlag(kMousePressed, pressed != 0);
    RepaintFrame();
}

bool TSkinUpDown::FilterMessage(TMessage& m) {
    if (!Part()) return TSkinControl::FilterMessage(m);
    if (TakeClientPainting(*this, m)) return false;
    switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        // The system control counts and repeats; we only follow the press.
        const int at = ButtonAt(m.LParam);
        if (!PassOn(m)) return false;
        SetButtons(at, at);
        return false;
    }
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
        if (!PassOn(m)) return false;
        SetButtons(FHotButton, 0);
        return false;
    case WM_MOUSEMOVE: {
        const int at = ButtonAt(m.LParam);
        if (!PassOn(m)) return false;
        SetButtons(at, FPressedButton);
        if (List()) List()->SetHoveredButton(this);
        return false;
    }
    case CM_MOUSELEAVE:
        if (!PassOn(m)) return false;
        SetButtons(0, 0);
        if (List() && List()->HoveredButton() == this) List()->SetHoveredButton(nullptr);
        return false;
    default:
        return TSkinControl::FilterMessage(m);
    }
}

void TSkinUpDown::PaintTo(HDC dc, const RECT& rect) {
    const TDataSkinBorder* part = Part();
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (!part || w <= 0 || h <= 0) return;
    const bool enabled = ReadEnabled();
    if (!FPicture || FPicture->Width() != w || FPicture->Height() != h)
        FPicture = std::make_unique<TDibSection>(w, h);
    FPicture->Sync();
    TBitmap& pixels = FPicture->Bitmap();
    pixels.Fill(SkinColour(SkinData()->Colours.ButtonFace));
    constexpr int kFrames = 8;
    const TUpDownHalves halves = UpDownHalves(w, h, Horizontal());
    for (int button = 1; button <= 2; ++button) {
        const TRect& half = button == 1 ? halves.First : halves.Second;
        const int state = UpDownState(button == 2, FHotButton == button,
                                      FPressedButton == button, enabled);
        ComposeOver(pixels, half, *part, part->Image, kFrames, state);
        // The arrow centred at its own size, shrunk where the half is smaller.
        const TRect cell = StateImageRect(part->Image2, false, kFrames, state);
        if (cell.Empty()) continue;
        const int gw = std::min(cell.Width(), half.Width()), gh = std::min(cell.Height(), half.Height());
        TBitmap glyph(gw, gh, TPixelFormat::pf32bit);
        StretchStateImage(glyph, {0, 0, gw, gh}, part->Image2, kFrames, state);
        CopyKeyed(pixels, half.Left + (half.Width() - gw) / 2, half.Top + (half.Height() - gh) / 2,
                  glyph, kColourKey);
    }
    BitBlt(dc, rect.left, rect.top, w, h, FPicture->Dc(), 0, 0, SRCCOPY);
}

} // namespace qh
