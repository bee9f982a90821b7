// How a window's styles decide its skinned frame: the kind of border, the
// caption boxes it offers, whether it takes part in an MDI frame, how it is
// shown, and which style bits the skin takes away while it draws the frame.
// The system's values are written out here, since this layer is built
// without the system headers.
#pragma once

#include <cstdint>

namespace qh {

// Window styles (GWL_STYLE).
inline constexpr uint32_t kWsPopup = 0x80000000;       // WS_POPUP
inline constexpr uint32_t kWsChild = 0x40000000;       // WS_CHILD
inline constexpr uint32_t kWsCaption = 0x00C00000;     // WS_CAPTION: border and dialog frame
inline constexpr uint32_t kWsSysMenu = 0x00080000;     // WS_SYSMENU
inline constexpr uint32_t kWsThickFrame = 0x00040000;  // WS_THICKFRAME
inline constexpr uint32_t kWsMinimizeBox = 0x00020000; // WS_MINIMIZEBOX
inline constexpr uint32_t kWsMaximizeBox = 0x00010000; // WS_MAXIMIZEBOX
inline constexpr uint32_t kDsModalFrame = 0x00000080;  // DS_MODALFRAME, the dialog frame
// WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX.
inline constexpr uint32_t kWsCaptionBoxes = kWsSysMenu | kWsMinimizeBox | kWsMaximizeBox;

// Extended window styles (GWL_EXSTYLE).
inline constexpr uint32_t kWsExMdiChild = 0x00000040;      // WS_EX_MDICHILD
inline constexpr uint32_t kWsExLeftScrollBar = 0x00004000; // WS_EX_LEFTSCROLLBAR: right to left

// Show commands of a window placement.
inline constexpr int kSwShowMinimized = 2;    // SW_SHOWMINIMIZED
inline constexpr int kSwShowMaximized = 3;    // SW_SHOWMAXIMIZED
inline constexpr int kSwMinimize = 6;         // SW_MINIMIZE
inline constexpr int kSwShowMinNoActive = 7;  // SW_SHOWMINNOACTIVE

enum class TBorderKind { Sizeable, Fixed, None, Dialog };
// No border: a popup without the whole caption style; then a sizing
// border, then the dialog frame; anything else is fixed.
TBorderKind BorderKindOf(uint32_t style);

// Bits of BoxFlags.
inline constexpr unsigned kBoxMaximize = 1;
inline constexpr unsigned kBoxMinimize = 2;
inline constexpr unsigned kBoxSystemMenu = 8;
// The skin took the caption style away and gives it back when it shows
// the styles again.
inline constexpr unsigned kBoxCaptionRemoved = 16;
unsigned BoxFlagsOf(uint32_t style, bool hasSystemMenu);

enum class TMdiKind { Ordinary, Frame, Child };
// A window with the MDI child style is a child even if it holds an MDI
// client of its own.
TMdiKind MdiKindOf(uint32_t exStyle, bool hasMdiClientChild);

// In the order of the system menu's restore, maximise and minimise items
// (their Tag).
enum class TShowState { Normal, Maximized, Minimized };
TShowState ShowStateOf(int showCommand);

struct TFrameStyles {
    uint32_t Style = 0;
    unsigned BoxFlags = 0;
};
// Showing adds back the boxes BoxFlags records, and the caption when the
// skin took it. Hiding takes the boxes (and keeps the caption) from a
// window with an owner and from an MDI child, and takes only the caption
// from any other window; an MDI child in the MDI frame's maximised mode is
// left alone. Only a whole caption is taken (and so given back later): a
// borderless popup must not come back with a caption it never had.
TFrameStyles ApplyFrameStyles(const TFrameStyles& current, bool show, bool ownedOrMdiChild,
                              bool mdiChildInMaximizedMode);

} // namespace qh
