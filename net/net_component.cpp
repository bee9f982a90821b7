#include "net/net_component.h"

#include "core/text.h"

namespace qh {

QH_DEFINE_CLASS(TNetBaseComponent, TComponent)
QH_DEFINE_CLASS(TNetComponent, TNetBaseComponent)

void TNetComponent::BeginWork(TWorkMode mode, int64_t expected) {
    TWorkState& work = Work(mode);
    if (++work.level == 1) {
        work.expected = expected;
        work.position = 0;
        if (OnWorkBegin) OnWorkBegin(*this, mode, expected);
    }
}

void TNetComponent::DoWork(TWorkMode mode, int64_t count) {
    TWorkState& work = Work(mode);
    if (work.level <= 0) return;
    work.position += count;
    if (OnWork) OnWork(*this, mode, work.position);
}

void TNetComponent::EndWork(TWorkMode mode) {
    TWorkState& work = Work(mode);
    if (work.level <= 0) return;
    if (--work.level == 0 && OnWorkEnd) OnWorkEnd(*this, mode);
}

std::string TNetComponent::StatusText(TNetStatus kind, const std::string& argument) {
    switch (kind) {
    case TNetStatus::hsResolving:
        return Format("Resolving hostname %s.", argument.c_str());
    case TNetStatus::hsConnecting:
        return Format("Connecting to %s.", argument.c_str());
    case TNetStatus::hsConnected:
        return "Connected.";
    case TNetStatus::hsDisconnecting:
        return Format("Disconnecting from %s.", argument.c_str());
    case TNetStatus::hsDisconnected:
        return "Not connected.";
    case TNetStatus::hsStatusText:
        return argument;
    }
    return argument;
}

void TNetComponent::ReportStatus(TNetStatus kind, const std::string& argument) {
    if (OnStatus) OnStatus(*this, kind, StatusText(kind, argument));
}

} // namespace qh
