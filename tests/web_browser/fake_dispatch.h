// A scriptable object of the test's own: named properties that hold values
// or other objects, and a record of every property put.
#pragma once

#include "toolkit/browser/com_ptr.h"

#include <oaidl.h>

#include <map>
#include <string>
#include <vector>

class FakeDispatch final : public IDispatch {
public:
    static qh::ComPtr<FakeDispatch> Create() {
        return qh::ComPtr<FakeDispatch>::Adopt(new FakeDispatch);
    }

    void SetObject(const std::wstring& name, IDispatch* object);
    // A property whose get fails with this result.
    void SetFailing(const std::wstring& name, HRESULT result);
    // Puts seen so far, as "name=value" (the value as text).
    std::vector<std::wstring> Puts;

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override { return ++FReferences; }
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;
    STDMETHODIMP Invoke(DISPID member, REFIID, LCID, WORD flags, DISPPARAMS* params,
                        VARIANT* result, EXCEPINFO*, UINT*) override;

private:
    FakeDispatch() = default;
    ~FakeDispatch();
    DISPID IdOf(const std::wstring& name);

    ULONG FReferences = 1;
    std::vector<std::wstring> FNames;
    std::map<DISPID, IDispatch*> FObjects; // each holds a reference
    std::map<DISPID, HRESULT> FFailures;
};
