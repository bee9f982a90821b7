// Late-bound automation: properties of an IDispatch object by name, as a
// script would reach them ("Document.body.Scroll").
#pragma once

#include "toolkit/browser/com_ptr.h"

#include <oaidl.h>

#include <string>
#include <string_view>

namespace qh {

// A VARIANT that clears itself.
class TOleVariant {
public:
    TOleVariant() { VariantInit(&FValue); }
    explicit TOleVariant(std::wstring_view text);
    explicit TOleVariant(long value);
    TOleVariant(const TOleVariant&) = delete;
    TOleVariant& operator=(const TOleVariant&) = delete;
    ~TOleVariant() { VariantClear(&FValue); }

    VARIANT* Get() { return &FValue; }
    const VARIANT* Get() const { return &FValue; }
    // The value as an object; empty for VT_EMPTY, VT_NULL and a null dispatch.
    ComPtr<IDispatch> AsDispatch() const;

private:
    VARIANT FValue;
};

// A BSTR that frees itself.
class TOleString {
public:
    explicit TOleString(std::wstring_view text);
    TOleString(const TOleString&) = delete;
    TOleString& operator=(const TOleString&) = delete;
    ~TOleString() { SysFreeString(FValue); }
    BSTR Get() const { return FValue; }

private:
    BSTR FValue;
};

// Both raise EOleError when the name is unknown or the call fails.
ComPtr<IDispatch> GetObjectProperty(IDispatch* object, const wchar_t* name);
void PutProperty(IDispatch* object, const wchar_t* name, const TOleVariant& value);

} // namespace qh
