#include "toolkit/browser/browser_event_sink.h"

#include "toolkit/browser/com_ptr.h"
#include "toolkit/browser/ole_automation.h"

#include <exdisp.h>
#include <exdispid.h>
#include <oleauto.h>

namespace qh {

STDMETHODIMP TBrowserEventSink::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == DIID_DWebBrowserEvents2) {
        *object = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) TBrowserEventSink::AddRef() {
    return InterlockedIncrement(&FReferences);
}

STDMETHODIMP_(ULONG) TBrowserEventSink::Release() {
    ULONG left = InterlockedDecrement(&FReferences);
    if (left == 0) delete this;
    return left;
}

STDMETHODIMP TBrowserEventSink::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
}

STDMETHODIMP TBrowserEventSink::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
    if (info) *info = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP TBrowserEventSink::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
    return E_NOTIMPL;
}

namespace {

// Why an event's arguments could not be read, and which one.
struct TBadArgument {
    HRESULT Result;
    UINT Position; // as DISPPARAMS counts: the last argument is 0
};

// Argument `index` in declaration order; DISPPARAMS holds them last first.
// A by-reference variant (how DocumentComplete passes its address) is
// followed one level.
const VARIANT& Argument(const DISPPARAMS& params, UINT index) {
    if (!params.rgvarg || index >= params.cArgs) throw TBadArgument{DISP_E_BADPARAMCOUNT, 0};
    UINT position = params.cArgs - 1 - index;
    const VARIANT* value = &params.rgvarg[position];
    if (value->vt == (VT_VARIANT | VT_BYREF)) {
        if (!value->pvarVal) throw TBadArgument{DISP_E_TYPEMISMATCH, position};
        value = value->pvarVal;
    }
    return *value;
}

UINT Position(const DISPPARAMS& params, UINT index) {
    return params.cArgs - 1 - index;
}

void Convert(const DISPPARAMS& params, UINT index, VARTYPE type, TOleVariant& result) {
    VARIANT& source = const_cast<VARIANT&>(Argument(params, index)); // read only
    if (FAILED(VariantChangeType(result.Get(), &source, 0, type)))
        throw TBadArgument{DISP_E_TYPEMISMATCH, Position(params, index)};
}

long LongArgument(const DISPPARAMS& params, UINT index) {
    TOleVariant number;
    Convert(params, index, VT_I4, number);
    return number.Get()->lVal;
}

bool BoolArgument(const DISPPARAMS& params, UINT index) {
    TOleVariant flag;
    Convert(params, index, VT_BOOL, flag);
    return flag.Get()->boolVal != VARIANT_FALSE;
}

std::wstring TextArgument(const DISPPARAMS& params, UINT index) {
    TOleVariant text;
    Convert(params, index, VT_BSTR, text);
    BSTR value = text.Get()->bstrVal;
    return value ? std::wstring(value, SysStringLen(value)) : std::wstring();
}

ComPtr<IDispatch> DispatchArgument(const DISPPARAMS& params, UINT index) {
    const VARIANT& value = Argument(params, index);
    switch (value.vt) {
    case VT_EMPTY:
    case VT_NULL:
        return {};
    case VT_DISPATCH:
        return ComPtr<IDispatch>::Share(value.pdispVal);
    case VT_DISPATCH | VT_BYREF:
        if (value.ppdispVal) return ComPtr<IDispatch>::Share(*value.ppdispVal);
        return {};
    case VT_UNKNOWN: {
        ComPtr<IDispatch> result;
        if (value.punkVal) value.punkVal->QueryInterface(IID_IDispatch, result.PutVoid());
        return result;
    }
    default:
        throw TBadArgument{DISP_E_TYPEMISMATCH, Position(params, index)};
    }
}

} // namespace

void TBrowserEventSink::Dispatch(DISPID member, const DISPPARAMS& params) {
    switch (member) {
    case DISPID_DOWNLOADBEGIN:
        FTarget->DownloadBegin();
        break;
    case DISPID_DOWNLOADCOMPLETE:
        FTarget->DownloadComplete();
        break;
    case DISPID_COMMANDSTATECHANGE: {
        long command = LongArgument(params, 0);
        bool enable = BoolArgument(params, 1);
        FTarget->CommandStateChange(command, enable);
        break;
    }
    case DISPID_DOCUMENTCOMPLETE: {
        ComPtr<IDispatch> dispatch = DispatchArgument(params, 0);
        std::wstring address = TextArgument(params, 1);
        FTarget->DocumentComplete(dispatch.Get(), address);
        break;
    }
    default:
        break; // the many events the system does not use
    }
}

STDMETHODIMP TBrowserEventSink::Invoke(DISPID member, REFIID, LCID, WORD, DISPPARAMS* params,
                                      VARIANT* result, EXCEPINFO*, UINT* argumentError) {
    if (result) VariantInit(result);
    if (!FTarget) return S_OK;
    DISPPARAMS none = {};
    // Keep the sink alive through a handler that destroys the host.
    ComPtr<IDispatch> self = ComPtr<IDispatch>::Share(this);
    try {
        Dispatch(member, params ? *params : none);
    } catch (const TBadArgument& bad) {
        if (argumentError && bad.Result == DISP_E_TYPEMISMATCH) *argumentError = bad.Position;
        return bad.Result;
    } catch (...) {
        if (FTarget) FTarget->HandlerFailed(std::current_exception());
    }
    return S_OK;
}

} // namespace qh
