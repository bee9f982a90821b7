#include "tests/support/skin_env.h"

#include "skin/data/skin_manager_link.h"
#include "skin/engine/dib_section.h"
#include "skin/engine/skin_manage.h"
#include "skin/render/pixel_copy.h"

#include <psapi.h>

#include <algorithm>

namespace qh::test {

std::unique_ptr<TSkinData> MakeSkinData(TComponent* owner, const std::string& file, bool active) {
    auto data = std::make_unique<TSkinData>(owner);
    data->BeginLoading();
    data->SkinStream().LoadFromFile(std::string(QH_PACKED_SKIN_DIR) + "/" + file);
    data->SkinStream().SetPosition(0);
    data->LoadSkin();
    data->SetActive(active);
    data->EndLoading();
    return data;
}

void AddShippedSkins(TSkinStore& store) {
    for (const char* file : kSkins) {
        TMemoryStream packed;
        packed.LoadFromFile(std::string(QH_PACKED_SKIN_DIR) + "/" + file);
        packed.SetPosition(0);
        store.Store()->Add().ReadDataStream(packed);
    }
}

TBitmap Band(const TBitmap& image, const TRect& source, int top, int rows, int width, int height) {
    TBitmap band(width, height, TPixelFormat::pf32bit);
    StretchPixels(band, {0, 0, width, height}, image,
                  {source.Left, source.Top + top, source.Right, source.Top + top + rows});
    return band;
}

::testing::AssertionResult Shows(const TBitmap& shown, int x0, int y0, const TBitmap& want) {
    for (int y = 0; y < want.Height(); ++y)
        for (int x = 0; x < want.Width(); ++x) {
            const TColor w = want.GetPixel(x, y) & 0xFFFFFF;
            if (w == kColourKey) continue;
            const TColor got = shown.GetPixel(x0 + x, y0 + y) & 0xFFFFFF;
            if (got != w)
                return ::testing::AssertionFailure() << "at (" << x0 + x << ", " << y0 + y << ") "
                                                     << std::hex << got << " instead of " << w;
        }
    return ::testing::AssertionSuccess();
}

TWinSkinForm* WaitForFrame(HWND window) {
    TWinSkinForm* frame = nullptr;
    PumpUntil([&] {
        frame = SkinManage() ? SkinManage()->FindSkinForm(window) : nullptr;
        return frame && frame->FrameState() == TFrameState::Active;
    });
    return frame;
}

TWinSkinForm* ShowDressed(TForm& form) {
    form.Show();
    SetForegroundWindow(form.Handle());
    return WaitForFrame(form.Handle());
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

TBitmap CaptureWindow(HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    Pump();
    RECT r{};
    GetWindowRect(window, &r);
    TDibSection picture(r.right - r.left, r.bottom - r.top);
    HDC dc = GetWindowDC(window);
    BitBlt(picture.Dc(), 0, 0, picture.Width(), picture.Height(), dc, 0, 0, SRCCOPY);
    ReleaseDC(window, dc);
    picture.Sync();
    return picture.Bitmap();
}

TSkinnedForm::TSkinnedForm(const char* skin, const RECT& bounds) {
    Form.SetBounds(bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top);
    Data = MakeSkinData(&Form, skin).release();
}

void TSkinnedForm::Show() { Frame = ShowDressed(Form); }

TSkinSwitcher::TSkinSwitcher(TSkinData& data, TSkinStore& store) : FData(data), FStore(store) {
    FData.OnSkinChanged = [this](TObject*) { ++FChanges; };
}

bool TSkinSwitcher::Switch(int index) {
    const int before = FChanges;
    FData.LoadFromStore(&FStore, index % 3);
    return PumpUntil([&] { return FChanges > before; });
}

void ParkCursor() {
    SetCursorPos(1000, 5);
    Pump();
}

TObjectCounts ObjectCounts() {
    TObjectCounts counts;
    counts.Gdi = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    counts.User = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof(memory);
    if (GetProcessMemoryInfo(GetCurrentProcess(),
                             reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof(memory)))
        counts.PrivateBytes = std::max<size_t>(memory.PrivateUsage, memory.PagefileUsage);
    return counts;
}

void TSkinSuite::SetUp() {
    RegisterSkinManage();
    DestroySkinManager();
}

void TSkinSuite::TearDown() {
    DestroySkinManager();
    SetSkinManagerFactory(nullptr);
}

} // namespace qh::test
