// The network layer's exception family, rooted at ENetException. Messages
// are English byte strings.
#pragma once

#include "core/exception.h"

#include <string>

namespace qh {

QH_DECLARE_EXCEPTION(ENetException, Exception);

QH_DECLARE_EXCEPTION(ENetStackCanNotLoadWinsock, ENetException);
QH_DECLARE_EXCEPTION(ENetStackInitializationFailed, ENetException);
QH_DECLARE_EXCEPTION(ENetStackSetSizeExceeded, ENetException);
QH_DECLARE_EXCEPTION(ENetInvalidSocket, ENetException);
QH_DECLARE_EXCEPTION(ENetCouldNotBindSocket, ENetException);
QH_DECLARE_EXCEPTION(ENetAlreadyConnected, ENetException);
QH_DECLARE_EXCEPTION(ENetConnClosedGracefully, ENetException);
QH_DECLARE_EXCEPTION(ENetNotEnoughDataInBuffer, ENetException);
QH_DECLARE_EXCEPTION(ENetNoDataToRead, ENetException);
QH_DECLARE_EXCEPTION(ENetInterceptPropIsNil, ENetException);
QH_DECLARE_EXCEPTION(ENetInterceptPropInvalid, ENetException);
QH_DECLARE_EXCEPTION(ENetObjectTypeNotSupported, ENetException);
QH_DECLARE_EXCEPTION(ENetFailedToRetreiveTimeZoneInfo, ENetException);

// Bounds that keep a misbehaving server from freezing the caller or
// exhausting memory.
QH_DECLARE_EXCEPTION(ENetReadTimedOut, ENetException);
QH_DECLARE_EXCEPTION(ENetLineTooLong, ENetException);
QH_DECLARE_EXCEPTION(ENetTooManyHeaders, ENetException);
QH_DECLARE_EXCEPTION(ENetChunkSizeTooLarge, ENetException);
QH_DECLARE_EXCEPTION(ENetInvalidContentLength, ENetException);
QH_DECLARE_EXCEPTION(ENetBodyTooLarge, ENetException);
// A port that is not a number from 1 to 65535, refused before connecting.
QH_DECLARE_EXCEPTION(ENetInvalidPort, ENetException);

// A failed socket call: "Socket Error # %d\r\n%s".
class ENetSocketError : public ENetException {
public:
    explicit ENetSocketError(int code);
    const char* ClassName() const override { return "ENetSocketError"; }
    int SocketErrorCode;
};

// An HTTP status the client does not accept; ErrorCode is the status.
class ENetProtocolReplyError : public ENetException {
public:
    ENetProtocolReplyError(std::string message, int errorCode)
        : ENetException(std::move(message)), ErrorCode(errorCode) {}
    const char* ClassName() const override { return "ENetProtocolReplyError"; }
    int ErrorCode;
};

// The text the socket error table gives for a code; empty when unknown.
const char* SocketErrorText(int code);

[[noreturn]] void RaiseSocketErrorFor(int code);
// ENetInvalidPort for the port as it was written.
[[noreturn]] void RaiseInvalidPort(const std::string& port);

} // namespace qh
