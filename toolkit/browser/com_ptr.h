// An owning COM interface pointer: one reference, released exactly once.
#pragma once

#include <objbase.h>

#include <type_traits>
#include <utility>

namespace qh {

template <class T> class ComPtr {
public:
    ComPtr() = default;
    ComPtr(std::nullptr_t) {}
    ComPtr(const ComPtr& other) : FPtr(other.FPtr) { AddRef(); }
    ComPtr(ComPtr&& other) noexcept : FPtr(std::exchange(other.FPtr, nullptr)) {}
    // From a pointer to a derived interface or class, as a base pointer converts.
    template <class U>
    requires std::is_convertible_v<U*, T*> ComPtr(const ComPtr<U>& other) : FPtr(other.Get()) {
        AddRef();
    }
    ~ComPtr() { Reset(); }

    ComPtr& operator=(ComPtr other) noexcept {
        std::swap(FPtr, other.FPtr);
        return *this;
    }

    // Takes over a reference the caller already owns (a factory's result).
    static ComPtr Adopt(T* ptr) {
        ComPtr result;
        result.FPtr = ptr;
        return result;
    }
    // Shares a pointer that someone else owns: adds a reference of its own.
    static ComPtr Share(T* ptr) {
        ComPtr result;
        result.FPtr = ptr;
        result.AddRef();
        return result;
    }

    T* Get() const { return FPtr; }
    T* operator->() const { return FPtr; }
    explicit operator bool() const { return FPtr != nullptr; }

    // For out-parameters: drops the current reference first.
    T** Put() {
        Reset();
        return &FPtr;
    }
    void** PutVoid() { return reinterpret_cast<void**>(Put()); }

    // Hands the reference to the caller (an out-parameter of our own COM object).
    T* Detach() { return std::exchange(FPtr, nullptr); }

    void Reset() {
        if (T* old = std::exchange(FPtr, nullptr)) old->Release();
    }

    // The interface U of the same object, or an empty pointer.
    template <class U> ComPtr<U> As() const {
        ComPtr<U> result;
        if (FPtr) FPtr->QueryInterface(__uuidof(U), result.PutVoid());
        return result;
    }

private:
    void AddRef() {
        if (FPtr) FPtr->AddRef();
    }

    T* FPtr = nullptr;
};

} // namespace qh
