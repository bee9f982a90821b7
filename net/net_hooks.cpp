#include "net/net_hooks.h"

namespace qh {

namespace {
TNetAntiFreezeBase*& CurrentAntiFreeze() {
    static TNetAntiFreezeBase* instance = nullptr;
    return instance;
}
} // namespace

TNetAntiFreezeBase::TNetAntiFreezeBase() {
    CurrentAntiFreeze() = this;
}

TNetAntiFreezeBase::~TNetAntiFreezeBase() {
    if (CurrentAntiFreeze() == this) CurrentAntiFreeze() = nullptr;
}

TNetAntiFreezeBase* TNetAntiFreezeBase::Instance() {
    return CurrentAntiFreeze();
}

} // namespace qh
