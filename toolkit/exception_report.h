// The general error report: an exception that leaves an event handler
// ends up here, is shown, and the program goes on.
#pragma once

#include <windows.h>

#include <exception>
#include <functional>
#include <string>

namespace qh {

// Shows the exception through the application (caption = its Title, text
// = the exception's message, OK and the error icon).
void ReportException(std::exception_ptr error);
// The message text of an exception, as a GBK byte string.
std::string ExceptionMessage(std::exception_ptr error);

// The box of the report: MessageBoxW over owner, or the installed override.
void ShowErrorBox(HWND owner, const std::wstring& caption, const std::wstring& text, UINT flags);

using TErrorBoxFunc =
    std::function<void(const std::wstring& caption, const std::wstring& text, UINT flags)>;

// Replaces the box (tests see what it would show); an empty function
// restores MessageBoxW.
void SetErrorBoxOverride(TErrorBoxFunc func);

} // namespace qh
