#include "toolkit/browser/ole_automation.h"

#include "core/gbk.h"
#include "core/text.h"
#include "toolkit/browser/ole_session.h"

#include <oleauto.h>

#include <stdexcept>

namespace qh {

TOleVariant::TOleVariant(std::wstring_view text) {
    VariantInit(&FValue);
    FValue.vt = VT_BSTR;
    FValue.bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    if (!FValue.bstrVal) throw std::bad_alloc();
}

TOleVariant::TOleVariant(long value) {
    VariantInit(&FValue);
    FValue.vt = VT_I4;
    FValue.lVal = value;
}

ComPtr<IDispatch> TOleVariant::AsDispatch() const {
    const VARIANT* value = &FValue;
    if (value->vt == (VT_VARIANT | VT_BYREF) && value->pvarVal) value = value->pvarVal;
    if (value->vt == VT_DISPATCH) return ComPtr<IDispatch>::Share(value->pdispVal);
    if (value->vt == (VT_DISPATCH | VT_BYREF) && value->ppdispVal)
        return ComPtr<IDispatch>::Share(*value->ppdispVal);
    if (value->vt == VT_UNKNOWN && value->punkVal) {
        ComPtr<IDispatch> result;
        value->punkVal->QueryInterface(IID_IDispatch, result.PutVoid());
        return result;
    }
    return {};
}

TOleString::TOleString(std::wstring_view text)
    : FValue(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {
    if (!FValue) throw std::bad_alloc();
}

namespace {

DISPID FindMember(IDispatch* object, const wchar_t* name) {
    if (!object) throw EOleError("OLE error: no object for " + WideToGbk(name));
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    DISPID id = DISPID_UNKNOWN;
    HRESULT result = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(result)) RaiseOleError(WideToGbk(name).c_str(), result);
    return id;
}

} // namespace

ComPtr<IDispatch> GetObjectProperty(IDispatch* object, const wchar_t* name) {
    DISPID id = FindMember(object, name);
    DISPPARAMS none = {};
    TOleVariant value;
    HRESULT result = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none,
                                    value.Get(), nullptr, nullptr);
    if (FAILED(result)) RaiseOleError(WideToGbk(name).c_str(), result);
    return value.AsDispatch();
}

void PutProperty(IDispatch* object, const wchar_t* name, const TOleVariant& value) {
    DISPID id = FindMember(object, name);
    DISPID named = DISPID_PROPERTYPUT;
    VARIANT argument = *value.Get(); // a shallow copy: Invoke does not take ownership
    DISPPARAMS params = {&argument, &named, 1, 1};
    HRESULT result = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT,
                                    &params, nullptr, nullptr, nullptr);
    if (FAILED(result)) RaiseOleError(WideToGbk(name).c_str(), result);
}

} // namespace qh
