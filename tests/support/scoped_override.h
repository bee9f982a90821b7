// Installs a process-wide override for one scope; the real call is back
// when the scope ends, also when an expectation fails on the way out.
#pragma once

#include <utility>

namespace qh::test {

template <class TFunc> class TScopedOverride {
public:
    using TSetter = void (*)(TFunc);

    TScopedOverride(TSetter setter, TFunc func) : FSetter(setter) { FSetter(std::move(func)); }
    ~TScopedOverride() { FSetter(TFunc()); }
    TScopedOverride(const TScopedOverride&) = delete;
    TScopedOverride& operator=(const TScopedOverride&) = delete;

private:
    TSetter FSetter;
};

} // namespace qh::test
