#include "members_env.h"

#include "skin/data/skin_manager_link.h"
#include "skin/engine/dib_section.h"
#include "skin/engine/skin_manage.h"
#include "skin/render/compose.h"
#include "skin/render/pixel_copy.h"
#include "skin/render/state_image.h"

#include <string>

namespace qh::test {

std::unique_ptr<TSkinData> MakeSkinData(TComponent* owner, const char* file) {
    auto data = std::make_unique<TSkinData>(owner);
    data->BeginLoading();
    data->SkinStream().LoadFromFile(std::string(QH_PACKED_SKIN_DIR) + "/" + file);
    data->SkinStream().SetPosition(0);
    data->LoadSkin();
    data->SetActive(true);
    data->EndLoading();
    return data;
}

TWinSkinForm* WaitForFrame(HWND window) {
    TWinSkinForm* frame = nullptr;
    PumpUntil([&] {
        frame = SkinManage() ? SkinManage()->FindSkinForm(window) : nullptr;
        return frame && frame->FrameState() == kFrameActive;
    });
    return frame;
}

TBitmap Capture(HWND window, const RECT& r) {
    UpdateWindow(window);
    Pump();
    TDibSection picture(r.right - r.left, r.bottom - r.top);
    HDC dc = GetDC(window);
    BitBlt(picture.Dc(), 0, 0, picture.Width(), picture.Height(), dc, r.left, r.top, SRCCOPY);
    ReleaseDC(window, dc);
    picture.Sync();
    return picture.Bitmap();
}

TBitmap CaptureClient(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    return Capture(window, r);
}

TBitmap KeyedCell(const TBitmap& strip, int frames, int state, TColor back) {
    const TRect cell = StateImageRect(strip, false, frames, 1);
    TBitmap image(cell.Width(), cell.Height(), TPixelFormat::pf32bit);
    StretchStateImage(image, {0, 0, cell.Width(), cell.Height()}, strip, frames, state);
    TBitmap out(cell.Width(), cell.Height(), TPixelFormat::pf32bit);
    out.Fill(back);
    CopyKeyed(out, 0, 0, image, kColourKey);
    return out;
}

int CellShown(const TBitmap& shown, int x, int y, const TBitmap& strip, int frames, TColor back) {
    for (int state = 1; state <= frames; ++state) {
        const TBitmap want = KeyedCell(strip, frames, state, back);
        bool same = want.Width() > 0;
        for (int j = 0; j < want.Height() && same; ++j)
            for (int i = 0; i < want.Width() && same; ++i)
                same = x + i < shown.Width() && y + j < shown.Height() &&
                       (shown.GetPixel(x + i, y + j) & 0xFFFFFF) == (want.GetPixel(i, j) & 0xFFFFFF);
        if (same) return state;
    }
    return 0;
}

void ParkCursor() {
    SetCursorPos(1000, 5);
    Pump();
}

void SkinMembers::SetUp() {
    RegisterSkinManage();
    DestroySkinManager();
    ParkCursor();
}

void SkinMembers::TearDown() {
    DestroySkinManager();
    SetSkinManagerFactory(nullptr);
}

} // namespace qh::test
