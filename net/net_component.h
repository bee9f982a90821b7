// The base of every network component: status and work events, and a share
// of the process-wide socket stack.
#pragma once

#include "core/component.h"
#include "net/net_stack.h"

#include <cstdint>
#include <functional>
#include <string>

namespace qh {

enum class TNetStatus {
    hsResolving,
    hsConnecting,
    hsConnected,
    hsDisconnecting,
    hsDisconnected,
    hsStatusText
};

enum class TWorkMode { wmRead, wmWrite };

class TNetBaseComponent : public TComponent {
    QH_CLASS(TNetBaseComponent, TComponent)
    explicit TNetBaseComponent(TComponent* owner = nullptr) : TComponent(owner) {}
};

class TNetComponent : public TNetBaseComponent {
    QH_CLASS(TNetComponent, TNetBaseComponent)
    using TStatusEvent = std::function<void(TNetComponent&, TNetStatus, const std::string&)>;
    using TWorkBeginEvent = std::function<void(TNetComponent&, TWorkMode, int64_t)>;
    using TWorkEvent = std::function<void(TNetComponent&, TWorkMode, int64_t)>;
    using TWorkEndEvent = std::function<void(TNetComponent&, TWorkMode)>;

    TStatusEvent OnStatus;
    TWorkBeginEvent OnWorkBegin;
    TWorkEvent OnWork;
    TWorkEndEvent OnWorkEnd;

    // A work phase per mode nests; only the outermost raises the events.
    void BeginWork(TWorkMode mode, int64_t expected);
    void DoWork(TWorkMode mode, int64_t count);
    void EndWork(TWorkMode mode);

    // Formats the kind's text with the argument and raises OnStatus.
    void ReportStatus(TNetStatus kind, const std::string& argument = "");
    static std::string StatusText(TNetStatus kind, const std::string& argument);

    TNetStack& Stack() const { return *FStack; }

protected:
    explicit TNetComponent(TComponent* owner = nullptr) : TNetBaseComponent(owner) {}

private:
    struct TWorkState {
        int level = 0;
        int64_t expected = 0;
        int64_t position = 0;
    };
    TWorkState& Work(TWorkMode mode) { return FWork[mode == TWorkMode::wmRead ? 0 : 1]; }

    TNetStackRef FStack;
    TWorkState FWork[2];
};

// Ends a work phase on every path.
class TWorkPhase {
public:
    TWorkPhase(TNetComponent& component, TWorkMode mode, int64_t expected)
        : FComponent(component), FMode(mode) {
        FComponent.BeginWork(mode, expected);
    }
    ~TWorkPhase() { FComponent.EndWork(FMode); }
    TWorkPhase(const TWorkPhase&) = delete;
    TWorkPhase& operator=(const TWorkPhase&) = delete;

private:
    TNetComponent& FComponent;
    TWorkMode FMode;
};

} // namespace qh
