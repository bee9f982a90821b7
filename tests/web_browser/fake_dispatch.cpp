#include "fake_dispatch.h"

#include <oleauto.h>

#include <algorithm>
#include <cwctype>

namespace {

// Script names are case-insensitive.
std::wstring Folded(std::wstring text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
    return text;
}

} // namespace

FakeDispatch::~FakeDispatch() {
    for (auto& [id, object] : FObjects)
        if (object) object->Release();
}

DISPID FakeDispatch::IdOf(const std::wstring& name) {
    std::wstring key = Folded(name);
    auto found = std::find(FNames.begin(), FNames.end(), key);
    if (found != FNames.end()) return static_cast<DISPID>(found - FNames.begin()) + 1;
    FNames.push_back(key);
    return static_cast<DISPID>(FNames.size());
}

void FakeDispatch::SetObject(const std::wstring& name, IDispatch* object) {
    DISPID id = IdOf(name);
    if (object) object->AddRef();
    if (IDispatch* old = FObjects[id]) old->Release();
    FObjects[id] = object;
}

void FakeDispatch::SetFailing(const std::wstring& name, HRESULT result) {
    FFailures[IdOf(name)] = result;
}

STDMETHODIMP FakeDispatch::QueryInterface(REFIID iid, void** object) {
    if (iid == IID_IUnknown || iid == IID_IDispatch) {
        *object = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) FakeDispatch::Release() {
    ULONG left = --FReferences;
    if (left == 0) delete this;
    return left;
}

STDMETHODIMP FakeDispatch::GetTypeInfoCount(UINT* count) {
    *count = 0;
    return S_OK;
}

// Only names made known by SetObject, SetFailing or a put are found; any
// other name is unknown, as on a real object without that member. Puts of
// new names are allowed so that the fake can record them.
STDMETHODIMP FakeDispatch::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    if (count != 1) return E_INVALIDARG;
    std::wstring key = Folded(names[0]);
    auto found = std::find(FNames.begin(), FNames.end(), key);
    if (found == FNames.end()) {
        // A property the test will see put: the style object's members.
        if (key != L"borderstyle" && key != L"scroll") {
            ids[0] = DISPID_UNKNOWN;
            return DISP_E_UNKNOWNNAME;
        }
        ids[0] = IdOf(key);
        return S_OK;
    }
    ids[0] = static_cast<DISPID>(found - FNames.begin()) + 1;
    return S_OK;
}

STDMETHODIMP FakeDispatch::Invoke(DISPID member, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                  VARIANT* result, EXCEPINFO*, UINT*) {
    if (member < 1 || member > static_cast<DISPID>(FNames.size())) return DISP_E_MEMBERNOTFOUND;
    if (auto failure = FFailures.find(member); failure != FFailures.end()) return failure->second;
    const std::wstring& name = FNames[member - 1];
    if (flags & DISPATCH_PROPERTYPUT) {
        if (!params || params->cArgs != 1 || params->cNamedArgs != 1 ||
            params->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT)
            return DISP_E_BADPARAMCOUNT;
        VARIANT text;
        VariantInit(&text);
        if (FAILED(VariantChangeType(&text, &params->rgvarg[0], 0, VT_BSTR)))
            return DISP_E_TYPEMISMATCH;
        Puts.push_back(name + L"=" + std::wstring(text.bstrVal, SysStringLen(text.bstrVal)));
        VariantClear(&text);
        return S_OK;
    }
    if (!(flags & DISPATCH_PROPERTYGET) || !result) return DISP_E_MEMBERNOTFOUND;
    auto object = FObjects.find(member);
    VariantInit(result);
    if (object == FObjects.end()) return DISP_E_MEMBERNOTFOUND;
    if (object->second) {
        result->vt = VT_DISPATCH;
        result->pdispVal = object->second;
        object->second->AddRef();
    } else {
        result->vt = VT_NULL;
    }
    return S_OK;
}
