// The colour table of a skin, one colour per key of its Colours section.
#pragma once

#include <cstdint>
#include <string_view>

namespace qh {

// A system colour: this base plus the Windows system colour index.
inline constexpr uint32_t kSystemColourBase = 0x80000000u;
inline constexpr int32_t SystemColour(int index) {
    return static_cast<int32_t>(kSystemColourBase + static_cast<uint32_t>(index));
}

struct TSkinColours {
    int32_t WindowText = SystemColour(8);
    int32_t ButtonFace = SystemColour(15);
    int32_t Scrollbar = SystemColour(0);
    int32_t HilightText = SystemColour(14);
    int32_t Hilight = SystemColour(13);
    int32_t Menubar = SystemColour(15);
    int32_t Menu = SystemColour(4);
    int32_t MenuText = SystemColour(7);
    int32_t ButtonText = SystemColour(18);
    int32_t ButtonHilight = SystemColour(20);
    int32_t Buttonlight = SystemColour(20);
    int32_t ButtonShadow = SystemColour(16);
    int32_t ButtonDkShadow = SystemColour(21);
    int32_t MenuBarText = SystemColour(7);
    int32_t TitleTextActive = SystemColour(9);
    int32_t TitleTextNoActive = SystemColour(19);
};

// The keys in reading order, each with its field and its default (Menubar
// defaults to the ButtonFace just read, which the reader handles).
struct TSkinColourKey {
    std::string_view Key;
    int32_t TSkinColours::*Field;
    int32_t Default;
};

inline constexpr TSkinColourKey kSkinColourKeys[] = {
    {"WindowText", &TSkinColours::WindowText, SystemColour(8)},
    {"ButtonFace", &TSkinColours::ButtonFace, SystemColour(15)},
    {"Scrollbar", &TSkinColours::Scrollbar, SystemColour(0)},
    {"HilightText", &TSkinColours::HilightText, SystemColour(14)},
    {"Hilight", &TSkinColours::Hilight, SystemColour(13)},
    {"Menubar", &TSkinColours::Menubar, SystemColour(15)},
    {"Menu", &TSkinColours::Menu, SystemColour(4)},
    {"MenuText", &TSkinColours::MenuText, SystemColour(7)},
    {"ButtonText", &TSkinColours::ButtonText, SystemColour(18)},
    {"ButtonHilight", &TSkinColours::ButtonHilight, SystemColour(20)},
    {"Buttonlight", &TSkinColours::Buttonlight, SystemColour(20)},
    {"ButtonShadow", &TSkinColours::ButtonShadow, SystemColour(16)},
    {"ButtonDkShadow", &TSkinColours::ButtonDkShadow, SystemColour(21)},
    {"MenuBarText", &TSkinColours::MenuBarText, SystemColour(7)},
    {"TitleTextActive", &TSkinColours::TitleTextActive, SystemColour(9)},
    {"TitleTextNoActive", &TSkinColours::TitleTextNoActive, SystemColour(19)},
};

} // namespace qh
