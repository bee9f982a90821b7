// The skinned frame's paint of a 910 x 603 client window beside one BitBlt
// of the whole window's area, best of many runs each: at 96 DPI, then told
// it is at 192 DPI as a move to such a monitor would.
#include "skin/engine/skin_manage.h"
#include "skin/engine/frame/win_skin_form.h"
#include "toolkit/application.h"
#include "toolkit/forms.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>

using namespace qh;

namespace {

double BestMs(int runs, const std::function<void()>& work) {
    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency);
    double best = 1e9;
    for (int i = 0; i < runs; ++i) {
        LARGE_INTEGER start{}, end{};
        QueryPerformanceCounter(&start);
        work();
        GdiFlush();
        QueryPerformanceCounter(&end);
        best = std::min(best, 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
                                  static_cast<double>(frequency.QuadPart));
    }
    return best;
}

void Pump(int rounds) {
    for (int i = 0; i < rounds; ++i) {
        Application->ProcessMessages();
        Sleep(5);
    }
}

} // namespace

int main() {
    RegisterSkinManage();
    TApplication application;
    application.Initialize();
    TForm form(&application);
    form.SetBounds(40, 40, 918, 650);
    form.SetClientSize(910, 603);
    auto* data = new TSkinData(&form);
    data->BeginLoading();
    data->SkinStream().LoadFromFile(std::string(QH_PACKED_SKIN_DIR) + "/default.skn");
    data->SkinStream().SetPosition(0);
    data->LoadSkin();
    data->SetActive(true);
    data->EndLoading();
    form.Show();
    SetForegroundWindow(form.Handle());
    TWinSkinForm* frame = nullptr;
    for (int i = 0; i < 200 && !(frame && frame->FrameState() == TFrameState::Active); ++i) {
        Pump(1);
        frame = SkinManage() ? SkinManage()->FindSkinForm(form.Handle()) : nullptr;
    }
    if (!frame || frame->FrameState() != TFrameState::Active) {
        std::fprintf(stderr, "the form was not dressed\n");
        return 1;
    }
    auto measure = [&](int dpi) {
        RECT window{};
        GetWindowRect(form.Handle(), &window);
        const int w = window.right - window.left, h = window.bottom - window.top;
        HDC dc = GetWindowDC(form.Handle());
        const double paint = BestMs(50, [&] { frame->Painter().PaintFrame(dc); });
        HDC memory = CreateCompatibleDC(dc);
        HBITMAP picture = CreateCompatibleBitmap(dc, w, h);
        HGDIOBJ old = SelectObject(memory, picture);
        const double blit = BestMs(50, [&] { BitBlt(dc, 0, 0, w, h, memory, 0, 0, SRCCOPY); });
        SelectObject(memory, old);
        DeleteObject(picture);
        DeleteDC(memory);
        ReleaseDC(form.Handle(), dc);
        std::printf("paintframe %3d dpi %dx%d %.3f ms\n", dpi, w, h, paint);
        std::printf("bitblt     %3d dpi %dx%d %.3f ms\n", dpi, w, h, blit);
    };
    measure(frame->Dpi());
    RECT window{};
    GetWindowRect(form.Handle(), &window);
    const int from = frame->Dpi(), to = 192;
    RECT suggested{window.left, window.top,
                   window.left + MulDiv(window.right - window.left, to, from),
                   window.top + MulDiv(window.bottom - window.top, to, from)};
    SendMessageW(form.Handle(), WM_DPICHANGED, MAKEWPARAM(to, to),
                 reinterpret_cast<LPARAM>(&suggested));
    Pump(5);
    if (frame->Dpi() != to) {
        std::fprintf(stderr, "the frame did not take %d DPI\n", to);
        return 1;
    }
    // The first paint at the new DPI makes the scaled skin; the best run
    // is a paint from it, as every paint after the first is.
    measure(to);
    return 0;
}
