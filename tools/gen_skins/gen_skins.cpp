// Draws the three shipped skins: for each, one INI text and its 24-bit
// bitmaps (magenta where see-through) into resources/skins/<folder>/, and
// the 1-bit menu glyph strip LACQUERMENU into resources/menu/.
//   gen_skins [RESOURCES_DIR]
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "core/stream.h"
#include "images/bitmap.h"
#include "images/bitmap_convert.h"
#include "tools/gen_skins/draw.h"

namespace {

using namespace gen;
using qh::kColourKey;
using qh::MakeColour;

enum class TLook { Classic, Crystal, Brushed };

struct TTheme {
    const char* Folder;
    const char* SkinName; // code page 936
    TLook Style;
    TColor Face, Light, Shadow, Dark, Text;
    TColor CaptionTop, CaptionBottom, CaptionInactiveTop, CaptionInactiveBottom;
    TColor Outline; // the window's outer line
    TColor Accent;  // selection and glossy faces
    TColor TitleText, TitleTextInactive;
    TColor MenuColour;
    int CaptionHeight;
    int BorderWidth;
};

const TTheme kThemes[] = {
    {"default", "默认皮肤", TLook::Classic, MakeColour(212, 208, 200), MakeColour(255, 255, 255),
     MakeColour(128, 128, 128), MakeColour(64, 64, 64), MakeColour(0, 0, 0),
     MakeColour(10, 36, 106), MakeColour(122, 160, 216), MakeColour(128, 128, 128),
     MakeColour(192, 192, 192), MakeColour(64, 64, 64), MakeColour(10, 36, 106),
     MakeColour(255, 255, 255), MakeColour(212, 208, 200), MakeColour(255, 255, 255), 22, 4},
    {"crystal", "蓝色水晶", TLook::Crystal, MakeColour(222, 234, 248), MakeColour(255, 255, 255),
     MakeColour(122, 150, 190), MakeColour(40, 70, 120), MakeColour(16, 32, 64),
     MakeColour(110, 170, 240), MakeColour(24, 78, 168), MakeColour(170, 196, 226),
     MakeColour(120, 150, 190), MakeColour(18, 50, 110), MakeColour(52, 118, 210),
     MakeColour(255, 255, 255), MakeColour(232, 240, 250), MakeColour(246, 250, 255), 26, 5},
    {"mac", "苹果MAC", TLook::Brushed, MakeColour(232, 232, 232), MakeColour(255, 255, 255),
     MakeColour(160, 160, 160), MakeColour(96, 96, 96), MakeColour(0, 0, 0),
     MakeColour(246, 246, 246), MakeColour(206, 206, 206), MakeColour(240, 240, 240),
     MakeColour(226, 226, 226), MakeColour(140, 140, 140), MakeColour(56, 117, 215),
     MakeColour(40, 40, 40), MakeColour(150, 150, 150), MakeColour(250, 250, 250), 24, 4},
};

TBitmap Keyed(int w, int h) {
    TBitmap b(w, h);
    b.Fill(kColourKey);
    return b;
}

// Fine horizontal streaks for the brushed look.
TColor Brushed(TColor base, int x, int y) {
    const unsigned seed = static_cast<unsigned>(y * 7919 + (x / 9) * 104729);
    const double n = ((seed * 2654435761u) >> 24) / 255.0 - 0.5;
    return n > 0 ? Lighter(base, n * 0.12) : Darker(base, -n * 0.06);
}

// A control face in state 1 normal, 2 pressed, 3 disabled, 4 hot, 5 default.
void Face(TBitmap& b, TRect r, int state, const TTheme& t, double radius = 3) {
    switch (t.Style) {
    case TLook::Classic: {
        TColor face = state == 4 ? Lighter(t.Face, 0.25) : t.Face;
        Fill(b, r, face);
        if (state == 2) {
            Bevel(b, r, t.Dark, t.Light);
            Bevel(b, {r.x + 1, r.y + 1, r.w - 2, r.h - 2}, t.Shadow, t.Face);
        } else if (state == 3) {
            Frame(b, r, t.Shadow);
        } else {
            TRect inner = r;
            if (state == 5) {
                Frame(b, r, t.Dark);
                inner = {r.x + 1, r.y + 1, r.w - 2, r.h - 2};
            }
            Bevel(b, inner, t.Light, t.Dark);
            Bevel(b, {inner.x + 1, inner.y + 1, inner.w - 2, inner.h - 2}, face, t.Shadow);
        }
        break;
    }
    case TLook::Crystal: {
        TColor base = t.Accent;
        if (state == 2)
            base = Darker(t.Accent, 0.2);
        else if (state == 3)
            base = Mix(t.Face, t.Shadow, 0.4);
        else if (state == 4)
            base = Lighter(t.Accent, 0.25);
        const TColor top = Lighter(base, 0.6), bottom = base;
        RoundRect(
            b, r, radius,
            [&](int, int y) {
                const double v = double(y - r.y) / std::max(1, r.h - 1);
                TColor c = Mix(top, bottom, v);
                return v < 0.48 ? Lighter(c, 0.35 - v * 0.4) : c; // the glossy upper half
            },
            t.Face);
        RoundFrame(b, r, radius, state == 5 ? Darker(t.Accent, 0.6) : Darker(base, 0.35), t.Face);
        if (state == 5)
            RoundFrame(b, {r.x + 1, r.y + 1, r.w - 2, r.h - 2}, radius - 1, Lighter(base, 0.7),
                       t.Face);
        break;
    }
    case TLook::Brushed: {
        TColor top = MakeColour(255, 255, 255), bottom = MakeColour(214, 214, 214);
        if (state == 2) {
            top = MakeColour(190, 190, 190);
            bottom = MakeColour(220, 220, 220);
        } else if (state == 3) {
            top = bottom = MakeColour(238, 238, 238);
        } else if (state == 4) {
            top = MakeColour(255, 255, 255);
            bottom = MakeColour(200, 214, 236);
        } else if (state == 5) {
            top = MakeColour(150, 196, 250);
            bottom = MakeColour(40, 112, 220);
        }
        RoundRect(
            b, r, radius,
            [&](int, int y) { return Mix(top, bottom, double(y - r.y) / std::max(1, r.h - 1)); },
            t.Face);
        RoundFrame(b, r, radius, state == 3 ? MakeColour(200, 200, 200) : t.Outline, t.Face);
        break;
    }
    }
}

TColor GlyphColour(const TTheme& t, int state) {
    if (state == 3) return t.Shadow;
    if (t.Style == TLook::Crystal) return MakeColour(255, 255, 255);
    return state == 5 && t.Style == TLook::Brushed ? MakeColour(255, 255, 255) : t.Text;
}

// An arrow head pointing: 0 left, 1 right, 2 up, 3 down.
void Arrow(TBitmap& b, TRect r, int direction, TColor c, TColor backdrop) {
    const double cx = r.x + r.w / 2.0, cy = r.y + r.h / 2.0, s = std::min(r.w, r.h) / 5.0;
    const double dx[4] = {-1, 1, 0, 0}, dy[4] = {0, 0, -1, 1};
    const double tipX = cx + dx[direction] * s, tipY = cy + dy[direction] * s;
    const double backX = cx - dx[direction] * s, backY = cy - dy[direction] * s;
    const double px = dy[direction] * s * 1.6, py = dx[direction] * s * 1.6;
    Line(b, backX + px, backY + py, tipX, tipY, 1.8, c, backdrop);
    Line(b, backX - px, backY - py, tipX, tipY, 1.8, c, backdrop);
}

// Caption glyphs: 0 close, 1 maximise, 2 restore, 3 minimise.
void CaptionGlyph(TBitmap& b, TRect r, int glyph, TColor c, TColor backdrop, double scale = 1) {
    const double cx = r.x + r.w / 2.0, cy = r.y + r.h / 2.0, s = 4 * scale;
    switch (glyph) {
    case 0:
        Line(b, cx - s, cy - s, cx + s, cy + s, 1.9 * scale, c, backdrop);
        Line(b, cx - s, cy + s, cx + s, cy - s, 1.9 * scale, c, backdrop);
        break;
    case 1:
        Frame(b, {int(cx - s), int(cy - s), int(2 * s) + 1, int(2 * s) + 1}, c);
        Fill(b, {int(cx - s), int(cy - s) + 1, int(2 * s) + 1, 1}, c);
        break;
    case 2:
        Frame(b, {int(cx - s) + 2, int(cy - s), int(2 * s) - 1, int(2 * s) - 1}, c);
        Fill(b, {int(cx - s), int(cy - s) + 2, int(2 * s) - 1, int(2 * s) - 1}, backdrop);
        Frame(b, {int(cx - s), int(cy - s) + 2, int(2 * s) - 1, int(2 * s) - 1}, c);
        break;
    case 3:
        Fill(b, {int(cx - s), int(cy + s) - 2, int(2 * s) + 1, 2}, c);
        break;
    }
}

struct TSkin {
    const TTheme& T;
    std::filesystem::path Dir;
    std::string Ini;

