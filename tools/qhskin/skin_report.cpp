#include "tools/qhskin/skin_report.h"

#include <cstdio>

#include "core/gbk.h"
#include "core/stream.h"
#include "core/text.h"
#include "skin/data/skin_data.h"
#include "skin/data/skin_parts.h"
#include "tools/qhskin/commands.h"

namespace qh {

namespace {

// Skin texts are code page 936; JSON is UTF-8.
std::string Quote(const std::string& gbk) {
    std::string out = "\"";
    for (char c : GbkToUtf8(gbk)) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20) {
            out += Format("\\u%04x", u);
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string Size(const TBitmap& bitmap) {
    return Quote(bitmap.Empty() ? std::string()
                                : IntToStr(bitmap.Width()) + "x" + IntToStr(bitmap.Height()));
}

class TObjectWriter {
public:
    explicit TObjectWriter(std::string indent) : FIndent(std::move(indent)) {}
    void Raw(const char* key, const std::string& value) {
        FText += (FText.empty() ? "" : ",\n") + FIndent + "  \"" + key + "\": " + value;
    }
    void Int(const char* key, int64_t value) { Raw(key, IntToStr(value)); }
    void Bool(const char* key, bool value) { Raw(key, value ? "true" : "false"); }
    std::string Text() const { return "{\n" + FText + "\n" + FIndent + "}"; }

private:
    std::string FIndent;
    std::string FText;
};

std::string PartJson(const TDataSkinObject& part, const std::string& indent) {
    TObjectWriter w(indent);
    w.Raw("Class", Quote(part.ClassName()));
    w.Raw("Name", Quote(part.Name));
    w.Int("LeftWidth", part.LeftWidth);
    w.Int("TopHeight", part.TopHeight);
    w.Int("RightWidth", part.RightWidth);
    w.Int("BottomHeight", part.BottomHeight);
    w.Int("Trans", part.Trans);
    w.Int("Tile", part.Tile);
    w.Int("Frame", part.Frame);
    w.Int("Style", part.Style);
    w.Int("NormalColour", part.NormalColour);
    w.Int("MouseOverColour", part.MouseOverColour);
    w.Int("PressedColour", part.PressedColour);
    w.Int("NormalColour2", part.NormalColour2);
    w.Int("MouseOverColour2", part.MouseOverColour2);
    w.Int("PressedColour2", part.PressedColour2);
    w.Raw("Image", Size(part.Image));
    if (auto* border = dynamic_cast<const TDataSkinBorder*>(&part)) {
        w.Raw("Image2", Size(border->Image2));
    } else if (auto* title = dynamic_cast<const TDataSkinTitle*>(&part)) {
        w.Int("TextAlignment", title->TextAlignment);
        w.Int("Textbackground", title->Textbackground);
        w.Int("FontHeight", title->FontHeight);
        w.Int("TXTBackleft", title->TXTBackleft);
        w.Int("TXTBackRight", title->TXTBackRight);
        w.Int("ActiveTextColour", title->ActiveTextColour);
        w.Int("InActiveTextColour", title->InActiveTextColour);
    } else if (auto* button = dynamic_cast<const TDataSkinButton*>(&part)) {
        w.Raw("CheckImage", Size(button->CheckImage));
        w.Raw("RadioImage", Size(button->RadioImage));
        w.Int("RadioButtonFrame", button->RadioButtonFrame);
        w.Int("CheckButtonFrame", button->CheckButtonFrame);
        w.Bool("HasNormalColour2", button->HasNormalColour2);
        w.Bool("HasMouseOverColour2", button->HasMouseOverColour2);
        w.Bool("HasPressedColour2", button->HasPressedColour2);
    } else if (auto* sys = dynamic_cast<const TDataSkinSysButton*>(&part)) {
        w.Int("Action", sys->Action);
        w.Int("Align", sys->Align);
        w.Int("XCoord", sys->XCoord);
        w.Int("YCoord", sys->YCoord);
        w.Int("CombineOp", sys->CombineOp);
        w.Int("Visibility", sys->Visibility);
        w.Int("Visibility1", sys->Visibility1);
    } else if (auto* box = dynamic_cast<const TDataSkinBoxLabel*>(&part)) {
        w.Int("BackgroundLeftShift", box->BackgroundLeftShift);
        w.Int("BackgroundRightShift", box->BackgroundRightShift);
        w.Int("BackgroundAlignment", box->BackgroundAlignment);
    }
    return w.Text();
}

} // namespace

std::string SkinPartsToJson(const TSkinParts& parts) {
    TObjectWriter w("");
    w.Raw("SkinName", Quote(parts.SkinName));
    w.Bool("SkinEmpty", parts.SkinEmpty);
    for (const auto& ref : parts.PartList())
        if (ref.Part) w.Raw(ref.FieldName, PartJson(*ref.Part, "  "));
    TObjectWriter colours("  ");
    for (const auto& entry : kSkinColourKeys)
        colours.Int(std::string(entry.Key).c_str(), parts.Colours.*entry.Field);
    w.Raw("Colours", colours.Text());
    std::string custom = "[";
    for (size_t i = 0; i < parts.CustomColours.size(); ++i)
        custom += (i ? ", " : "") + IntToStr(parts.CustomColours[i]);
    w.Raw("CustomColours", custom + "]");
    std::string buttons = "[";
    for (size_t i = 0; i < parts.SysButtons.size(); ++i)
        buttons += (i ? ", " : "") + PartJson(*parts.SysButtons[i], "    ");
    w.Raw("SysButtons", buttons + "]");
    return w.Text() + "\n";
}

int RunInspect(const std::string& skinFile) {
    if (!FileExists(skinFile)) return ReportError("cannot open " + skinFile);
    TSkinData data(nullptr);
    data.SkinStream().LoadFromFile(skinFile);
    if (!data.LoadSkin()) return ReportError(skinFile + " is not a skin this program can read");
    const std::string json = SkinPartsToJson(data);
    std::fwrite(json.data(), 1, json.size(), stdout);
    return 0;
}

} // namespace qh
