// The general error report: an exception that leaves an event handler
// ends up here, is shown, and the program goes on.
#pragma once

#include <exception>
#include <string>

namespace qh {

// Shows the exception through the application (caption = its Title, text
// = the exception's message, OK and the error icon).
void ReportException(std::exception_ptr error);
// The message text of an exception, as a GBK byte string.
std::string ExceptionMessage(std::exception_ptr error);

} // namespace qh
