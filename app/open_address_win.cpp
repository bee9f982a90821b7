#include "app/open_address_win.h"

#include <shellapi.h>

#include <utility>

namespace qh {

namespace {

TOpenAddressFunc& OpenAddressOverride() {
    static TOpenAddressFunc func;
    return func;
}

} // namespace

void OpenAddress(HWND owner, const std::wstring& address) {
    if (OpenAddressOverride()) {
        OpenAddressOverride()(owner, address);
        return;
    }
    ShellExecuteW(owner, L"open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void SetOpenAddressOverride(TOpenAddressFunc func) {
    OpenAddressOverride() = std::move(func);
}

} // namespace qh
