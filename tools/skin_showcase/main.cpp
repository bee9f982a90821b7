// skin_showcase gallery|scrollbars SKIN.skn [SECONDS]: a form dressed in a
// packed skin, shown for SECONDS (default 5) so that its picture can be
// taken (scripts/control-sheets.sh). Once the skin is on it, it writes
// "window LEFT TOP WIDTH HEIGHT", the window's place on the screen.
#include "core/exception.h"
#include "skin/data/skin_data.h"
#include "skin/engine/skin_manage.h"
#include "skin/engine/frame/win_skin_form.h"
#include "toolkit/application.h"
#include "tools/skin_showcase/gallery_form.h"
#include "tools/skin_showcase/scrollbar_form.h"

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>

using namespace qh;

namespace {

// The loop runs until done() holds or about ten seconds have gone.
bool PumpUntil(const std::function<bool()>& done) {
    for (int i = 0; i < 1000 && !done(); ++i) {
        Application->ProcessMessages();
        if (!done()) Sleep(10);
    }
    return done();
}

std::unique_ptr<TSkinData> LoadSkin(TComponent* owner, const std::string& path) {
    auto data = std::make_unique<TSkinData>(owner);
    data->BeginLoading();
    data->SkinStream().LoadFromFile(path);
    data->SkinStream().SetPosition(0);
    data->LoadSkin();
    data->SetActive(true);
    data->EndLoading();
    return data;
}

// Shows the form in front and waits until the manager has dressed it.
bool ShowDressed(TForm& form) {
    form.Show();
    SetForegroundWindow(form.Handle());
    return PumpUntil([&] {
        TWinSkinForm* frame = SkinManage() ? SkinManage()->FindSkinForm(form.Handle()) : nullptr;
        return frame && frame->FrameState() == TFrameState::Active;
    });
}

int Show(TForm& form, int seconds, const std::function<void()>& dressed = {}) {
    if (!ShowDressed(form)) {
        std::fprintf(stderr, "skin_showcase: the skin did not come on the form\n");
        return 1;
    }
    if (dressed) dressed();
    RECT r{};
    GetWindowRect(form.Handle(), &r);
    std::printf("window %ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
    std::fflush(stdout);
    const ULONGLONG until = GetTickCount64() + 1000ull * seconds;
    while (GetTickCount64() < until) PumpUntil([&] { return GetTickCount64() >= until; });
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::string kind = argc > 1 ? argv[1] : "";
    if (argc < 3 || (kind != "gallery" && kind != "scrollbars")) {
        std::fprintf(stderr, "usage: skin_showcase gallery|scrollbars SKIN.skn [SECONDS]\n");
        return 2;
    }
    const int seconds = argc > 3 ? std::atoi(argv[3]) : 5;
    TApplication application;
    application.Initialize();
    application.SetTitle("青禾网络电视");
    RegisterSkinManage();
    try {
        if (kind == "gallery") {
            SetCursorPos(1000, 5); // no control starts hot
            auto data = LoadSkin(nullptr, argv[2]);
            showcase::TGalleryForm gallery(Application);
            return Show(gallery, seconds);
        }
        TForm form(Application);
        form.SetBounds(40, 40, 560, 400);
        form.SetCaption("滚动条");
        LoadSkin(&form, argv[2]).release(); // the form owns it
        auto* memo = static_cast<TWinControl*>(showcase::FillScrollbarForm(form)[0]);
        // The memo scrolled part way, so that its thumb is off the top.
        return Show(form, seconds, [&] {
            SendMessageW(memo->Handle(), WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 12), 0);
        });
    } catch (const Exception& e) {
        std::fprintf(stderr, "skin_showcase: %s\n", e.Message.c_str());
        return 1;
    }
}
