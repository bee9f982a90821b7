#include "skin/engine/controls/skin_buttons.h"

#include "core/gbk.h"
#include "core/text.h"
#include "skin/engine/shared_resources.h"
#include "skin/engine/skin_manage.h"
#include "skin/engine/skin_paint.h"
#include "skin/engine/frame/win_skin_form.h"
#include "skin/render/button_states.h"
#include "skin/render/compose.h"
#include "skin/render/control_pixels.h"
#include "skin/render/pixel_copy.h"
#include "toolkit/graphics.h"
#include "toolkit/layout/glyph_layout.h"

#include <string>

namespace qh {

QH_DEFINE_CLASS(TSkinButton, TSkinControl)
QH_DEFINE_CLASS(TSkinBitButton, TSkinButton)
QH_DEFINE_CLASS(TSkinSpeedButton, TSkinButton)

namespace {

// The Button part has five state images side by side.
constexpr int kButtonFrames = 5;

struct TFace {
    int State = kButtonNormal;
    COLORREF TextColour = 0;
    std::wstring Caption;
    HFONT Font = nullptr;
    // A glyph strip of NumGlyphs images, or none.
    const TBitmap* Glyph = nullptr;
    int NumGlyphs = 1;
    TButtonLayout Layout = blGlyphLeft;
    int Margin = -1;
    int Spacing = 4;
};

// The button face into the whole picture: ButtonFace, the part's state
// image as a nine-cell composition, the glyph and the caption.
void PaintFace(TDibSection& picture, const TSkinParts& data, const TFace& face) {
    const TDataSkinButton& part = *data.Button;
    const int w = picture.Width(), h = picture.Height();
    // GDI may still be drawing the last caption into these pixels.
    picture.Sync();
    TBitmap& pixels = picture.Bitmap();
    pixels.Fill(SkinColour(data.Colours.ButtonFace));
    const TMargins margins{part.LeftWidth, part.TopHeight, part.RightWidth, part.BottomHeight};
    const TRect all{0, 0, w, h};
    if (part.Trans == 1) {
        TBitmap composed(w, h, TPixelFormat::pf32bit);
        // Cells without a source stay see-through.
        composed.Fill(kColourKey);
        ComposeInto(composed, all, part.Image, margins, false, part.Tile != 0, kButtonFrames,
                    face.State);
        CopyKeyed(pixels, 0, 0, composed, kColourKey);
    } else {
        ComposeInto(pixels, all, part.Image, margins, false, part.Tile != 0, kButtonFrames,
                    face.State);
    }

    HDC dc = picture.Dc();
    TSelectObject font(dc, face.Font);
    SIZE text{0, 0};
    if (!face.Caption.empty()) {
        RECT measured{0, 0, w, 0};
        DrawTextW(dc, face.Caption.c_str(), static_cast<int>(face.Caption.size()), &measured,
                  DT_CALCRECT | DT_CENTER | DT_NOCLIP);
        text = {measured.right - measured.left, measured.bottom - measured.top};
    }
    RECT place{0, CaptionTop(h, text.cy), w, CaptionTop(h, text.cy) + text.cy};
    UINT align = DT_CENTER;
    const bool withGlyph = face.Glyph && !face.Glyph->Empty();
    if (withGlyph) {
        const int numGlyphs = face.NumGlyphs < 1 ? 1 : face.NumGlyphs;
        const int gw = face.Glyph->Width() / numGlyphs, gh = face.Glyph->Height();
        const TGlyphPlacement at = PlaceGlyphAndCaption(w, h, gw, gh, text.cx, text.cy,
                                                        face.Layout, face.Margin, face.Spacing);
        const TGlyphChoice choice = GlyphFor(face.State, numGlyphs);
        CopyGlyph(pixels, at.GlyphX, at.GlyphY, *face.Glyph, choice.Index, gw, choice.Grey);
        place = {at.TextX, at.TextY, at.TextX + text.cx, at.TextY + text.cy};
        align = face.Layout == blGlyphLeft    ? DT_LEFT
                : face.Layout == blGlyphRight ? DT_RIGHT
                                              : DT_CENTER;
    }
    if (face.Caption.empty()) return;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, face.TextColour);
    DrawTextW(dc, face.Caption.c_str(), static_cast<int>(face.Caption.size()), &place,
              align | DT_NOCLIP);
}

HFONT WindowFont(HWND window) {
    auto font = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
    return font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

TButtonLayout LayoutNamed(const std::string& name) {
    const std::string lower = LowerCase(name);
    if (lower == "blglyphright") return blGlyphRight;
    if (lower == "blglyphtop") return blGlyphTop;
    if (lower == "blglyphbottom") return blGlyphBottom;
    return blGlyphLeft;
}

const TBitmap* PictureOf(TObject* object) {
    auto* picture = dynamic_cast<TPicture*>(object);
    return picture && !picture->Empty() ? &picture->Bitmap() : nullptr;
}

bool NamedTrue(const std::string& value) {
    return LowerCase(value) == "true";
}

} // namespace

// Push buttons.

TSkinButton::TSkinButton(TComponent* owner) : TSkinControl(owner) {}

TSkinButton::~TSkinButton() = default;

const TDataSkinButton* TSkinButton::Part() const {
    const TSkinParts* data = Skin();
    if (!data || !data->Button || data->Button->Image.Empty()) return nullptr;
    return data->Button.get();
}

bool TSkinButton::IsDefaultButton() {
    return Window() &&
           (GetWindowLongW(Window(), GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
}

TDibSection& TSkinButton::Picture(int width, int height) {
    if (!FPicture || FPicture->Width() != width || FPicture->Height() != height)
        FPicture = std::make_unique<TDibSection>(width, height);
    return *FPicture;
}

void TSkinButton::Click() {
    if (TControl* control = Control()) {
        control->Click();
        return;
    }
    HWND window = Window();
    if (!window || !IsWindow(window)) return;
    PostMessageW(GetParent(window), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(window), BN_CLICKED),
                 reinterpret_cast<LPARAM>(window));
}

void TSkinButton::Hover() {
    SetMouseFlag(kMouseHot, true);
    TSkinControls* list = List();
    if (list)
        if (TSkinControl* other = list->HoveredButton(); other && other != this) {
            const auto alive = AliveToken();
            other->Notify(CM_MOUSELEAVE);
            if (!*alive) return;
        }
    RepaintFrame();
    if (List()) List()->SetHoveredButton(this);
}

bool TSkinButton::Skinned() const {
    return Part() != nullptr;
}

bool TSkinButton::FilterMessage(TMessage& m) {
    if (!Skinned()) return TSkinControl::FilterMessage(m);
    // Pictures taken of the window (WM_PRINTCLIENT) show the skin too.
    if (TakeClientPainting(*this, m)) return false;
    if (m.Msg != WM_LBUTTONDOWN && m.Msg != WM_LBUTTONDBLCLK) return TSkinControl::FilterMessage(m);
    // The system button never sees the press: it would draw its own look.
    const auto alive = AliveToken();
    if (Window() && GetFocus() != Window()) SetFocus(Window());
    if (!*alive) return false;
    SetMouseFlag(kMousePressed, true);
    PaintNow();
    m.Result = 0;
    return false;
}

void TSkinButton::AfterMessage(TMessage& m) {
    switch (m.Msg) {
    case WM_KEYDOWN:
    case WM_KEYUP:
        if (m.WParam == VK_SPACE) {
            SetMouseFlag(kMousePressed, m.Msg == WM_KEYDOWN);
            RepaintFrame();
        }
        return;
    case WM_MOUSEMOVE:
        if (!Hot()) Hover();
        return;
    case WM_LBUTTONUP:
        if (Pressed()) {
            SetMouseFlag(kMousePressed, false);
            RepaintFrame();
            Click(); // last: it may free us
        }
        return;
    case CM_MOUSEENTER:
        if (ReadEnabled()) {
            SetMouseFlag(kMouseHot, true);
            RepaintFrame();
            if (List()) List()->SetHoveredButton(this);
        }
        return;
    case CM_MOUSELEAVE:
        // Disabled or not: a button disabled by its own click must not come
        // back hot once enabled again.
        SetMouseFlag(kMouseHot | kMousePressed, false);
        RepaintFrame();
        if (List() && List()->HoveredButton() == this) List()->SetHoveredButton(nullptr);
        return;
    case BM_SETCHECK:
    case BM_SETSTATE:
    case BM_SETSTYLE:
    case CN_COMMAND:
        // The system button draws these changes at once, in its own look.
        RepaintFrame();
        return;
    default:
        TSkinControl::AfterMessage(m);
    }
}

void TSkinButton::PaintTo(HDC dc, const RECT& rect) {
    const TDataSkinButton* part = Part();
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (!part || w <= 0 || h <= 0) return;
    const bool focused = ReadFocused();
    const bool enabled = ReadEnabled();
    ReadText();
    TFace face;
    face.State = PushButtonState(Pressed(), Hot(), IsDefaultButton(), focused, enabled);
    face.TextColour = SkinColour(
        PushButtonTextColour(*part, SkinData()->Colours.ButtonText, face.State, enabled));
    face.Caption = Text();
    face.Font = Control() ? Control()->Font()->Handle() : WindowFont(Window());
    TDibSection& picture = Picture(w, h);
    PaintFace(picture, *Skin(), face);
    BitBlt(dc, rect.left, rect.top, w, h, picture.Dc(), 0, 0, SRCCOPY);
}

// Glyph buttons.

TSkinBitButton::TSkinBitButton(TComponent* owner) : TSkinButton(owner) {}

bool TSkinBitButton::IsDefaultButton() {
    return NamedTrue(EnumProperty("Default"));
}

bool TSkinBitButton::FilterMessage(TMessage& m) {
    // An owner-drawn button asks its owner to draw focus and press changes.
    if (m.Msg == CN_DRAWITEM && Part()) {
        PaintNow();
        m.Result = TRUE;
        return false;
    }
    return TSkinButton::FilterMessage(m);
}

void TSkinBitButton::PaintTo(HDC dc, const RECT& rect) {
    const TDataSkinButton* part = Part();
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (!part || w <= 0 || h <= 0) return;
    const bool focused = ReadFocused();
    const bool enabled = ReadEnabled();
    TFace face;
    face.State = PushButtonState(Pressed(), Hot(), IsDefaultButton(), focused, enabled);
    face.TextColour = SkinColour(
        PushButtonTextColour(*part, SkinData()->Colours.ButtonText, face.State, enabled));
    face.Caption = GbkToWide(StrProperty("Caption"));
    if (face.Caption.empty()) {
        ReadText();
        face.Caption = Text();
    }
    auto* font = dynamic_cast<TFont*>(ObjectProperty("Font"));
    face.Font = font ? font->Handle() : WindowFont(Window());
    face.Glyph = PictureOf(ObjectProperty("Glyph"));
    face.NumGlyphs = static_cast<int>(IntProperty("NumGlyphs"));
    face.Layout = LayoutNamed(EnumProperty("Layout"));
    if (Control() && IsPublishedProp(*Control(), "Margin"))
        face.Margin = static_cast<int>(IntProperty("Margin"));
    if (Control() && IsPublishedProp(*Control(), "Spacing"))
        face.Spacing = static_cast<int>(IntProperty("Spacing"));
    TDibSection& picture = Picture(w, h);
    PaintFace(picture, *Skin(), face);
    BitBlt(dc, rect.left, rect.top, w, h, picture.Dc(), 0, 0, SRCCOPY);
}

// Speed buttons.

TSkinSpeedButton::TSkinSpeedButton(TComponent* owner) : TSkinButton(owner) {}

bool TSkinSpeedButton::FilterMessage(TMessage& m) {
    if (!Part() || !GraphicControl()) return TSkinControl::FilterMessage(m);
    switch (m.Msg) {
    case WM_PAINT:
        if (m.WParam)
            PaintTo(reinterpret_cast<HDC>(m.WParam),
                    {0, 0, GraphicControl()->Width(), GraphicControl()->Height()});
        m.Result = 1;
        return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (!PassOn(m)) return false;
        SetMouseFlag(kMousePressed, true);
        PaintNow();
        return false;
    default:
        return TSkinButton::FilterMessage(m);
    }
}

void TSkinSpeedButton::AfterMessage(TMessage& m) {
    switch (m.Msg) {
    case WM_NCDESTROY:
    case CM_RELEASE:
        GiveHandlerBack();
        return;
    case WM_KEYDOWN:
    case WM_KEYUP:
        if (m.WParam == VK_SPACE) {
            SetMouseFlag(kMousePressed, m.Msg == WM_KEYDOWN);
            PaintNow();
        }
        return;
    case WM_LBUTTONUP:
        SetMouseFlag(kMousePressed, false);
        PaintNow();
        return;
    case CM_MOUSEENTER:
        SetMouseFlag(kMouseHot, true);
        PaintNow();
        return;
    case CM_MOUSELEAVE:
        SetMouseFlag(kMouseHot | kMousePressed, false);
        if (GraphicControl() && GraphicControl()->Visible()) PaintNow();
        return;
    default:
        TSkinButton::AfterMessage(m);
    }
}

void TSkinSpeedButton::PaintNow(HDC dc) {
    TControl* button = GraphicControl();
    if (!button) return;
    const RECT local{0, 0, button->Width(), button->Height()};
    try {
        if (dc) {
            PaintTo(dc, local);
            return;
        }
        TWinControl* parent = button->Parent();
        if (!button->Visible() || !parent || !parent->HandleAllocated()) return;
        TWindowDC own(parent->Handle());
        if (!own.Get()) return;
        const int saved = SaveDC(own.Get());
        OffsetViewportOrgEx(own.Get(), button->Left(), button->Top(), nullptr);
        IntersectClipRect(own.Get(), 0, 0, local.right, local.bottom);
        PaintTo(own.Get(), local);
        RestoreDC(own.Get(), saved);
    } catch (...) {
        // A paint that fails leaves the old picture; the next one tries again.
    }
}

void TSkinSpeedButton::PaintTo(HDC dc, const RECT& rect) {
    const TDataSkinButton* part = Part();
    TControl* button = GraphicControl();
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (!part || !button || w <= 0 || h <= 0) return;
    const bool enabled = button->Enabled();
    ReadText();
    TFace face;
    face.State = SpeedButtonState(Pressed(), Hot(), enabled, NamedTrue(EnumProperty("Down")));
    face.Caption = Text();
    auto* font = dynamic_cast<TFont*>(ObjectProperty("Font"));
    if (!font) font = button->Font();
    face.Font = font->Handle();
    face.Glyph = PictureOf(ObjectProperty("Glyph"));
    if (face.Glyph) {
        face.NumGlyphs = static_cast<int>(IntProperty("NumGlyphs"));
        face.Layout = LayoutNamed(EnumProperty("Layout"));
        if (IsPublishedProp(*button, "Margin"))
            face.Margin = static_cast<int>(IntProperty("Margin"));
        if (IsPublishedProp(*button, "Spacing"))
            face.Spacing = static_cast<int>(IntProperty("Spacing"));
        face.TextColour = SkinColour(
            GlyphButtonTextColour(*part, static_cast<int32_t>(font->Color()),
                                  static_cast<int32_t>(clGrayText), face.State, enabled));
    } else {
        face.TextColour = SkinColour(
            PushButtonTextColour(*part, SkinData()->Colours.ButtonText, face.State, enabled));
    }
    TDibSection& scratch = ScratchBitmap(w, h);
    PaintFace(scratch, *Skin(), face);
    BitBlt(dc, rect.left, rect.top, w, h, scratch.Dc(), 0, 0, SRCCOPY);
}

// Tool bar buttons.

void ToolButtonPainter(TToolBar* bar, TToolButton* button, HDC dc, unsigned state, bool&,
                       TColor& textColour) {
    if (!bar || !button || !bar->HandleAllocated()) return;
    TSkinManage* manager = SkinManage();
    TWinSkinForm* form =
        manager ? manager->FindSkinForm(GetAncestor(bar->Handle(), GA_ROOT)) : nullptr;
    if (!form || form->FrameState() != TFrameState::Active) return;
    const TSkinParts* data = form->SkinData() ? &form->Skin() : nullptr;
    if (!data || !data->Button || data->Button->Image.Empty()) return;
    const int n = ToolButtonState((state & cdsSelected) != 0, (state & (cdsFocused | cdsHot)) != 0,
                                  (state & cdsDefault) != 0,
                                  (state & (cdsGrayed | cdsDisabled)) != 0);
    if (n == 0) return;
    const TDataSkinButton& part = *data->Button;
    const TRect target{1, 1, button->Width() - 1, button->Height() - 1};
    DrawComposed(dc, target, part.Image, false, part.Tile != 0, part.Trans == 1, kButtonFrames, n,
                 {part.LeftWidth, part.TopHeight, part.RightWidth, part.BottomHeight});
    textColour = static_cast<TColor>(GlyphButtonTextColour(
        part, static_cast<int32_t>(textColour), static_cast<int32_t>(clGrayText), n,
        button->Enabled()));
}

} // namespace qh