    void Save(const std::string& name, const TBitmap& bitmap) {
        bitmap.SaveToFile((Dir / name).string());
    }
    void Section(const std::string& name) { Ini += "\r\n[" + name + "]\r\n"; }
    void Key(const std::string& key, const std::string& value) {
        Ini += key + "=" + value + "\r\n";
    }
    void Key(const std::string& key, int value) { Key(key, std::to_string(value)); }
};

std::string Rgb(TColor c) {
    return std::to_string(qh::ColourR(c)) + " " + std::to_string(qh::ColourG(c)) + " " +
           std::to_string(qh::ColourB(c));
}

// A strip of n cells of w x h, each drawn by paint(bitmap, cell rect, state from 1).
TBitmap Strip(int n, int w, int h, const std::function<void(TBitmap&, TRect, int)>& paint) {
    TBitmap b = Keyed(n * w, h);
    for (int i = 0; i < n; ++i)
        paint(b, {i * w, 0, w, h}, i + 1);
    return b;
}

// The same, cells stacked from the top.
TBitmap Stack(int n, int w, int h, const std::function<void(TBitmap&, TRect, int)>& paint) {
    TBitmap b = Keyed(w, n * h);
    for (int i = 0; i < n; ++i)
        paint(b, {0, i * h, w, h}, i + 1);
    return b;
}

void Caption(TBitmap& b, TRect r, bool active, const TTheme& t) {
    const TColor top = active ? t.CaptionTop : t.CaptionInactiveTop;
    const TColor bottom = active ? t.CaptionBottom : t.CaptionInactiveBottom;
    switch (t.Style) {
    case TLook::Classic:
        Gradient(b, r, top, bottom, true);
        break;
    case TLook::Crystal:
        Gradient(b, r, top, bottom);
        for (int y = r.y; y < r.y + r.h / 2; ++y)
            for (int x = r.x; x < r.x + r.w; ++x)
                b.SetPixel(x, y, Lighter(b.GetPixel(x, y), 0.28 - 0.4 * (y - r.y) / r.h));
        break;
    case TLook::Brushed:
        for (int y = r.y; y < r.y + r.h; ++y)
            for (int x = r.x; x < r.x + r.w; ++x)
                b.SetPixel(x, y, Brushed(Mix(top, bottom, double(y - r.y) / (r.h - 1)), x, y));
        break;
    }
}

// The colour of the frame's sides below the caption.
TColor SideColour(const TTheme& t, bool active) {
    if (t.Style == TLook::Crystal) return active ? t.CaptionBottom : t.CaptionInactiveBottom;
    if (t.Style == TLook::Brushed) return active ? t.CaptionBottom : t.CaptionInactiveBottom;
    return t.Face;
}

void Borders(TSkin& s) {
    const TTheme& t = s.T;
    const int ch = t.CaptionHeight, bw = t.BorderWidth, sideHeight = ch + 24 + bw;
    const bool round = t.Style != TLook::Classic;
    const int radius = t.Style == TLook::Crystal ? 7 : 5;

    // Left: two frames side by side, caption part, side, bottom corner.
    TBitmap left = Keyed(2 * bw, sideHeight);
    for (int f = 0; f < 2; ++f) {
        const bool active = f == 0;
        const int x0 = f * bw;
        TBitmap column(bw + radius + 2, sideHeight);
        Caption(column, {0, 0, column.Width(), ch}, active, t);
        Fill(column, {0, ch, column.Width(), sideHeight - ch}, SideColour(t, active));
        Fill(column, {0, 0, 1, sideHeight}, t.Outline);
        if (t.Style == TLook::Classic) {
            Fill(column, {1, 0, 1, sideHeight}, t.Light);
            Fill(column, {0, sideHeight - 1, column.Width(), 1}, t.Outline);
            Fill(column, {1, sideHeight - 2, column.Width(), 1}, t.Shadow);
        } else {
            Fill(column, {1, 0, 1, sideHeight}, Lighter(SideColour(t, active), 0.4));
            Fill(column, {0, sideHeight - 1, column.Width(), 1}, t.Outline);
        }
        Fill(column, {0, 0, column.Width(), 1}, t.Outline);
        if (t.Style == TLook::Classic)
            Fill(column, {1, 1, column.Width(), 1}, t.Light);
        else
            Fill(column, {1, 1, column.Width(), 1},
                 Lighter(active ? t.CaptionTop : t.CaptionInactiveTop, 0.5));
        // The inner edge next to the client area.
        Fill(column, {bw - 1, ch, 1, sideHeight - ch - bw + 1}, t.Shadow);
        if (round) {
            // Rounded outer corner: cut to the key outside the radius.
            for (int y = 0; y < radius; ++y)
                for (int x = 0; x < radius; ++x) {
                    const double d = std::hypot(radius - x - 0.5, radius - y - 0.5);
                    if (d > radius)
                        column.SetPixel(x, y, kColourKey);
                    else if (d > radius - 1.2)
                        column.SetPixel(x, y, t.Outline);
                }
        }
        left.CopyRect(x0, 0, column, 0, 0, bw, sideHeight);
    }
    s.Save("left.bmp", left);
    TBitmap right = left;
    // Mirrored per frame, so the active frame stays first.
    for (int f = 0; f < 2; ++f) {
        TBitmap cell(bw, sideHeight);
        cell.CopyRect(0, 0, left, f * bw, 0, bw, sideHeight);
        qh::MirrorBitmap(cell);
        right.CopyRect(f * bw, 0, cell, 0, 0, bw, sideHeight);
    }
    if (t.Style == TLook::Classic) {
        // The classic caption runs left to right: the right side takes the
        // gradient's end colour.
        for (int f = 0; f < 2; ++f)
            Fill(right, {f * bw, 2, bw - 2, ch - 2},
                 f == 0 ? t.CaptionBottom : t.CaptionInactiveBottom);
    }
    s.Save("right.bmp", right);

    // Top: two frames stacked, the caption strip between the sides.
    TBitmap top(100, 2 * ch);
    for (int f = 0; f < 2; ++f) {
        const bool active = f == 0;
        Caption(top, {0, f * ch, 100, ch}, active, t);
        Fill(top, {0, f * ch, 100, 1}, t.Outline);
        Fill(top, {0, f * ch + 1, 100, 1},
             t.Style == TLook::Classic ? t.Light
                                      : Lighter(active ? t.CaptionTop : t.CaptionInactiveTop, 0.5));
        if (t.Style == TLook::Brushed)
            Fill(top, {0, f * ch + ch - 1, 100, 1}, MakeColour(170, 170, 170));
    }
    s.Save("top.bmp", top);

    // Bottom: two frames stacked.
    TBitmap bottom(100, 2 * bw);
    for (int f = 0; f < 2; ++f) {
        Fill(bottom, {0, f * bw, 100, bw}, SideColour(t, f == 0));
        Fill(bottom, {0, f * bw, 100, 1}, t.Shadow);
        Fill(bottom, {0, f * bw + bw - 1, 100, 1}, t.Outline);
        if (t.Style == TLook::Classic) Fill(bottom, {0, f * bw + bw - 2, 100, 1}, t.Shadow);
    }
    s.Save("bottom.bmp", bottom);

    s.Section("Personality");
    s.Key("Left", "left.bmp");
    s.Key("Right", "right.bmp");
    s.Key("Top", "top.bmp");
    s.Key("Bottom", "bottom.bmp");
    for (const char* side : {"Left", "Right"}) {
        s.Key(std::string(side) + "TopHeight", ch);
        s.Key(std::string(side) + "BotHeight", bw);
        s.Key(std::string(side) + "Frame", 2);
        s.Key(std::string(side) + "Stretch", 1);
        s.Key(std::string(side) + "Trans", round ? 1 : 0);
    }
    s.Key("TopTopHeight", 8);
    s.Key("TopBotHeight", 8);
    s.Key("TopFrame", 2);
    s.Key("TopStretch", 1);
    s.Key("TopTrans", 0);
    s.Key("BottomTopHeight", 8);
    s.Key("BottomBotHeight", 8);
    s.Key("BottomFrame", 2);
    s.Key("BottomStretch", 1);
    s.Key("BottomTrans", 0);

    // Title text: its back picture, two frames stacked.
    TBitmap textBack = Stack(2, 40, ch - 6, [&](TBitmap& b, TRect r, int f) {
        if (t.Style != TLook::Crystal) {
            return; // the classic and brushed captions need no text back
        }
        const TColor glow = Lighter(f == 1 ? t.CaptionTop : t.CaptionInactiveTop, 0.25);
        RoundRect(
            b, {r.x, r.y + 1, r.w, r.h - 2}, (r.h - 2) / 2.0,
            [&](int, int y) { return Mix(Lighter(glow, 0.3), glow, double(y - r.y) / r.h); }, glow);
    });
    s.Save("textback.bmp", textBack);
    s.Key("TextBack", "textback.bmp");
    s.Key("TXTBackleft", 10);
    s.Key("TXTBackRight", 10);
    s.Key("TextShift", t.Style == TLook::Brushed ? 0 : 26);
    s.Key("TextShiftVert", (ch - 14) / 2);
    s.Key("TextRightClip", 80);
    s.Key("TextAlignment", t.Style == TLook::Brushed ? 1 : 0);
    s.Key("Textbackground", t.Style == TLook::Crystal ? 1 : 0);
    s.Key("ActiveTextR", qh::ColourR(t.TitleText));
    s.Key("ActiveTextG", qh::ColourG(t.TitleText));
    s.Key("ActiveTextB", qh::ColourB(t.TitleText));
    s.Key("InActiveTextR", qh::ColourR(t.TitleTextInactive));
    s.Key("InActiveTextG", qh::ColourG(t.TitleTextInactive));
    s.Key("InActiveTextB", qh::ColourB(t.TitleTextInactive));

    // Menu bar: two frames stacked.
    TBitmap menuBar = Stack(2, 40, 20, [&](TBitmap& b, TRect r, int f) {
        if (t.Style == TLook::Classic) {
            Fill(b, r, t.Face);
        } else if (t.Style == TLook::Crystal) {
            Gradient(b, r, MakeColour(246, 250, 255), f == 1 ? MakeColour(206, 224, 246) : t.Face);
        } else {
            for (int y = r.y; y < r.y + r.h; ++y)
                for (int x = r.x; x < r.x + r.w; ++x)
                    b.SetPixel(x, y,
                               Brushed(Mix(MakeColour(232, 232, 232), MakeColour(212, 212, 212),
                                           double(y - r.y) / r.h),
                                       x, y));
        }
        Fill(b, {r.x, r.y + r.h - 1, r.w, 1}, t.Shadow);
    });
    s.Save("menubar.bmp", menuBar);
    s.Key("menuBar", "menubar.bmp");
    s.Key("TileMenu", 1);
    s.Key("TileLeftMenu", 2);
    s.Key("TileRightMenu", 2);
}

void CaptionButtons(TSkin& s) {
    const TTheme& t = s.T;
    const int ch = t.CaptionHeight;
    struct TButton {
        const char* Section;
        const char* File;
        int Glyph; // -1: the icon button
        int Action, Visibility, Visibility1;
    };
    const TButton buttons[] = {{"Button.Close", "btn_close.bmp", 0, 0, 0, 0},
                              {"Button.Maximize", "btn_max.bmp", 1, 1, 2, 6},
                              {"Button.Restore", "btn_restore.bmp", 2, 1, 1, 6},
                              {"Button.Minimize", "btn_min.bmp", 3, 2, 0, 8},
                              {"Button.Icon", "btn_icon.bmp", -1, 3, 0, 0}};
    int w = 18, h = 16, gap = 2;
    if (t.Style == TLook::Crystal) {
        w = 24;
        h = 18;
        gap = 1;
    } else if (t.Style == TLook::Brushed) {
        w = h = 14;
        gap = 6;
    }
    for (const TButton& button : buttons) {
        TBitmap image;
        if (button.Glyph < 0) {
            // The default window icon: a small television.
            image = Keyed(16, 16);
            RoundRect(
                image, {1, 2, 14, 10}, 2,
                [&](int, int y) { return Mix(Lighter(t.Accent, 0.4), t.Accent, (y - 2) / 10.0); },
                t.CaptionBottom);
            Fill(image, {3, 4, 10, 6}, MakeColour(200, 230, 255));
            Fill(image, {3, 4, 10, 2}, MakeColour(235, 246, 255));
            Fill(image, {6, 13, 4, 1}, t.Dark);
            Fill(image, {4, 14, 8, 1}, t.Dark);
        } else if (t.Style == TLook::Brushed) {
            // Round lights: red close, yellow minimise, green zoom.
            const TColor light = button.Glyph == 0   ? MakeColour(236, 84, 72)
                                 : button.Glyph == 3 ? MakeColour(244, 188, 46)
                                                     : MakeColour(88, 190, 66);
            image = Strip(4, w, h, [&](TBitmap& b, TRect r, int state) {
                TColor base = state == 4 ? MakeColour(206, 206, 206) : light;
                if (state == 2) base = Darker(base, 0.2);
                const double cx = r.x + r.w / 2.0, cy = r.y + r.h / 2.0, rad = r.w / 2.0 - 0.5;
                Disc(
                    b, cx, cy, rad,
                    [&](int, int y) {
                        return Mix(Lighter(base, 0.35), base, (y - r.y) / double(r.h));
                    },
                    t.CaptionTop);
                Ring(b, cx, cy, rad, 1, Darker(base, 0.3), t.CaptionTop);
                Disc(
                    b, cx, cy - rad * 0.45, rad * 0.45,
                    [&](int, int) { return Lighter(base, 0.55); }, t.CaptionTop);
                if (state == 2 || state == 3)
                    CaptionGlyph(b, r, button.Glyph == 2 ? 1 : button.Glyph, Darker(base, 0.6),
                                 base, 0.62);
            });
        } else {
            image = Strip(4, w, h, [&](TBitmap& b, TRect r, int state) {
                const int faceState = state == 2 ? 2 : state == 3 ? 4 : state == 4 ? 3 : 1;
                if (t.Style == TLook::Crystal) {
                    TTheme red = t;
                    if (button.Glyph == 0) red.Accent = MakeColour(214, 64, 48);
                    if (state == 4) red.Accent = Mix(red.Accent, t.CaptionInactiveBottom, 0.6);
                    Face(b, r, state == 4 ? 1 : faceState, red, 4);
                } else {
                    Face(b, r, state == 4 ? 1 : faceState, t);
                }
                const TColor glyph = t.Style == TLook::Crystal ? MakeColour(255, 255, 255)
                                     : state == 4             ? t.Shadow
                                                              : t.Text;
                CaptionGlyph(b, {r.x + (state == 2), r.y + (state == 2), r.w, r.h}, button.Glyph,
                             glyph, t.Style == TLook::Crystal ? t.Accent : t.Face);
            });
        }
        s.Save(button.File, image);
        s.Section(button.Section);
        s.Key("ButtonImage", button.File);
        s.Key("Action", button.Action);
        s.Key("Visibility", button.Visibility);
        s.Key("Visibility1", button.Visibility1);
        if (button.Glyph < 0) {
            s.Key("frame", 1);
            s.Key("Align", 0);
            s.Key("Xcoord", t.Style == TLook::Brushed ? 3 * (w + gap) + 10 : 6);
            s.Key("Ycoord", (ch - 16) / 2 + 1);
            continue;
        }
        s.Key("frame", 4);
        // Position from the right (classic, crystal) or the left (brushed).
        const int slot = button.Glyph == 0 ? 0 : button.Glyph == 3 ? 2 : 1;
        if (t.Style == TLook::Brushed) {
            const int order = button.Glyph == 0 ? 0 : button.Glyph == 3 ? 1 : 2;
            s.Key("Align", 0);
            s.Key("Xcoord", 9 + order * (w + gap));
        } else {
            s.Key("Align", 1);
            s.Key("Xcoord", t.BorderWidth + 2 + (slot + 1) * w + slot * gap);
        }
        s.Key("Ycoord", (ch - h) / 2 + 1);
    }

    // The child-window controls in a menu bar: minimise, restore, close,
    // four frames each.
    TBitmap mdi = Strip(12, 16, 14, [&](TBitmap& b, TRect r, int cell) {
        const int state = (cell - 1) % 4 + 1;
        const int glyph = (cell - 1) / 4 == 0 ? 3 : (cell - 1) / 4 == 1 ? 2 : 0;
        Face(b, r, state == 2 ? 2 : state == 3 ? 4 : state == 4 ? 3 : 1, t, 2);
        CaptionGlyph(b, r, glyph, GlyphColour(t, state == 4 ? 3 : 1),
                     t.Style == TLook::Crystal ? t.Accent : t.Face, 0.75);
    });
    s.Save("mdicontrols.bmp", mdi);
    s.Section("MDICONTROLS");
    s.Key("Image", "mdicontrols.bmp");
}

void Check(TBitmap& b, TRect r, int state, bool radio, const TTheme& t) {
    // Frames 1..4 unchecked (normal, hot, pressed, disabled), 5..8 checked.
    const bool checked = state > 4;
    const int look = (state - 1) % 4;
    const TColor well = look == 3 ? t.Face : look == 2 ? Darker(t.Light, 0.12) : t.Light;
    const TColor edge = look == 1 ? t.Accent : look == 3 ? t.Shadow : t.Dark;
    const TColor mark = look == 3 ? t.Shadow : t.Style == TLook::Classic ? t.Text : t.Accent;
    const double cx = r.x + r.w / 2.0, cy = r.y + r.h / 2.0;
    if (radio) {
        Disc(
            b, cx, cy, 6.2, [&](int, int) { return well; }, t.Face);
        Ring(b, cx, cy, 6.2, 1.1, edge, t.Face);
        if (checked)
            Disc(
                b, cx, cy, 2.6, [&](int, int) { return mark; }, well);
    } else {
        if (t.Style == TLook::Classic) {
            Fill(b, r, well);
            Bevel(b, r, t.Shadow, t.Light);
            Bevel(b, {r.x + 1, r.y + 1, r.w - 2, r.h - 2}, t.Dark, t.Face);
        } else {
            RoundRect(
                b, r, 2.5, [&](int, int) { return well; }, t.Face);
            RoundFrame(b, r, 2.5, edge, t.Face);
        }
        if (checked) {
            Line(b, r.x + 3, cy, r.x + 5.5, cy + 2.8, 1.8, mark, well);
            Line(b, r.x + 5.5, cy + 2.8, r.x + 10, cy - 3, 1.8, mark, well);
        }
    }
}

void Controls(TSkin& s) {
    const TTheme& t = s.T;
    auto save = [&](const char* file, const TBitmap& b) { s.Save(file, b); };
    auto face = [&](int faceState) {
        return [&t, faceState](TBitmap& b, TRect r, int state) {
            Face(b, r, faceState ? faceState : state, t);
        };
    };

    save("button.bmp", Strip(5, 24, 22, face(0)));
    save("checkbox.bmp",
         Strip(8, 13, 13, [&](TBitmap& b, TRect r, int st) { Check(b, r, st, false, t); }));
    save("radio.bmp",
         Strip(8, 13, 13, [&](TBitmap& b, TRect r, int st) { Check(b, r, st, true, t); }));
    s.Section("Buttons");
    s.Key("Bitmap", "button.bmp");
    s.Key("CheckButton", "checkbox.bmp");
    s.Key("RadioButton", "radio.bmp");
    s.Key("CheckButtonFrame", 8);
    s.Key("RadioButtonFrame", 8);
    s.Key("LeftWidth", 4);
    s.Key("RightWidth", 4);
    s.Key("TopHeight", 4);
    s.Key("BottomHeight", 4);
    s.Key("Trans", t.Style == TLook::Classic ? 0 : 1);
    s.Key("Tile", 0);
    const TColor buttonText = t.Style == TLook::Crystal ? MakeColour(255, 255, 255) : t.Text;
    s.Key("NormalColour2", Rgb(buttonText));
    s.Key("MouseOverColour2", Rgb(t.Style == TLook::Classic ? MakeColour(0, 0, 128) : buttonText));
    s.Key("PressedColour2", Rgb(buttonText));

    auto plain = [&](const char* section, const char* file, const TBitmap& b, int margin, int trans,
                     int tile) {
        save(file, b);
        s.Section(section);
        s.Key("Image", file);
        s.Key("LeftWidth", margin);
        s.Key("RightWidth", margin);
        s.Key("TopHeight", margin);
        s.Key("BottomHeight", margin);
        s.Key("Trans", trans);
        s.Key("Tile", tile);
    };
    const int roundTrans = t.Style == TLook::Classic ? 0 : 1;

    // Tool bar buttons: flat until hot or pressed.
    plain("Toolbars", "toolbar.bmp",
          Strip(5, 22, 22,
                [&](TBitmap& b, TRect r, int st) {
                    if (st == 1 || st == 3) {
                        Fill(b, r, t.Style == TLook::Crystal ? t.Face : t.Face);
                        return;
                    }
                    Face(b, r, st == 5 ? 4 : st, t);
                }),
          4, 0, 0);

    plain(
        "StatusBarEdges", "statusbar.bmp",
        Strip(
            3, 20, 20,
            [&](TBitmap& b, TRect r, int st) {
                if (t.Style == TLook::Crystal)
                    Gradient(b, r, t.Face, Darker(t.Face, 0.08));
                else
                    Fill(b, r, t.Face);
                if (st == 1) {
                    Fill(b, {r.x, r.y, r.w, 1}, t.Shadow);
                    Fill(b, {r.x, r.y + 1, r.w, 1}, t.Light);
                } else if (st == 2) {
                    Bevel(b, {r.x + 1, r.y + 2, r.w - 2, r.h - 3}, t.Shadow, t.Light);
                } else {
                    for (int i = 0; i < 3; ++i)
                        for (int j = 0; j <= i; ++j) {
                            Fill(b, {r.x + r.w - 4 - 4 * j, r.y + r.h - 12 + 4 * i, 2, 2},
                                 t.Shadow);
                            Fill(b, {r.x + r.w - 4 - 4 * j, r.y + r.h - 12 + 4 * i, 1, 1}, t.Light);
                        }
                }
            }),
        3, 0, 0);

    plain("SunkEdge", "sunkedge.bmp",
          Strip(4, 20, 20,
                [&](TBitmap& b, TRect r, int st) {
                    const TColor edge = st == 2 || st == 3 ? t.Accent : st == 4 ? t.Face : t.Shadow;
                    if (t.Style == TLook::Classic) {
                        Bevel(b, r, t.Shadow, t.Light);
                        Bevel(b, {r.x + 1, r.y + 1, r.w - 2, r.h - 2}, st == 3 ? t.Accent : t.Dark,
                              t.Face);
                    } else {
                        Frame(b, r, edge);
                        Frame(b, {r.x + 1, r.y + 1, r.w - 2, r.h - 2}, Lighter(edge, 0.7));
                    }
                }),
          2, 1, 0);

    plain("ExtraImages", "extra.bmp",
          Strip(5, 16, 16,
                [&](TBitmap& b, TRect r, int st) {
                    Fill(b, r, t.Face);
                    const TColor c = t.Style == TLook::Classic ? t.Dark : t.Accent;
                    switch (st) {
                    case 1: // size grip
                        for (int i = 0; i < 3; ++i)
                            Line(b, r.x + 15, r.y + 4 + 4 * i, r.x + 4 + 4 * i, r.y + 15, 1.2,
                                 t.Shadow, t.Face);
                        break;
                    case 2:
                        Arrow(b, r, 3, c, t.Face);
                        break;
                    case 3:
                        Arrow(b, r, 1, c, t.Face);
                        break;
                    case 4:
                        Disc(
                            b, r.x + 8, r.y + 8, 3, [&](int, int) { return c; }, t.Face);
                        break;
                    default:
                        CaptionGlyph(b, r, 0, c, t.Face, 0.7);
                    }
                }),
          0, 0, 0);

    plain("GroupBoxEdge", "groupedge.bmp",
          Strip(2, 20, 20,
                [&](TBitmap& b, TRect r, int st) {
                    const TColor line = st == 2 ? t.Face : t.Shadow;
                    if (t.Style == TLook::Classic) {
                        Frame(b, {r.x, r.y, r.w - 1, r.h - 1}, line);
                        Frame(b, {r.x + 1, r.y + 1, r.w - 1, r.h - 1}, t.Light);
                        Frame(b, {r.x, r.y, r.w - 1, r.h - 1}, line);
                        Fill(b, {r.x + 2, r.y + 2, r.w - 4, r.h - 4}, kColourKey);
                    } else {
                        RoundFrame(b, r, 4,
                                   t.Style == TLook::Crystal ? Mix(t.Accent, t.Face, 0.5) : line,
                                   t.Face);
                    }
                }),
          5, 1, 0);
    s.Key("Style", 0);

    plain("GroupBox", "grouplabel.bmp",
          Strip(1, 40, 18,
                [&](TBitmap& b, TRect r, int) {
                    if (t.Style == TLook::Classic) {
                        Fill(b, r, t.Face);
                        return;
                    }
                    const TColor band = t.Style == TLook::Crystal ? Lighter(t.Accent, 0.7)
                                                                 : MakeColour(244, 244, 244);
                    RoundRect(
                        b, r, 8, [&](int, int) { return band; }, t.Face);
                    RoundFrame(b, r, 8,
                               t.Style == TLook::Crystal ? Lighter(t.Accent, 0.3) : t.Shadow,
                               t.Face);
                }),
          8, roundTrans, 0);
    s.Key("BackgroundAlignment", 0);
    s.Key("BackgroundLeftShift", 6);
    s.Key("BackgroundRightShift", 6);

    plain("Headerbar", "header.bmp",
          Strip(5, 30, 20,
                [&](TBitmap& b, TRect r, int st) {
                    if (t.Style == TLook::Classic) {
                        Face(b, r, st == 5 ? 1 : st, t);
                        return;
                    }
                    const TColor top = st == 4 ? MakeColour(255, 255, 255) : Lighter(t.Face, 0.6);
                    const TColor bottom = st == 2 ? Darker(t.Face, 0.15) : t.Face;
                    Gradient(b, r, top, bottom);
                    Fill(b, {r.x, r.y + r.h - 1, r.w, 1}, t.Shadow);
                    Fill(b, {r.x + r.w - 1, r.y + 3, 1, r.h - 6}, t.Shadow);
                    if (st == 4 && t.Style == TLook::Crystal)
                        Fill(b, {r.x, r.y + r.h - 3, r.w, 2}, Lighter(t.Accent, 0.2));
                }),
          3, 0, 0);
    s.Key("Frame", 4); // ignored: a header always has five

    // Tabs: five states with rounded tops; the page border second.
    save("tabborder.bmp", [&] {
        TBitmap b(40, 40);
        Fill(b, {0, 0, 40, 40}, t.Style == TLook::Brushed ? MakeColour(238, 238, 238) : t.Face);
        Bevel(b, {0, 0, 40, 40}, t.Style == TLook::Classic ? t.Light : t.Shadow, t.Dark);
        if (t.Style == TLook::Classic) Bevel(b, {1, 1, 38, 38}, t.Face, t.Shadow);
        Fill(b, {2, 2, 36, 36}, kColourKey);
        return b;
    }());
    plain("Tabs", "tab.bmp",
          Strip(5, 40, 22,
                [&](TBitmap& b, TRect r, int st) {
                    const bool selected = st == 2;
                    const TColor top = selected  ? t.Light
                                       : st == 4 ? Lighter(t.Face, 0.5)
                                                 : Lighter(t.Face, 0.2);
                    const TColor bottom = selected ? t.Face : Darker(t.Face, st == 3 ? 0.02 : 0.06);
                    RoundRect(
                        b, {r.x, r.y, r.w, r.h + 4}, t.Style == TLook::Classic ? 1.5 : 4,
                        [&](int, int y) { return Mix(top, bottom, double(y - r.y) / r.h); },
                        t.Face);
                    RoundFrame(b, {r.x, r.y, r.w, r.h + 4}, t.Style == TLook::Classic ? 1.5 : 4,
                               t.Style == TLook::Classic ? t.Dark : t.Shadow, t.Face);
                    if (selected && t.Style == TLook::Crystal)
                        Fill(b, {r.x + 3, r.y + 1, r.w - 6, 2}, t.Accent);
                    if (!selected)
                        Fill(b, {r.x, r.y + r.h - 1, r.w, 1},
                             t.Style == TLook::Classic ? t.Light : t.Shadow);
                }),
          5, roundTrans, 0);
    s.Key("Border", "tabborder.bmp");

    // Progress: trough and chunk.
    save("progress.bmp", Strip(2, 30, 16, [&](TBitmap& b, TRect r, int) {
             if (t.Style == TLook::Classic) {
                 Fill(b, r, t.Face);
                 Bevel(b, r, t.Shadow, t.Light);
                 return;
             }
             RoundRect(
                 b, r, 4,
                 [&](int, int y) {
                     return Mix(Darker(t.Face, 0.1), t.Light, double(y - r.y) / r.h);
                 },
                 t.Face);
             RoundFrame(b, r, 4, t.Shadow, t.Face);
         }));
    save("chunk.bmp", [&] {
        TBitmap b = Keyed(10, 12);
        if (t.Style == TLook::Classic) {
            Fill(b, {0, 0, 8, 12}, MakeColour(10, 36, 106));
            Fill(b, {8, 0, 2, 12}, t.Face);
        } else {
            TTheme chunk = t;
            Face(b, {0, 0, 10, 12}, 1, chunk, 2);
        }
        return b;
    }());
    s.Section("Progress");
    s.Key("Bitmap", "progress.bmp");
    s.Key("Chunk", "chunk.bmp");
    s.Key("LeftWidth", 4);
    s.Key("RightWidth", 4);
    s.Key("TopHeight", 4);
    s.Key("BottomHeight", 4);
    s.Key("Trans", roundTrans);
    s.Key("Tile", 1);
    s.Key("Style", 0);

    // Combo drop button: normal, hot, pressed, disabled.
    plain("ComboButton", "combo.bmp",
          Strip(4, 17, 20,
                [&](TBitmap& b, TRect r, int st) {
                    const int faceState = st == 2 ? 4 : st == 3 ? 2 : st == 4 ? 3 : 1;
                    Face(b, r, faceState, t, 3);
                    Arrow(b, r, 3, GlyphColour(t, faceState),
                          t.Style == TLook::Crystal ? t.Accent : t.Face);
                }),
          3, roundTrans, 0);

    // Up-down: faces and their arrow glyphs, eight states each.
    auto upDown = [&](const char* section, const char* file, const char* glyphFile, int first) {
        save(glyphFile, Strip(8, 16, 16, [&](TBitmap& b, TRect r, int st) {
                 Arrow(b, r, st <= 4 ? first : first + 1, GlyphColour(t, (st - 1) % 4 == 3 ? 3 : 1),
                       t.Style == TLook::Crystal ? t.Accent : t.Face);
             }));
        plain(section, file,
              Strip(8, 16, 16,
                    [&](TBitmap& b, TRect r, int st) {
                        const int look = (st - 1) % 4;
                        Face(b, r, look == 1 ? 4 : look == 2 ? 2 : look == 3 ? 3 : 1, t, 2);
                    }),
              3, roundTrans, 0);
        s.Key("GlyphImage", glyphFile);
    };
    upDown("UpDown.Horz", "updownh.bmp", "updownh_glyph.bmp", 0);
    upDown("UpDown.Vert", "updownv.bmp", "updownv_glyph.bmp", 2);

    // Menus.
    plain("MenuItem", "menuitem.bmp",
          Strip(5, 40, 20,
                [&](TBitmap& b, TRect r, int st) {
                    Fill(b, r, t.MenuColour);
                    if (st == 2) { // its bottom rows draw the separator
                        Fill(b, {r.x + 2, r.y + r.h - 5, r.w - 4, 1}, t.Shadow);
                        Fill(b, {r.x + 2, r.y + r.h - 4, r.w - 4, 1}, t.Light);
                    } else if (st >= 4) {
                        if (t.Style == TLook::Classic)
                            Fill(b, r, MakeColour(10, 36, 106));
                        else
                            Face(b, {r.x + 1, r.y, r.w - 2, r.h}, t.Style == TLook::Brushed ? 5 : 4,
                                 t, 3);
                    }
                }),
          4, 0, 0);
    plain("MenuBackground", "menuback.bmp",
          Strip(1, 40, 40,
                [&](TBitmap& b, TRect r, int) {
                    Fill(b, r, t.MenuColour);
                    if (t.Style == TLook::Classic) {
                        Bevel(b, r, t.Face, t.Dark);
                        Bevel(b, {r.x + 1, r.y + 1, r.w - 2, r.h - 2}, t.Light, t.Shadow);
                    } else {
                        Frame(b, r, t.Shadow);
                        if (t.Style == TLook::Crystal)
                            Fill(b, {r.x + 1, r.y + 1, 22, r.h - 2}, Lighter(t.Accent, 0.85));
                    }
                }),
          3, 0, 0);

    // Scroll bars: 23 arrow cells, tracks and thumbs.
    plain("Scrollbar", "scrollarrows.bmp",
          Strip(23, 16, 16,
                [&](TBitmap& b, TRect r, int cell) {
                    if (cell > 16) {
                        Face(b, r, cell == 17 ? 1 : (cell - 17) % 5 + 1, t, 2);
                        return;
                    }
                    const int direction = (cell - 1) / 4, look = (cell - 1) % 4;
                    const int faceState = look == 1 ? 2 : look == 2 ? 4 : look == 3 ? 3 : 1;
                    Face(b, r, faceState, t, 2);
                    Arrow(b, {r.x + (look == 1), r.y + (look == 1), r.w, r.h}, direction,
                          GlyphColour(t, faceState), t.Style == TLook::Crystal ? t.Accent : t.Face);
                }),
          0, roundTrans, 0);
    auto track = [&](bool sideways) {
        return Strip(4, 16, 16, [&, sideways](TBitmap& b, TRect r, int st) {
            const TColor base = st == 3   ? Darker(t.Face, 0.15)
                                : st == 2 ? Lighter(t.Face, 0.3)
                                          : t.Face;
            if (t.Style == TLook::Classic) {
                for (int y = r.y; y < r.y + r.h; ++y)
                    for (int x = r.x; x < r.x + r.w; ++x)
                        b.SetPixel(x, y, (x + y) % 2 ? t.Light : base);
                return;
            }
            Gradient(b, r, Darker(base, 0.08), Lighter(base, 0.5), sideways);
        });
    };
    plain("HorzScroll", "hscroll.bmp", track(false), 2, 0, 1);
    plain("VertScroll", "vscroll.bmp", track(true), 2, 0, 1);
    auto thumb = [&](int w, int h, bool vertical) {
        return Strip(3, w, h, [&, vertical](TBitmap& b, TRect r, int st) {
            Face(b, r, st == 2 ? 2 : st == 3 ? 4 : 1, t, t.Style == TLook::Brushed ? 6 : 3);
            const TColor grip = t.Style == TLook::Crystal ? Lighter(t.Accent, 0.6) : t.Shadow;
            for (int i = -1; i <= 1; ++i) {
                if (vertical)
                    Fill(b, {r.x + 4, r.y + r.h / 2 + 2 * i, r.w - 8, 1}, grip);
                else
                    Fill(b, {r.x + r.w / 2 + 2 * i, r.y + 4, 1, r.h - 8}, grip);
            }
        });
    };
    plain("HorzScrollThumb", "hthumb.bmp", thumb(24, 16, false), 5, roundTrans, 0);
    s.Key("FrameCount", 3);
    plain("VertScrollThumb", "vthumb.bmp", thumb(16, 24, true), 5, roundTrans, 0);
    s.Key("FrameCount", 3);

    // Track bar thumbs: five states each.
    const struct {
        const char* Section;
        const char* File;
        int W, H, Point; // Point: -1 none, else the arrow direction
    } thumbs[] = {{"Trackbar.ThumbHorz", "tb_horz.bmp", 11, 20, -1},
                  {"Trackbar.ThumbVert", "tb_vert.bmp", 20, 11, -1},
                  {"Trackbar.ThumbLeft", "tb_left.bmp", 20, 11, 0},
                  {"Trackbar.ThumbRight", "tb_right.bmp", 20, 11, 1},
                  {"Trackbar.ThumbUp", "tb_up.bmp", 11, 20, 2},
                  {"Trackbar.ThumbDown", "tb_down.bmp", 11, 20, 3}};
    for (const auto& th : thumbs)
        plain(th.Section, th.File,
              Strip(5, th.W, th.H,
                    [&](TBitmap& b, TRect r, int st) {
                        const int faceState = st == 5 ? 1 : st;
                        Face(b, r, faceState, t, 2.5);
                        if (th.Point >= 0)
                            Arrow(b, r, th.Point, GlyphColour(t, faceState),
                                  t.Style == TLook::Crystal ? t.Accent : t.Face);
                    }),
              0, 1, 0);
}

void Colours(TSkin& s) {
    const TTheme& t = s.T;
    s.Section("Colours");
    const TColor selection = t.Style == TLook::Classic ? MakeColour(10, 36, 106) : t.Accent;
    s.Key("WindowText", Rgb(t.Text));
    s.Key("ButtonFace", Rgb(t.Face));
    s.Key("Scrollbar", Rgb(Lighter(t.Face, 0.4)));
    s.Key("HilightText", Rgb(MakeColour(255, 255, 255)));
    s.Key("Hilight", Rgb(selection));
    s.Key("Menubar", Rgb(t.Face));
    s.Key("Menu", Rgb(t.MenuColour));
    s.Key("MenuText", Rgb(t.Text));
    s.Key("ButtonText", Rgb(t.Text));
    s.Key("ButtonHilight", Rgb(t.Light));
    s.Key("Buttonlight", Rgb(Lighter(t.Face, 0.5)));
    s.Key("ButtonShadow", Rgb(t.Shadow));
    s.Key("ButtonDkShadow", Rgb(t.Dark));
    s.Key("MenuBarText", Rgb(t.Text));
    s.Key("TitleTextActive", Rgb(t.TitleText));
    s.Key("TitleTextNoActive", Rgb(t.TitleTextInactive));
    s.Section("Fonts");
    s.Key("FontHeight", 12);
}

void WriteSkin(const TTheme& t, const std::filesystem::path& root) {
    TSkin s{t, root / "skins" / t.Folder, {}};
    std::filesystem::remove_all(s.Dir);
    std::filesystem::create_directories(s.Dir);
    s.Ini = "; Drawn by tools/gen_skins; edit the generator, not this file.\r\n";
    s.Section("TitlebarSkin");
    s.Key("SkinName", t.SkinName);
    Borders(s);
    CaptionButtons(s);
    Controls(s);
    Colours(s);
    qh::TFileStream ini((s.Dir / "skin.ini").string(), qh::TFileMode::fmCreate);
    ini.WriteBuffer(s.Ini.data(), static_cast<int64_t>(s.Ini.size()));
}

// The menu glyphs as a 1-bit bitmap file: black glyphs on white, which is
// the see-through colour. Left to right: restore, maximise, minimise, close.
void WriteMenuGlyphs(const std::filesystem::path& root) {
    TBitmap glyphs(64, 16);
    glyphs.Fill(MakeColour(255, 255, 255));
    const TColor black = MakeColour(0, 0, 0);
    // Restore: two overlapping windows.
    Frame(glyphs, {6, 3, 7, 6}, black);
    Fill(glyphs, {6, 4, 7, 1}, black);
    Fill(glyphs, {3, 6, 7, 6}, MakeColour(255, 255, 255));
    Frame(glyphs, {3, 6, 7, 6}, black);
    Fill(glyphs, {3, 7, 7, 1}, black);
    // Maximise.
    Frame(glyphs, {16 + 3, 3, 10, 9}, black);
    Fill(glyphs, {16 + 3, 4, 10, 1}, black);
    // Minimise.
    Fill(glyphs, {32 + 4, 10, 7, 2}, black);
    // Close.
    for (int i = 0; i < 8; ++i) {
        Fill(glyphs, {48 + 4 + i, 4 + i, 2, 1}, black);
        Fill(glyphs, {48 + 11 - i, 4 + i, 2, 1}, black);
    }
    std::vector<uint8_t> d;
    auto u16 = [&](uint32_t v) {
        d.push_back(v & 255);
        d.push_back((v >> 8) & 255);
    };
    auto u32 = [&](uint32_t v) {
        u16(v & 0xFFFF);
        u16(v >> 16);
    };
    const uint32_t rowBytes = 8, offset = 14 + 40 + 8;
    d.push_back('B');
    d.push_back('M');
    u32(offset + rowBytes * 16);
    u32(0);
    u32(offset);
    u32(40);
    u32(64);
    u32(16);
    u16(1);
    u16(1);
    u32(0);
    u32(rowBytes * 16);
    u32(2835);
    u32(2835);
    u32(2);
    u32(2);
    u32(0x000000); // index 0 black
    u32(0xFFFFFF); // index 1 white
    for (int y = 15; y >= 0; --y)
        for (int byte = 0; byte < 8; ++byte) {
            uint8_t bits = 0;
            for (int bit = 0; bit < 8; ++bit)
                if (glyphs.GetPixel(byte * 8 + bit, y) != black)
                    bits |= static_cast<uint8_t>(0x80 >> bit);
            d.push_back(bits);
        }
    std::filesystem::create_directories(root / "menu");
    qh::TFileStream file((root / "menu" / "lacquermenu.bmp").string(), qh::TFileMode::fmCreate);
    file.WriteBuffer(d.data(), static_cast<int64_t>(d.size()));
}

} // namespace

int main(int argc, char** argv) {
    const std::filesystem::path root = argc > 1 ? argv[1] : "resources";
    try {
        for (const TTheme& theme : kThemes)
            WriteSkin(theme, root);
        WriteMenuGlyphs(root);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "gen_skins: %s\n", e.what());
        return 1;
    }
    return 0;
}
