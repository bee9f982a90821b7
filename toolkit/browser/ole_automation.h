// Late-bound automation: properties of an IDispatch object by name, as a
// script would reach them ("Document.body.Scroll").
#pragma once

#include "toolkit/browser/com_ptr.h"

#include <oaidl.h>

#include <string>
#include <string_view>

namespace qh {

// A VARIANT that clears itself.
class OleVariant {
public:
    OleVariant() { VariantInit(&FValue); }
    explicit OleVariant(std::wstring_view text);
    explicit OleVariant(long value);
    OleVariant(const OleVariant&) = delete;
    OleVariant& operator=(const OleVariant&) = delete;
    ~OleVariant() { VariantClear(&FValue); }

    VARIANT* Get() { return &FValue; }
    const VARIANT* Get() const { return &FValue; }
    // The value as an object; empty for VT_EMPTY, VT_NULL and a null dispatch.
    ComPtr<IDispatch> AsDispatch() const;

private:
    VARIANT FValue;
};

// A BSTR that frees itself.
class OleString {
public:
    explicit OleString(std::wstring_view text);
    OleString(const OleString&) = delete;
    OleString& operator=(const OleString&) = delete;
    ~OleString() { SysFreeString(FValue); }
    BSTR Get() const { return FValue; }

private:
    BSTR FValue;
};

// Both raise EOleError when the name is unknown or the call fails.
ComPtr<IDispatch> GetObjectProperty(IDispatch* object, const wchar_t* name);
void PutProperty(IDispatch* object, const wchar_t* name, const OleVariant& value);

} // namespace qh
