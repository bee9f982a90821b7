// The exception base of the whole system and the runtime's own errors.
// Messages are byte strings in code page 936, like every text of the program.
#pragma once

#include <exception>
#include <string>

namespace qh {

class Exception : public std::exception {
public:
    explicit Exception(std::string message) : Message(std::move(message)) {}
    const char* what() const noexcept override { return Message.c_str(); }
    // The class name as the error reports and tools print it.
    virtual const char* ClassName() const { return "Exception"; }

    std::string Message;
};

// Declares an exception class that only adds its own name.
#define QH_DECLARE_EXCEPTION(Name, Base)                                                        \
    class Name : public Base {                                                                  \
    public:                                                                                     \
        using Base::Base;                                                                       \
        const char* ClassName() const override { return #Name; }                                \
    }

// A text that is not an integer: "'%s' 不是一个有效的整形值".
QH_DECLARE_EXCEPTION(EConvertError, Exception);
// A list index out of range: "列表索引越界 (%d)".
QH_DECLARE_EXCEPTION(EListError, Exception);
QH_DECLARE_EXCEPTION(EStreamError, Exception);
QH_DECLARE_EXCEPTION(EReadError, EStreamError);
QH_DECLARE_EXCEPTION(EWriteError, EStreamError);
QH_DECLARE_EXCEPTION(EFOpenError, EStreamError);
QH_DECLARE_EXCEPTION(EFCreateError, EStreamError);

[[noreturn]] void RaiseConvertError(const std::string& text);
[[noreturn]] void RaiseListIndexError(int index);

} // namespace qh
