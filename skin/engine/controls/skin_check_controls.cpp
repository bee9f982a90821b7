#include "skin/engine/controls/skin_check_controls.h"

#include "core/gbk.h"
#include "core/text.h"
#include "skin/engine/skin_paint.h"
#include "skin/render/compose.h"
#include "skin/render/control_states.h"
#include "skin/render/pixel_copy.h"
#include "skin/render/state_image.h"
#include "toolkit/graphics.h"

#include <algorithm>

namespace qh {

QH_DEFINE_CLASS(TSkinCheckBox, TSkinButton)
QH_DEFINE_CLASS(TSkinRadioButton, TSkinCheckBox)
QH_DEFINE_CLASS(TSkinGroupBox, TSkinControl)

COLORREF SkinBackground(const TSkinControl& skin) {
    if (TControl* control = skin.Control())
        if (TWinControl* parent = control->Parent()) return ColorToRGB(parent->Color());
    return SkinColour(skin.SkinData()->Colours.ButtonFace);
}

HFONT SkinControlFont(const TSkinControl& skin) {
    if (TControl* control = skin.Control()) return control->Font()->Handle();
    auto font = reinterpret_cast<HFONT>(
        skin.Window() ? SendMessageW(skin.Window(), WM_GETFONT, 0, 0) : 0);
    return font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

namespace {

UINT ButtonType(HWND window) {
    return window ? static_cast<UINT>(GetWindowLongW(window, GWL_STYLE)) & BS_TYPEMASK : 0;
}

} // namespace

// Check boxes.

TSkinCheckBox::TSkinCheckBox(TComponent* owner) : TSkinButton(owner) {}

const TBitmap* TSkinCheckBox::Strip(int& frames) const {
    const TSkinParts* data = Skin();
    if (!data || !data->Button || data->Button->CheckImage.Empty()) return nullptr;
    frames = data->Button->CheckButtonFrame;
    return &data->Button->CheckImage;
}

int TSkinCheckBox::CheckState() const {
    if (Control() && IsPublishedProp(*Control(), "Checked"))
        return LowerCase(EnumProperty("Checked")) == "true" ? kChecked : kUnchecked;
    if (!Window()) return kUnchecked;
    const LRESULT state = SendMessageW(Window(), BM_GETCHECK, 0, 0);
    return state == BST_CHECKED ? kChecked : state == BST_INDETERMINATE ? kGrayed : kUnchecked;
}

bool TSkinCheckBox::ClickBox() {
    HWND window = Window();
    if (!window || !IsWindow(window)) return true;
    const auto alive = AliveToken();
    const UINT type = ButtonType(window);
    const int check = CheckState();
    if (type == BS_AUTOCHECKBOX)
        SendMessageW(window, BM_SETCHECK, check == kUnchecked ? BST_CHECKED : BST_UNCHECKED, 0);
    else if (type == BS_AUTO3STATE)
        SendMessageW(window, BM_SETCHECK,
                     check == kUnchecked ? BST_CHECKED
                     : check == kChecked ? BST_INDETERMINATE
                                         : BST_UNCHECKED,
                     0);
    if (!*alive || !IsWindow(window)) return false;
    // As the system button does: the parent hears of it before the release
    // returns (a control of the class library gets it reflected).
    SendMessageW(GetParent(window), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(window), BN_CLICKED),
                 reinterpret_cast<LPARAM>(window));
    return *alive != nullptr;
}

bool TSkinCheckBox::Skinned() const {
    int frames = 0;
    return Strip(frames) != nullptr;
}

// The one way a check box differs from the push button: it clicks itself.
// The system button must not see the release or the space bar, on which it
// would draw its own look and change its check at once; the push button
// leaves both to the system and clicks once the release has passed.
bool TSkinCheckBox::FilterMessage(TMessage& m) {
    if (!Skinned()) return TSkinButton::FilterMessage(m);
    switch (m.Msg) {
    case WM_LBUTTONUP:
        if (!Pressed()) return true;
        SetMouseFlag(kMousePressed, false);
        if (ClickBox()) RepaintFrame();
        m.Result = 0;
        return false;
    case WM_KEYDOWN:
        if (m.WParam != VK_SPACE) return true;
        SetMouseFlag(kMousePressed, true);
        PaintNow();
        m.Result = 0;
        return false;
    case WM_KEYUP:
        if (m.WParam != VK_SPACE || !Pressed()) return true;
        SetMouseFlag(kMousePressed, false);
        if (ClickBox()) RepaintFrame();
        m.Result = 0;
        return false;
    default:
        return TSkinButton::FilterMessage(m);
    }
}

void TSkinCheckBox::PaintTo(HDC dc, const RECT& rect) {
    int frames = 0;
    const TBitmap* strip = Strip(frames);
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (!strip || w <= 0 || h <= 0) return;
    const bool enabled = ReadEnabled();
    const bool focused = ReadFocused();
    ReadText();
    TDibSection& picture = Picture(w, h);
    picture.Sync();
    TBitmap& pixels = picture.Bitmap();
    pixels.Fill(SkinBackground(*this));

    const TRect cell = StateImageRect(*strip, false, frames, 1);
    const bool right = Window() && (GetWindowLongW(Window(), GWL_STYLE) & BS_RIGHTBUTTON) != 0;
    const TCheckLayout at = PlaceCheckMark(w, h, cell.Width(), cell.Height(), right);
    if (!cell.Empty()) {
        TBitmap mark(cell.Width(), cell.Height(), TPixelFormat::pf32bit);
        const int state = CheckImageState(CheckState(), Hot(), Pressed(), enabled, frames);
        StretchStateImage(mark, {0, 0, cell.Width(), cell.Height()}, *strip, frames, state);
        CopyKeyed(pixels, at.Mark.Left, at.Mark.Top, mark, kColourKey);
    }

    const std::wstring& caption = Text();
    if (!caption.empty()) {
        HDC pdc = picture.Dc();
        TSelectObject font(pdc, SkinControlFont(*this));
        SetBkMode(pdc, TRANSPARENT);
        const TSkinColours& colours = SkinData()->Colours;
        SetTextColor(pdc, SkinColour(enabled ? colours.ButtonText : colours.ButtonShadow));
        RECT text{at.Text.Left, at.Text.Top, at.Text.Right, at.Text.Bottom};
        DrawTextW(pdc, caption.c_str(), static_cast<int>(caption.size()), &text,
                  DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
        if (focused) {
            RECT measured = text;
            DrawTextW(pdc, caption.c_str(), static_cast<int>(caption.size()), &measured,
                      DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_CALCRECT);
            const int th = static_cast<int>(measured.bottom - measured.top);
            const int top = (h - th) / 2;
            RECT ring{measured.left - 1, top - 1,
                      std::min(static_cast<int>(measured.right) + 1, w),
                      std::min(top + th + 1, h)};
            DrawFocusRect(pdc, &ring);
        }
    }
    BitBlt(dc, rect.left, rect.top, w, h, picture.Dc(), 0, 0, SRCCOPY);
}

// Radio buttons.

TSkinRadioButton::TSkinRadioButton(TComponent* owner) : TSkinCheckBox(owner) {}

const TBitmap* TSkinRadioButton::Strip(int& frames) const {
    const TSkinParts* data = Skin();
    if (!data || !data->Button || data->Button->RadioImage.Empty()) return nullptr;
    frames = data->Button->RadioButtonFrame;
    return &data->Button->RadioImage;
}

bool TSkinRadioButton::ClickBox() {
    HWND window = Window();
    if (window && IsWindow(window) && ButtonType(window) == BS_AUTORADIOBUTTON) {
        const auto alive = AliveToken();
        // Checked, and the other automatic radio buttons of its group not.
        HWND parent = GetParent(window);
        HWND other = GetNextDlgGroupItem(parent, window, FALSE);
        for (int guard = 0; other && other != window && guard < 1000; ++guard) {
            if (ButtonType(other) == BS_AUTORADIOBUTTON)
                SendMessageW(other, BM_SETCHECK, BST_UNCHECKED, 0);
            other = GetNextDlgGroupItem(parent, other, FALSE);
        }
        if (!*alive) return false;
        SendMessageW(window, BM_SETCHECK, BST_CHECKED, 0);
        if (!*alive || !IsWindow(window)) return false;
        SendMessageW(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(window), BN_CLICKED),
                     reinterpret_cast<LPARAM>(window));
        return *alive != nullptr;
    }
    return TSkinCheckBox::ClickBox();
}

// Group boxes.

TSkinGroupBox::TSkinGroupBox(TComponent* owner) : TSkinControl(owner) {}

TSkinGroupBox::~TSkinGroupBox() = default;

bool TSkinGroupBox::FilterMessage(TMessage& m) {
    if (SkinData() && !SkinData()->SkinEmpty && TakeClientPainting(*this, m)) return false;
    return TSkinControl::FilterMessage(m);
}

void TSkinGroupBox::PaintTo(HDC dc, const RECT& rect) {
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (w <= 0 || h <= 0 || !SkinData()) return;
    const TSkinParts& data = *Skin();
    if (!FPicture || FPicture->Width() != w || FPicture->Height() != h)
        FPicture = std::make_unique<TDibSection>(w, h);
    FPicture->Sync();
    const COLORREF face =
        SkinColour(data.FaceBrush ? data.FaceBrush->Colour() : data.Colours.ButtonFace);
    FPicture->Bitmap().Fill(SkinBackground(*this));
    HDC pdc = FPicture->Dc();
    TSelectObject font(pdc, SkinControlFont(*this));

    std::wstring caption = GbkToWide(StrProperty("Caption"));
    if (caption.empty()) {
        ReadText();
        caption = Text();
    }
    TEXTMETRICW metrics{};
    GetTextMetricsW(pdc, &metrics);
    const int lineY = metrics.tmHeight / 2;
    {
        TUniqueHandle<HPEN, TGdiFree> pen(
            CreatePen(PS_SOLID, 1, SkinColour(data.Colours.ButtonShadow)));
        TSelectObject usePen(pdc, pen.Get());
        TSelectObject noBrush(pdc, GetStockObject(NULL_BRUSH));
        Rectangle(pdc, 0, lineY, w, h);
    }
    if (!caption.empty()) {
        RECT measured{0, 0, w, 0};
        DrawTextW(pdc, caption.c_str(), static_cast<int>(caption.size()), &measured,
                  DT_CALCRECT | DT_SINGLELINE);
        constexpr int kIndent = 8, kPad = 2;
        RECT back{kIndent - kPad, 0,
                  std::min(kIndent + static_cast<int>(measured.right - measured.left) + kPad, w - 1),
                  metrics.tmHeight};
        TBrushHandle brush(CreateSolidBrush(face));
        FillRect(pdc, &back, brush.Get());
        RECT text{kIndent, 0, back.right - kPad, metrics.tmHeight};
        SetBkMode(pdc, TRANSPARENT);
        SetTextColor(
            pdc, SkinColour(ReadEnabled() ? data.Colours.ButtonText : data.Colours.ButtonShadow));
        DrawTextW(pdc, caption.c_str(), static_cast<int>(caption.size()), &text,
                  DT_LEFT | DT_SINGLELINE | DT_END_ELLIPSIS);
    }
    BitBlt(dc, rect.left, rect.top, w, h, pdc, 0, 0, SRCCOPY);
}

} // namespace qh
