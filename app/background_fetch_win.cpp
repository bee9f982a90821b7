#include "app/background_fetch_win.h"

#include "toolkit/message_window.h"

#include <mutex>
#include <thread>

namespace qh {

namespace {

constexpr UINT kFetchedMessage = WM_APP + 0x51;

} // namespace

struct TBackgroundFetch::TShared {
    std::mutex Mutex;
    bool Abandoned = false;
    std::string Body;
};

TBackgroundFetch::TBackgroundFetch()
    : FId(TMessageWindow::Add([this](UINT message, LPARAM) {
          if (message == kFetchedMessage) Arrived();
      })) {}

TBackgroundFetch::~TBackgroundFetch() {
    if (FShared) {
        std::lock_guard<std::mutex> lock(FShared->Mutex);
        FShared->Abandoned = true;
    }
    TMessageWindow::Remove(FId);
}

void TBackgroundFetch::Start(TFetch fetch, TDone done) {
    if (FInFlight) return;
    FShared = std::make_shared<TShared>();
    FDone = std::move(done);
    FInFlight = true;
    HWND target = TMessageWindow::Handle();
    std::thread([shared = FShared, fetch = std::move(fetch), target, id = FId] {
        std::string body;
        try {
            body = fetch();
        } catch (...) {
            // A failed fetch reads as nothing, as the synchronous one did.
        }
        std::lock_guard<std::mutex> lock(shared->Mutex);
        if (shared->Abandoned) return;
        shared->Body = std::move(body);
        PostMessageW(target, kFetchedMessage, id, 0);
    }).detach();
}

void TBackgroundFetch::Arrived() {
    if (!FInFlight || !FShared) return;
    std::string body;
    {
        std::lock_guard<std::mutex> lock(FShared->Mutex);
        body = std::move(FShared->Body);
    }
    FShared.reset();
    FInFlight = false;
    TDone done = std::move(FDone);
    FDone = nullptr;
    if (done) done(std::move(body));
}

} // namespace qh
