#include "skin/data/skin_parts.h"

#include <algorithm>

#include "core/text.h"
#include "images/bitmap_convert.h"

namespace qh {

TSkinParts::TSkinParts()
    : Title(std::make_unique<TDataSkinTitle>("Title")),
      Button(std::make_unique<TDataSkinButton>("Buttons")),
      BorderLeft(std::make_unique<TDataSkinBorder>("Left")),
      BorderRight(std::make_unique<TDataSkinBorder>("Right")),
      BorderTop(std::make_unique<TDataSkinBorder>("Top")),
      BorderBottom(std::make_unique<TDataSkinBorder>("Bottom")) {}

TSkinParts::~TSkinParts() = default;

int32_t TSkinParts::ReadColour(const std::string& text, int32_t fallback) {
    if (text.empty()) return fallback;
    const std::string trimmed = Trim(text);
    int32_t components[3] = {0, 0, 0};
    int current = 1;
    std::string run;
    for (char c : trimmed) {
        if (c >= '0' && c <= '9') {
            run += c;
            continue;
        }
        if (run.empty()) continue;
        int32_t value = 0;
        if (TryStrToInt(run, value)) {
            if (current <= 3) components[current - 1] = value;
            ++current;
        }
        run.clear();
    }
    if (current == 3 && !run.empty()) {
        int32_t value = 0;
        if (TryStrToInt(run, value)) components[2] = value;
    }
    auto byte = [](int32_t v) { return static_cast<int32_t>(static_cast<uint32_t>(v) % 256); };
    return byte(components[0]) + byte(components[1]) * 256 + byte(components[2]) * 65536;
}

void TSkinParts::LoadMemberBitmap(TBitmap& bitmap, const std::string& value) {
    const size_t slash = value.find_last_of("\\/:");
    const std::string name = slash == std::string::npos ? value : value.substr(slash + 1);
    const size_t dot = value.find_last_of('.');
    const std::string extension = dot == std::string::npos ? std::string() : value.substr(dot);
    if (name.empty() || extension != ".bmp" || FReader == nullptr) {
        bitmap.Clear();
        return;
    }
    FReader->ExtractMember(name, FMember);
    if (FMember.Size() == 0) {
        bitmap.Clear();
        return;
    }
    FMember.SetPosition(0);
    bitmap.LoadFromStream(FMember);
}

void TSkinParts::ParseSkin(const TQuickIni& ini, const TSkinReader& reader) {
    ++Generation;
    FReader = &reader;
    struct TReaderReset {
        const TSkinReader*& reader;
        TMemoryStream& member;
        ~TReaderReset() {
            reader = nullptr;
            member.Clear();
        }
    } reset{FReader, FMember};

    TStringList sections;
    ini.ReadSections(sections);
    SkinName = ini.ReadString("TitlebarSkin", "SkinName", std::string());

    ParseBorders(ini);
    ParseColours(ini, sections);
    ParseCaptionButtons(ini, sections);
    ParseButton(ini);
    ParseTitle(ini);

    ParseSecondImage(Progress, ini, "Progress", "Chunk");

    MenuBar.reset();
    const std::string menuBar = ini.ReadString("Personality", "menuBar", std::string());
    if (!menuBar.empty()) {
        MenuBar = std::make_unique<TDataSkinObject>("Personality");
        MenuBar->NormalColour = MenuBar->MouseOverColour = MenuBar->PressedColour = 0;
        LoadMemberBitmap(MenuBar->Image, menuBar);
        MenuBar->Tile = ini.ReadInteger("Personality", "TileMenu", 0);
        MenuBar->LeftWidth = ini.ReadInteger("Personality", "TileLeftMenu", 1);
        MenuBar->RightWidth = ini.ReadInteger("Personality", "TileRightMenu", 1);
    }

    ParsePlain(GroupBoxEdge, ini, "GroupBoxEdge", true);
    ParsePlain(GroupBox, ini, "GroupBox", true);
    if (GroupBox) {
        GroupBox->BackgroundAlignment = ini.ReadInteger("GroupBox", "BackgroundAlignment", 0);
        GroupBox->BackgroundLeftShift = ini.ReadInteger("GroupBox", "BackgroundLeftShift", 0);
        GroupBox->BackgroundRightShift = ini.ReadInteger("GroupBox", "BackgroundRightShift", 0);
    }
    ParsePlain(Toolbar, ini, "Toolbars", true);
    ParseSecondImage(Tab, ini, "Tabs", "Border");
    ParsePlain(StatusBar, ini, "StatusBarEdges", true);
    // No skin names the second combo image; it is the first one mirrored.
    ParseSecondImage(ComboButton, ini, "ComboButton", "****");
    if (ComboButton && !ComboButton->Image.Empty()) {
        ComboButton->Image2 = ComboButton->Image;
        ComboButton->Image2.SetPixelFormat(TPixelFormat::pf24bit);
        MirrorBitmap(ComboButton->Image2);
    }

    ParsePlain(SunkEdge, ini, "SunkEdge", true);
    ParsePlain(ExtraImages, ini, "ExtraImages", true);
    ParsePlain(Header, ini, "Headerbar", true);
    ParsePlain(MenuItem, ini, "MenuItem", true);
    ParsePlain(MenuBackground, ini, "MenuBackground", true);
    ParsePlain(ScrollArrows, ini, "Scrollbar", true);
    ParsePlain(HorzScroll, ini, "HorzScroll", true);
    ParsePlain(VertScroll, ini, "VertScroll", true);
    ParsePlain(HorzScrollThumb, ini, "HorzScrollThumb", true);
    ParsePlain(VertScrollThumb, ini, "VertScrollThumb", true);
    ParsePlain(ThumbHorz, ini, "Trackbar.ThumbHorz", true);
    ParsePlain(ThumbVert, ini, "Trackbar.ThumbVert", true);
    ParsePlain(ThumbLeft, ini, "Trackbar.ThumbLeft", true);
    ParsePlain(ThumbRight, ini, "Trackbar.ThumbRight", true);
    ParsePlain(ThumbUp, ini, "Trackbar.ThumbUp", true);
    ParsePlain(ThumbDown, ini, "Trackbar.ThumbDown", true);
    ParseSecondImage(UpDownHorz, ini, "UpDown.Horz", "GlyphImage");
    ParseSecondImage(UpDownVert, ini, "UpDown.Vert", "GlyphImage");

    SetFrameCounts(ini);

    FaceBrush = std::make_unique<TFaceBrush>(Colours.ButtonFace);
    SkinEmpty = false;
}

void TSkinParts::ParseBorders(const TQuickIni& ini) {
    const struct {
        const char* Key;
        TDataSkinBorder* Part;
        bool Vertical; // the left and right borders
    } borders[] = {{"Left", BorderLeft.get(), true},
                   {"Right", BorderRight.get(), true},
                   {"Top", BorderTop.get(), false},
                   {"Bottom", BorderBottom.get(), false}};
    for (const auto& b : borders) {
        const std::string key = b.Key;
        const int32_t first = ini.ReadInteger("Personality", key + "TopHeight", 0);
        const int32_t second = ini.ReadInteger("Personality", key + "BotHeight", 0);
        if (b.Vertical) {
            b.Part->TopHeight = first;
            b.Part->BottomHeight = second;
            b.Part->LeftWidth = b.Part->RightWidth = 0;
        } else {
            b.Part->LeftWidth = first;
            b.Part->RightWidth = second;
            b.Part->TopHeight = b.Part->BottomHeight = 0;
        }
        b.Part->Frame = ini.ReadInteger("Personality", key + "Frame", 1);
        b.Part->Tile = ini.ReadInteger("Personality", key + "Stretch", 1);
        b.Part->Trans = ini.ReadInteger("Personality", key + "Trans", 1);
        LoadMemberBitmap(b.Part->Image, ini.ReadString("Personality", key, std::string()));
    }
}

void TSkinParts::ParseColours(const TQuickIni& ini, const TStringList& sections) {
    for (const auto& entry : kSkinColourKeys) {
        const int32_t fallback =
            entry.Field == &TSkinColours::Menubar ? Colours.ButtonFace : entry.Default;
        Colours.*entry.Field =
            ReadColour(ini.ReadString("Colours", entry.Key, std::string()), fallback);
    }
    CustomColours.clear();
    for (const std::string& section : sections.Items()) {
        const std::string upper = UpperCase(section);
        if (upper.rfind("COLOUR", 0) == 0 && upper != "COLOURS")
            CustomColours.push_back(
                ReadColour(ini.ReadString(section, "color", std::string()), SystemColour(8)));
    }
}

void TSkinParts::ParseCaptionButtons(const TQuickIni& ini, const TStringList& sections) {
    SysButtons.clear();
    std::vector<std::string> kept;
    for (const std::string& section : sections.Items()) {
        const std::string upper = UpperCase(section);
        if (upper.rfind("BUTTON", 0) != 0 || upper == "BUTTONS" || upper == "BUTTON.RADIO" ||
            upper == "BUTTON.CHECKBOX" || upper == "BUTTON")
            continue;
        if (ini.ReadInteger(section, "Action", 0) == -1 &&
            ini.ReadInteger(section, "Visibility", -1) != 0)
            continue;
        kept.push_back(section);
    }
    SysButtons.reserve(kept.size() + 3);
    for (const std::string& section : kept) {
        auto button = std::make_unique<TDataSkinSysButton>(UpperCase(section));
        button->Action = ini.ReadInteger(section, "Action", 0);
        button->Align = ini.ReadInteger(section, "Align", 0);
        button->XCoord = ini.ReadInteger(section, "Xcoord", 0);
        button->YCoord = ini.ReadInteger(section, "Ycoord", 0);
        button->Visibility = ini.ReadInteger(section, "Visibility", 0);
        button->Visibility1 =
            ini.ReadInteger(section, "Visibility1", button->Action == -1 ? -1 : 0);
        button->CombineOp = ini.ReadInteger(section, "CombineOp", -1);
        button->Frame = ini.ReadInteger(section, "frame", 0);
        SysButtons.push_back(std::move(button));
        // Pushed before loading, so a damaged image leaves no leak and the
        // entry is freed with the list.
        LoadMemberBitmap(SysButtons.back()->Image,
                         ini.ReadString(section, "ButtonImage", std::string()));
        TDataSkinSysButton& entry = *SysButtons.back();
        if (entry.Frame == 0) {
            entry.Frame = 6;
            if (!entry.Image.Empty()) {
                const double ratio =
                    static_cast<double>(entry.Image.Width()) / entry.Image.Height();
                entry.Frame = ratio <= 3.8 ? 3 : 6;
                if (entry.Action < 0) entry.Frame = 6;
            }
            if (entry.Action == 3 || entry.Action == 11) entry.Image.Clear();
        }
    }
    // The minimise, restore and close controls of a maximised child window.
    const size_t firstChildControl = SysButtons.size();
    for (int action : {7, 8, 9}) {
        auto button = std::make_unique<TDataSkinSysButton>("MDICONTROLS");
        button->Action = action;
        button->Align = 100;
        button->Visibility = 100;
        button->Visibility1 = 100;
        button->Frame = 4;
        SysButtons.push_back(std::move(button));
    }
    TBitmap controls;
    LoadMemberBitmap(controls, ini.ReadString("MDICONTROLS", "Image", std::string()));
    if (controls.Empty()) return;
    const int cell = controls.Width() / 12;
    for (int i = 0; i < 3; ++i) {
        TDataSkinSysButton& entry = *SysButtons[firstChildControl + i];
        if (cell > 0) {
            entry.Image.SetSize(cell * 4, controls.Height());
            entry.Image.CopyRect(0, 0, controls, 4 * cell * i, 0, 4 * cell, controls.Height());
        } else {
            entry.Image.Clear();
        }
        entry.XCoord = (cell + 4) * (3 - i);
    }
}

void TSkinParts::ParseButton(const TQuickIni& ini) {
    TDataSkinButton& b = *Button;
    const char* s = "Buttons";
    b.LeftWidth = ini.ReadInteger(s, "LeftWidth", 0);
    b.RightWidth = ini.ReadInteger(s, "RightWidth", 0);
    b.TopHeight = ini.ReadInteger(s, "TopHeight", 0);
    b.BottomHeight = ini.ReadInteger(s, "BottomHeight", 0);
    b.Trans = ini.ReadInteger(s, "Trans", 0);
    b.Tile = ini.ReadInteger(s, "Tile", 0);
    LoadMemberBitmap(b.Image, ini.ReadString(s, "Bitmap", std::string()));
    LoadMemberBitmap(b.CheckImage, ini.ReadString(s, "CheckButton", std::string()));
    LoadMemberBitmap(b.RadioImage, ini.ReadString(s, "RadioButton", std::string()));
    b.NormalColour = ini.ReadInteger(s, "NormalColour", kNoColour);
    b.MouseOverColour = ini.ReadInteger(s, "MouseOverColour", kNoColour);
    b.PressedColour = ini.ReadInteger(s, "PressedColour", kNoColour);
    b.RadioButtonFrame = ini.ReadInteger(s, "RadioButtonFrame", 0);
    b.CheckButtonFrame = ini.ReadInteger(s, "CheckButtonFrame", 0);
    const std::string normal2 = ini.ReadString(s, "NormalColour2", std::string());
    const std::string over2 = ini.ReadString(s, "MouseOverColour2", std::string());
    const std::string pressed2 = ini.ReadString(s, "PressedColour2", std::string());
    b.HasNormalColour2 = !normal2.empty();
    b.HasMouseOverColour2 = !over2.empty();
    b.HasPressedColour2 = !pressed2.empty();
    b.NormalColour2 = ReadColour(normal2, Colours.ButtonText);
    b.MouseOverColour2 = ReadColour(over2, Colours.ButtonText);
    b.PressedColour2 = ReadColour(pressed2, Colours.ButtonText);
}

void TSkinParts::ParseTitle(const TQuickIni& ini) {
    TDataSkinTitle& t = *Title;
    const char* s = "Personality";
    LoadMemberBitmap(t.Image, ini.ReadString(s, "TextBack", std::string()));
    t.LeftWidth = ini.ReadInteger(s, "TextShift", 0);
    t.TopHeight = ini.ReadInteger(s, "TextShiftVert", 0);
    t.RightWidth = ini.ReadInteger(s, "TextRightClip", 0);
    t.BottomHeight = 0;
    t.TextAlignment = ini.ReadInteger(s, "TextAlignment", 0);
    t.Textbackground = ini.ReadInteger(s, "Textbackground", 0);
    t.TXTBackleft = ini.ReadInteger(s, "TXTBackleft", 0);
    t.TXTBackRight = ini.ReadInteger(s, "TXTBackRight", 0);
    t.FontHeight = ini.ReadInteger("Fonts", "FontHeight", 14);
    auto textColour = [&](const char* prefix) {
        const std::string p = prefix;
        const int32_t r = ini.ReadInteger(s, p + "R", -1);
        const int32_t g = ini.ReadInteger(s, p + "G", -1);
        const int32_t b = ini.ReadInteger(s, p + "B", -1);
        if (r < 0 || g < 0 || b < 0) return kNoTitleColour;
        return static_cast<int32_t>(MakeColour(r % 256, g % 256, b % 256));
    };
    t.ActiveTextColour = textColour("ActiveText");
    t.InActiveTextColour = textColour("InActiveText");
}

void TSkinParts::ReadCommon(TDataSkinObject& part, const TQuickIni& ini, const char* section,
                            bool withStyle) {
    if (withStyle) part.Style = ini.ReadInteger(section, "Style", 0);
    part.LeftWidth = ini.ReadInteger(section, "LeftWidth", 0);
    part.RightWidth = ini.ReadInteger(section, "RightWidth", 0);
    part.TopHeight = ini.ReadInteger(section, "TopHeight", 0);
    part.BottomHeight = ini.ReadInteger(section, "BottomHeight", 0);
    part.Trans = ini.ReadInteger(section, "Trans", 0);
    part.Tile = ini.ReadInteger(section, "Tile", 0);
    if (part.Tile > 1) part.Tile = 0;
    part.NormalColour = ini.ReadInteger(section, "NormalColour", kNoColour);
    part.MouseOverColour = ini.ReadInteger(section, "MouseOverColour", kNoColour);
    part.PressedColour = ini.ReadInteger(section, "PressedColour", kNoColour);
    part.NormalColour2 =
        ReadColour(ini.ReadString(section, "NormalColour2", std::string()), Colours.ButtonText);
    part.MouseOverColour2 =
        ReadColour(ini.ReadString(section, "MouseOverColour2", std::string()), Colours.ButtonText);
    part.PressedColour2 =
        ReadColour(ini.ReadString(section, "PressedColour2", std::string()), Colours.ButtonText);
}

template <typename Part>
void TSkinParts::ParsePlain(std::unique_ptr<Part>& part, const TQuickIni& ini, const char* section,
                            bool withStyle) {
    part.reset();
    const std::string image = ini.ReadString(section, "Image", std::string());
    if (image.empty()) return;
    part = std::make_unique<Part>(section);
    LoadMemberBitmap(part->Image, image);
    ReadCommon(*part, ini, section, withStyle);
}

void TSkinParts::ParseSecondImage(std::unique_ptr<TDataSkinBorder>& part, const TQuickIni& ini,
                                  const char* section, const char* secondKey) {
    // The progress bar names its images Bitmap and Chunk and reads no colours.
    const bool progress = std::string_view(section) == "Progress";
    part.reset();
    const std::string image = ini.ReadString(section, progress ? "Bitmap" : "Image", std::string());
    if (image.empty()) return;
    part = std::make_unique<TDataSkinBorder>(section);
    LoadMemberBitmap(part->Image, image);
    const std::string second = ini.ReadString(section, secondKey, std::string());
    if (!second.empty()) LoadMemberBitmap(part->Image2, second);
    if (progress) {
        part->Style = ini.ReadInteger(section, "Style", 0);
        part->LeftWidth = ini.ReadInteger(section, "LeftWidth", 0);
        part->RightWidth = ini.ReadInteger(section, "RightWidth", 0);
        part->TopHeight = ini.ReadInteger(section, "TopHeight", 0);
        part->BottomHeight = ini.ReadInteger(section, "BottomHeight", 0);
        part->Trans = ini.ReadInteger(section, "Trans", 0);
        part->Tile = ini.ReadInteger(section, "Tile", 0);
    } else {
        ReadCommon(*part, ini, section, false);
    }
}

void TSkinParts::SetFrameCounts(const TQuickIni& ini) {
    auto set = [](auto& part, int32_t frame) {
        if (part) part->Frame = frame;
    };
    set(ScrollArrows, 23);
    set(UpDownHorz, 8);
    set(UpDownVert, 8);
    for (auto* p : {&Toolbar, &ExtraImages, &Header, &MenuItem, &ThumbHorz, &ThumbVert, &ThumbLeft,
                    &ThumbRight, &ThumbUp, &ThumbDown})
        set(*p, 5);
    Button->Frame = 5;
    set(Tab, 5);
    set(ComboButton, 4);
    set(SunkEdge, 4);
    set(HorzScroll, 4);
    set(VertScroll, 4);
    set(StatusBar, 3);
    Title->Frame = 2;
    set(Progress, 2);
    set(MenuBar, 2);
    set(GroupBoxEdge, 2);
    set(GroupBox, 1);
    set(MenuBackground, 1);
    set(HorzScrollThumb, ini.ReadInteger("HorzScrollThumb", "FrameCount", 3));
    set(VertScrollThumb, ini.ReadInteger("VertScrollThumb", "FrameCount", 3));
    BorderLeft->Frame = ini.ReadInteger("Personality", "LeftFrame", 1);
    BorderRight->Frame = ini.ReadInteger("Personality", "RightFrame", 1);
    BorderTop->Frame = ini.ReadInteger("Personality", "TopFrame", 1);
    BorderBottom->Frame = ini.ReadInteger("Personality", "BottomFrame", 1);

    auto cells = [](const TBitmap& image) {
        const int divisor = image.Height() < 16 ? 13 : 16;
        return std::max(4, image.Width() / divisor);
    };
    if (Button->RadioButtonFrame == 0) Button->RadioButtonFrame = cells(Button->RadioImage);
    if (Button->CheckButtonFrame == 0) Button->CheckButtonFrame = cells(Button->CheckImage);
}

std::vector<TSkinParts::TPartRef> TSkinParts::PartList() const {
    return {{"Title", Title.get()},
            {"Button", Button.get()},
            {"BorderLeft", BorderLeft.get()},
            {"BorderRight", BorderRight.get()},
            {"BorderTop", BorderTop.get()},
            {"BorderBottom", BorderBottom.get()},
            {"Progress", Progress.get()},
            {"Tab", Tab.get()},
            {"ComboButton", ComboButton.get()},
            {"UpDownHorz", UpDownHorz.get()},
            {"UpDownVert", UpDownVert.get()},
            {"GroupBox", GroupBox.get()},
            {"MenuBar", MenuBar.get()},
            {"GroupBoxEdge", GroupBoxEdge.get()},
            {"Toolbar", Toolbar.get()},
            {"StatusBar", StatusBar.get()},
            {"SunkEdge", SunkEdge.get()},
            {"ExtraImages", ExtraImages.get()},
            {"Header", Header.get()},
            {"MenuItem", MenuItem.get()},
            {"MenuBackground", MenuBackground.get()},
            {"ScrollArrows", ScrollArrows.get()},
            {"HorzScroll", HorzScroll.get()},
            {"VertScroll", VertScroll.get()},
            {"HorzScrollThumb", HorzScrollThumb.get()},
            {"VertScrollThumb", VertScrollThumb.get()},
            {"ThumbHorz", ThumbHorz.get()},
            {"ThumbVert", ThumbVert.get()},
            {"ThumbLeft", ThumbLeft.get()},
            {"ThumbRight", ThumbRight.get()},
            {"ThumbUp", ThumbUp.get()},
            {"ThumbDown", ThumbDown.get()}};
}

} // namespace qh
