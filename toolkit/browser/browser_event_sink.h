// The receiver of the control's DWebBrowserEvents2: decodes the events the
// system uses and hands them on as plain calls.
#pragma once

#include <oaidl.h>

#include <exception>
#include <string>

namespace qh {

class TBrowserEventTarget {
public:
    virtual void DownloadBegin() = 0;
    virtual void DownloadComplete() = 0;
    virtual void CommandStateChange(long command, bool enable) = 0;
    virtual void DocumentComplete(IDispatch* dispatch, const std::wstring& address) = 0;
    // An exception left a handler; it must not unwind through the control.
    virtual void HandlerFailed(std::exception_ptr error) = 0;

protected:
    ~TBrowserEventTarget() = default;
};

class TBrowserEventSink final : public IDispatch {
public:
    explicit TBrowserEventSink(TBrowserEventTarget* target) : FTarget(target) {}
    TBrowserEventSink(const TBrowserEventSink&) = delete;
    TBrowserEventSink& operator=(const TBrowserEventSink&) = delete;

    // Events arriving after this (the control may still hold the sink) are dropped.
    void Detach() { FTarget = nullptr; }

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
    STDMETHODIMP Invoke(DISPID member, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO*, UINT* argumentError) override;

private:
    ~TBrowserEventSink() = default; // only Release destroys it
    void Dispatch(DISPID member, const DISPPARAMS& params);

    LONG FReferences = 1;
    TBrowserEventTarget* FTarget;
};

} // namespace qh
