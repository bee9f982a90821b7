// The blocking TCP connection with its receive buffer, line and stream
// reading and send loop, and the client that opens it.
#pragma once

#include "core/stream.h"
#include "core/string_list.h"
#include "net/net_buffer.h"
#include "net/net_component.h"
#include "net/net_hooks.h"
#include "net/net_socket_handle.h"

#include <chrono>
#include <functional>
#include <memory>
#include <string>

namespace qh {

class TNetTCPConnection : public TNetComponent {
    QH_CLASS(TNetTCPConnection, TNetComponent)
    explicit TNetTCPConnection(TComponent* owner = nullptr);
    ~TNetTCPConnection() override;

    int RecvBufferSize = 32768;
    int SendBufferSize = 32768;
    bool ASCIIFilter = false;
    // A wait for data without a time limit of its own (timeout -2) gives up
    // after this many milliseconds with ENetReadTimedOut; 0 or less waits
    // without end.
    int ReadTimeout = 30000;
    // Gives every wait from now on (connecting included) at most ms in
    // all, so that one request ends in bounded time; 0 lifts the limit.
    void SetTimeLimit(int ms);
    // A line that grows beyond this many bytes raises ENetLineTooLong.
    int64_t MaxLineLength = 65536;
    std::function<void(TNetTCPConnection&)> OnDisconnected;

    TNetConnectionIntercept* Intercept() const { return FIntercept; }
    void SetIntercept(TNetConnectionIntercept* intercept);
    bool InterceptEnabled() const { return FInterceptEnabled; }
    // Raises ENetInterceptPropIsNil when there is no intercept to enable.
    void SetInterceptEnabled(bool enabled);

    TNetSocketHandle& Binding() { return FBinding; }
    TNetBuffer& InputBuffer() { return FInputBuffer; }
    bool ReadLineTimedOut() const { return FReadLnTimedOut; }

    void CloseConnection() { DropSocket(); }
    bool IsConnected();
    void CheckPeerClosed(bool raise = true, bool ignoreBuffer = false);
    void PollPeerClosed(bool raise = true);

    // One receive of up to the destination's size (the scratch when none);
    // returns the bytes received, 0 when nothing came within the timeout.
    int ReceiveChunk(bool raise, int timeoutMs, TNetBuffer* destination = nullptr,
                     bool append = true);
    // A line ended by the terminator (LF, with a CR before it dropped, when
    // the terminator is empty).
    std::string ReadLine(const std::string& terminator = "", int timeoutMs = -2);
    // count bytes, or everything until the peer closes; count -1 without
    // untilClose reads a 4-byte length first.
    void ReadToStream(TStream& stream, int64_t count = -1, bool untilClose = false);
    void ReadExact(void* buffer, int64_t count);
    std::string TakeBuffered(int64_t count);
    std::string TakeAllBuffered();
    int32_t ReadInteger();

    void SendBytes(const void* buffer, int64_t count);
    void WriteText(const std::string& text);
    void WriteLine(const std::string& text);
    void WriteLines(const TStringList& lines);
    // From the start (all) or the current position; writeSize sends the
    // length first as a 4-byte network-order integer.
    void WriteFromStream(TStream& stream, bool all = true, bool writeSize = false);
    void WriteInteger(int32_t value);

    // Batches sends until threshold bytes are waiting (0 = until closed).
    void OpenWriteBuffer(int64_t threshold = 0);
    void CloseWriteBuffer();
    void FlushWriteBuffer();

protected:
    void DropSocket();
    int StackRecv(void* buffer, int count);
    int StackSend(const void* buffer, int count);

    TNetSocketHandle FBinding;
    TNetBuffer FInputBuffer;
    TNetBuffer FRecvScratch;
    bool FPeerClosed = false;
    bool FReadLnTimedOut = false;

private:
    void SendNow(const char* bytes, int64_t count);
    bool WaitForData(int timeoutMs);

protected:
    // timeoutMs (-2 without end) shortened to what the time limit leaves.
    int WithinTimeLimit(int timeoutMs) const;

private:

    TNetConnectionIntercept* FIntercept = nullptr;
    bool FInterceptEnabled = false;
    std::unique_ptr<TNetBuffer> FWriteBuffer;
    int64_t FWriteThreshold = 0;
    std::chrono::steady_clock::time_point FDeadline{};
    bool FHasDeadline = false;
};

class TNetTCPClient : public TNetTCPConnection {
    QH_CLASS(TNetTCPClient, TNetTCPConnection)
    explicit TNetTCPClient(TComponent* owner = nullptr) : TNetTCPConnection(owner) {}

    std::string Host;
    int Port = 0;
    std::string BoundIP;
    bool UseNagle = true;
    // A connection attempt gives up after this many milliseconds with the
    // timed-out error; 0 or less waits as long as the system does.
    int ConnectTimeout = 30000;
    TSocksInfo SocksInfo;
    std::function<void(TNetTCPClient&)> OnConnected;

    // Raises ENetAlreadyConnected on an open connection; a failure leaves it closed.
    virtual void OpenConnection();
};

} // namespace qh
