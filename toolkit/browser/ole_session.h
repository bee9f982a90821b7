// OLE is initialised once for each thread that hosts a control, on first use,
// and uninitialised when that thread ends.
#pragma once

#include "core/exception.h"

#include <objbase.h>

#include <string>

namespace qh {

// A failed OLE or automation call; the message names the step and the HRESULT.
QH_DECLARE_EXCEPTION(EOleError, Exception);

[[noreturn]] void RaiseOleError(const char* step, HRESULT result);
inline void CheckOle(HRESULT result, const char* step) {
    if (FAILED(result)) RaiseOleError(step, result);
}

// Raises EOleError when the thread cannot have OLE (already set up as
// multithreaded apartment, for example).
void EnsureOleInitialized();

} // namespace qh
