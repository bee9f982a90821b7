#include "toolkit/browser/ole_session.h"

#include "core/text.h"

#include <ole2.h>

namespace qh {

void RaiseOleError(const char* step, HRESULT result) {
    throw EOleError(Format("OLE error 0x%08lX: %s", static_cast<unsigned long>(result), step));
}

namespace {

// Lives in thread storage so that the thread's end balances the one
// OleInitialize, after every control of the thread is gone.
class TOleThreadSession {
public:
    TOleThreadSession() : FResult(OleInitialize(nullptr)) {}
    ~TOleThreadSession() {
        if (SUCCEEDED(FResult)) OleUninitialize();
    }
    TOleThreadSession(const TOleThreadSession&) = delete;
    TOleThreadSession& operator=(const TOleThreadSession&) = delete;

    HRESULT Result() const { return FResult; }

private:
    HRESULT FResult;
};

} // namespace

void EnsureOleInitialized() {
    thread_local TOleThreadSession session;
    CheckOle(session.Result(), "OleInitialize");
}

} // namespace qh
