// A parsed skin: the parts, the colour table, the custom colours and the
// caption buttons that the drawing code reads. TSkinData carries one.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/stream.h"
#include "core/string_list.h"
#include "skin/data/face_brush.h"
#include "skin/data/quick_ini.h"
#include "skin/data/skin_colours.h"
#include "skin/data/skin_objects.h"
#include "skin/data/skin_reader.h"

namespace qh {

class TSkinParts {
public:
    TSkinParts();
    virtual ~TSkinParts();
    TSkinParts(const TSkinParts&) = delete;
    TSkinParts& operator=(const TSkinParts&) = delete;

    // Builds every part from ini, loading the bitmaps the INI names from
    // reader. A member that is not a valid bitmap raises EInvalidGraphic
    // and ends the parse there: the parts built so far stay, SkinEmpty
    // stays true.
    void ParseSkin(const TQuickIni& ini, const TSkinReader& reader);
    // Loads the bitmap member named by an INI value; empty when the value
    // names no ".bmp" or the member is missing.
    void LoadMemberBitmap(TBitmap& bitmap, const std::string& value);
    // The colour of an R G B text, or fallback for the empty text.
    static int32_t ReadColour(const std::string& text, int32_t fallback);

    bool SkinEmpty = true;
    std::string SkinName;
    // Counts the parses, so that a copy made from the parts (scaled for a
    // DPI) knows when it is out of date.
    uint32_t Generation = 0;

    // Always present.
    std::unique_ptr<TDataSkinTitle> Title;
    std::unique_ptr<TDataSkinButton> Button;
    std::unique_ptr<TDataSkinBorder> BorderLeft;
    std::unique_ptr<TDataSkinBorder> BorderRight;
    std::unique_ptr<TDataSkinBorder> BorderTop;
    std::unique_ptr<TDataSkinBorder> BorderBottom;

    // Present when their section names an image.
    std::unique_ptr<TDataSkinBorder> Progress;
    std::unique_ptr<TDataSkinBorder> Tab;
    std::unique_ptr<TDataSkinBorder> ComboButton;
    std::unique_ptr<TDataSkinBorder> UpDownHorz;
    std::unique_ptr<TDataSkinBorder> UpDownVert;
    std::unique_ptr<TDataSkinBoxLabel> GroupBox;
    std::unique_ptr<TDataSkinObject> MenuBar;
    std::unique_ptr<TDataSkinObject> GroupBoxEdge;
    std::unique_ptr<TDataSkinObject> Toolbar;
    std::unique_ptr<TDataSkinObject> StatusBar;
    std::unique_ptr<TDataSkinObject> SunkEdge;
    std::unique_ptr<TDataSkinObject> ExtraImages;
    std::unique_ptr<TDataSkinObject> Header;
    std::unique_ptr<TDataSkinObject> MenuItem;
    std::unique_ptr<TDataSkinObject> MenuBackground;
    std::unique_ptr<TDataSkinObject> ScrollArrows;
    std::unique_ptr<TDataSkinObject> HorzScroll;
    std::unique_ptr<TDataSkinObject> VertScroll;
    std::unique_ptr<TDataSkinObject> HorzScrollThumb;
    std::unique_ptr<TDataSkinObject> VertScrollThumb;
    std::unique_ptr<TDataSkinObject> ThumbHorz;
    std::unique_ptr<TDataSkinObject> ThumbVert;
    std::unique_ptr<TDataSkinObject> ThumbLeft;
    std::unique_ptr<TDataSkinObject> ThumbRight;
    std::unique_ptr<TDataSkinObject> ThumbUp;
    std::unique_ptr<TDataSkinObject> ThumbDown;

    TSkinColours Colours;
    std::vector<int32_t> CustomColours;
    std::vector<std::unique_ptr<TDataSkinSysButton>> SysButtons;
    std::unique_ptr<TFaceBrush> FaceBrush;

    // Every part by its field name, in declaration order, for tools and
    // tests that walk them; absent parts give null.
    struct TPartRef {
        const char* FieldName;
        const TDataSkinObject* Part;
    };
    std::vector<TPartRef> PartList() const;

private:
    void ParseBorders(const TQuickIni& ini);
    void ParseColours(const TQuickIni& ini, const TStringList& sections);
    void ParseCaptionButtons(const TQuickIni& ini, const TStringList& sections);
    void ParseButton(const TQuickIni& ini);
    void ParseTitle(const TQuickIni& ini);
    void SetFrameCounts(const TQuickIni& ini);
    template <typename Part>
    void ParsePlain(std::unique_ptr<Part>& part, const TQuickIni& ini, const char* section,
                    bool withStyle);
    void ParseSecondImage(std::unique_ptr<TDataSkinBorder>& part, const TQuickIni& ini,
                          const char* section, const char* secondKey);
    void ReadCommon(TDataSkinObject& part, const TQuickIni& ini, const char* section,
                    bool withStyle);

    // Only set while ParseSkin runs.
    const TSkinReader* FReader = nullptr;
    TMemoryStream FMember;
};

} // namespace qh
