// A text fetched on a worker thread, its result handed to the user-interface
// thread as a message: the windows never wait for the network.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

namespace qh {

class TBackgroundFetch {
public:
    // fetch runs on the worker; it must not touch anything of this thread.
    using TFetch = std::function<std::string()>;
    using TDone = std::function<void(std::string body)>;

    TBackgroundFetch();
    // A fetch still in flight is abandoned: its worker ends on its own,
    // bounded by the client's time-outs, and its result goes nowhere.
    ~TBackgroundFetch();
    TBackgroundFetch(const TBackgroundFetch&) = delete;
    TBackgroundFetch& operator=(const TBackgroundFetch&) = delete;

    bool InFlight() const { return FInFlight; }
    // done runs on this thread, from the message loop, once the body is in.
    void Start(TFetch fetch, TDone done);

private:
    struct TShared;
    void Arrived();

    UINT FId = 0;
    std::shared_ptr<TShared> FShared;
    TDone FDone;
    bool FInFlight = false;
};

} // namespace qh
