#include "net/net_tcp.h"

#include "core/text.h"
#include "net/net_exceptions.h"

#include <algorithm>
#include <cstring>

namespace qh {

namespace {

[[noreturn]] void RaiseClosedGracefully() {
    throw ENetConnClosedGracefully("Connection Closed Gracefully.");
}

} // namespace

QH_DEFINE_CLASS(TNetTCPConnection, TNetComponent)
QH_DEFINE_CLASS(TNetTCPClient, TNetTCPConnection)

TNetTCPConnection::TNetTCPConnection(TComponent* owner) : TNetComponent(owner), FBinding(Stack()) {
    FRecvScratch.SetSize(RecvBufferSize);
}

TNetTCPConnection::~TNetTCPConnection() {
    FBinding.CloseSocket(true);
}

void TNetTCPConnection::SetIntercept(TNetConnectionIntercept* intercept) {
    FIntercept = intercept;
    if (FIntercept == nullptr) FInterceptEnabled = false;
}

void TNetTCPConnection::SetInterceptEnabled(bool enabled) {
    if (enabled && FIntercept == nullptr)
        throw ENetInterceptPropIsNil(
            "InterceptEnabled cannot be set to true when Intercept is nil.");
    FInterceptEnabled = enabled;
}

bool TNetTCPConnection::IsConnected() {
    CheckPeerClosed(false, false);
    return FBinding.HandleAllocated();
}

void TNetTCPConnection::CheckPeerClosed(bool raise, bool ignoreBuffer) {
    if (!FPeerClosed && FBinding.HandleAllocated()) return;
    if (FBinding.HandleAllocated()) DropSocket();
    if (raise && (FInputBuffer.Empty() || ignoreBuffer)) RaiseClosedGracefully();
}

void TNetTCPConnection::PollPeerClosed(bool raise) {
    ReceiveChunk(raise, 1);
}

void TNetTCPConnection::SetTimeLimit(int ms) {
    FHasDeadline = ms > 0;
    FDeadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
}

int TNetTCPConnection::WithinTimeLimit(int timeoutMs) const {
    if (!FHasDeadline) return timeoutMs;
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                          FDeadline - std::chrono::steady_clock::now())
                          .count();
    const int remaining = static_cast<int>(std::max<int64_t>(left, 0));
    return timeoutMs < 0 ? remaining : std::min(timeoutMs, remaining);
}

bool TNetTCPConnection::WaitForData(int timeoutMs) {
    TNetAntiFreezeBase* antiFreeze = TNetAntiFreezeBase::Instance();
    if (antiFreeze == nullptr || !antiFreeze->Active) return FBinding.WaitReadable(timeoutMs);
    // Wait in slices so that window messages are handled meanwhile.
    int slice = std::max(antiFreeze->IdleTimeOut, 1);
    int left = timeoutMs;
    for (;;) {
        int now = left == -2 ? slice : std::min(slice, left);
        if (FBinding.WaitReadable(now)) return true;
        if (left != -2) {
            left -= now;
            if (left <= 0) return false;
        }
        antiFreeze->Process();
    }
}

int TNetTCPConnection::StackRecv(void* buffer, int count) {
    if (FInterceptEnabled && FIntercept->HandlesRecv)
        return FIntercept->Recv(FBinding.Handle(), buffer, count);
    return Stack().Recv(FBinding.Handle(), buffer, count);
}

int TNetTCPConnection::StackSend(const void* buffer, int count) {
    if (FInterceptEnabled && FIntercept->HandlesSend)
        return FIntercept->SendRaw(FBinding.Handle(), buffer, count);
    return Stack().Send(FBinding.Handle(), buffer, count);
}

int TNetTCPConnection::ReceiveChunk(bool raise, int timeoutMs, TNetBuffer* destination,
                                    bool append) {
    CheckPeerClosed(raise, false);
    if (!IsConnected()) return 0;
    if (destination == nullptr) {
        if (FRecvScratch.Size() != RecvBufferSize) FRecvScratch.SetSize(RecvBufferSize);
        destination = &FRecvScratch;
    }
    bool bounded = timeoutMs == -2 && (ReadTimeout > 0 || FHasDeadline);
    const int wait = WithinTimeLimit(timeoutMs == -2 && ReadTimeout > 0 ? ReadTimeout : timeoutMs);
    if (!WaitForData(wait)) {
        // An unanswered wait must not hold the caller for ever.
        if (bounded)
            throw ENetReadTimedOut(Format("Read timed out: no data within %d ms.", wait));
        return 0;
    }
    int count = static_cast<int>(std::min<int64_t>(destination->Size(), INT32_MAX));
    // Appended bytes land straight at the end of the read buffer.
    const bool direct = append && destination == &FRecvScratch;
    const int64_t before = FInputBuffer.Size();
    if (direct) FInputBuffer.SetSize(before + count);
    char* target = direct ? FInputBuffer.Data() + before : destination->Data();
    int received = -1;
    try {
        received = StackRecv(target, count);
    } catch (...) {
        if (direct) FInputBuffer.SetSize(before);
        throw;
    }
    if (direct) FInputBuffer.SetSize(before + std::max(received, 0));
    if (received == 0) FPeerClosed = true;
    if (received < 0) {
        int code = Stack().LastError();
        if (code != NetError::Shutdown) RaiseSocketErrorFor(code);
        FBinding.CloseSocket();
        if (FInputBuffer.Empty()) RaiseSocketErrorFor(code);
        received = 0;
    }
    if (received > 0) {
        if (append && !direct)
            FInputBuffer.Append(destination->Data(), received);
        else if (!append)
            DoWork(TWorkMode::wmRead, received);
        if (FInterceptEnabled) FIntercept->Receive(target, received);
    }
    CheckPeerClosed(raise, false);
    return received;
}

std::string TNetTCPConnection::ReadLine(const std::string& terminator, int timeoutMs) {
    bool defaulted = terminator.empty();
    const std::string ending = defaulted ? std::string("\n") : terminator;
    FReadLnTimedOut = false;
    int64_t searched = 0;
    int64_t at = -1;
    for (;;) {
        if (!FInputBuffer.Empty()) {
            at = FInputBuffer.Find(ending, searched);
            if (at >= 0) break;
            searched = std::max<int64_t>(0, FInputBuffer.Size() - (int64_t)ending.size() + 1);
            if (FInputBuffer.Size() > MaxLineLength)
                throw ENetLineTooLong(
                    Format("Line longer than %lld bytes.", static_cast<long long>(MaxLineLength)));
        }
        CheckPeerClosed(true, true);
        if (ReceiveChunk(true, timeoutMs) == 0) {
            FReadLnTimedOut = true;
            return "";
        }
    }
    if (at > MaxLineLength)
        throw ENetLineTooLong(
            Format("Line longer than %lld bytes.", static_cast<long long>(MaxLineLength)));
    std::string line = TakeBuffered(at + static_cast<int64_t>(ending.size()));
    line.resize(static_cast<size_t>(at));
    if (defaulted && !line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

void TNetTCPConnection::ReadToStream(TStream& stream, int64_t count, bool untilClose) {
    if (count == -1 && !untilClose) count = static_cast<uint32_t>(ReadInteger());
    // The count is the peer's claim: the stream grows only with bytes that
    // have arrived.
    TWorkPhase phase(*this, TWorkMode::wmRead, untilClose ? 0 : count);
    int64_t remaining = untilClose ? -1 : count;
    if (!FInputBuffer.Empty()) {
        int64_t take =
            remaining < 0 ? FInputBuffer.Size() : std::min(remaining, FInputBuffer.Size());
        stream.WriteBuffer(FInputBuffer.Data(), take);
        FInputBuffer.Drop(take);
        if (FInputBuffer.Empty()) FInputBuffer.Clear();
        DoWork(TWorkMode::wmRead, take);
        if (remaining > 0) remaining -= take;
    }
    while ((remaining != 0) && IsConnected()) {
        int64_t want =
            remaining < 0 ? RecvBufferSize : std::min<int64_t>(remaining, RecvBufferSize);
        if (FRecvScratch.Size() != want) FRecvScratch.SetSize(want);
        int got = ReceiveChunk(!untilClose, -2, &FRecvScratch, false);
        if (got > 0) {
            stream.WriteBuffer(FRecvScratch.Data(), got);
            if (remaining > 0) remaining -= got;
        }
    }
    if (remaining > 0) RaiseClosedGracefully();
    int64_t position = stream.Position();
    if (stream.Size() > position) stream.SetSize(position);
}

void TNetTCPConnection::ReadExact(void* buffer, int64_t count) {
    char* target = static_cast<char*>(buffer);
    while (FInputBuffer.Size() < count) {
        if (ReceiveChunk(true, -2) == 0 && !IsConnected()) RaiseClosedGracefully();
    }
    std::memcpy(target, FInputBuffer.Data(), static_cast<size_t>(count));
    FInputBuffer.Drop(count);
    DoWork(TWorkMode::wmRead, count);
}

std::string TNetTCPConnection::TakeBuffered(int64_t count) {
    if (count > FInputBuffer.Size()) throw ENetNotEnoughDataInBuffer("Not enough data in buffer.");
    std::string bytes(FInputBuffer.Data(), static_cast<size_t>(count));
    FInputBuffer.Drop(count);
    DoWork(TWorkMode::wmRead, count);
    return bytes;
}

std::string TNetTCPConnection::TakeAllBuffered() {
    return TakeBuffered(FInputBuffer.Size());
}

int32_t TNetTCPConnection::ReadInteger() {
    unsigned char bytes[4];
    ReadExact(bytes, 4);
    return static_cast<int32_t>((uint32_t(bytes[0]) << 24) | (uint32_t(bytes[1]) << 16) |
                                (uint32_t(bytes[2]) << 8) | uint32_t(bytes[3]));
}

void TNetTCPConnection::SendBytes(const void* buffer, int64_t count) {
    if (count <= 0) return;
    CheckPeerClosed(true, true);
    const char* bytes = static_cast<const char*>(buffer);
    if (FWriteBuffer) {
        FWriteBuffer->Append(bytes, count);
        if (FWriteThreshold > 0 && FWriteBuffer->Size() >= FWriteThreshold) FlushWriteBuffer();
        return;
    }
    SendNow(bytes, count);
}

void TNetTCPConnection::SendNow(const char* bytes, int64_t count) {
    TWorkPhase phase(*this, TWorkMode::wmWrite, count);
    while (count > 0) {
        int piece = static_cast<int>(std::min<int64_t>(count, INT32_MAX));
        int sent = StackSend(bytes, piece);
        if (sent == 0) FPeerClosed = true;
        CheckPeerClosed(true, false);
        if (sent < 0) {
            int code = Stack().LastError();
            if (code == NetError::Shutdown) FBinding.CloseSocket();
            RaiseSocketErrorFor(code);
        }
        DoWork(TWorkMode::wmWrite, sent);
        if (FInterceptEnabled) FIntercept->Send(bytes, sent);
        bytes += sent;
        count -= sent;
    }
}

void TNetTCPConnection::WriteText(const std::string& text) {
    SendBytes(text.data(), static_cast<int64_t>(text.size()));
}

void TNetTCPConnection::WriteLine(const std::string& text) {
    WriteText(text + "\r\n");
}

void TNetTCPConnection::WriteLines(const TStringList& lines) {
    for (const auto& line : lines.Items())
        WriteLine(line);
}

void TNetTCPConnection::WriteFromStream(TStream& stream, bool all, bool writeSize) {
    if (all) stream.SetPosition(0);
    int64_t left = stream.Size() - stream.Position();
    if (writeSize) WriteInteger(static_cast<int32_t>(left));
    std::string piece(static_cast<size_t>(std::max(SendBufferSize, 1)), '\0');
    while (left > 0) {
        int64_t want = std::min<int64_t>(left, static_cast<int64_t>(piece.size()));
        int64_t got = stream.Read(piece.data(), want);
        if (got <= 0) throw ENetNoDataToRead("No data to read.");
        SendBytes(piece.data(), got);
        left -= got;
    }
}

void TNetTCPConnection::WriteInteger(int32_t value) {
    uint32_t v = static_cast<uint32_t>(value);
    unsigned char bytes[4] = {static_cast<unsigned char>(v >> 24),
                              static_cast<unsigned char>(v >> 16),
                              static_cast<unsigned char>(v >> 8), static_cast<unsigned char>(v)};
    SendBytes(bytes, 4);
}

void TNetTCPConnection::OpenWriteBuffer(int64_t threshold) {
    FWriteBuffer = std::make_unique<TNetBuffer>();
    FWriteThreshold = threshold;
}

void TNetTCPConnection::CloseWriteBuffer() {
    FlushWriteBuffer();
    FWriteBuffer.reset();
}

void TNetTCPConnection::FlushWriteBuffer() {
    if (!FWriteBuffer || FWriteBuffer->Empty()) return;
    TNetBuffer pending;
    std::swap(pending, *FWriteBuffer);
    SendNow(pending.Data(), pending.Size());
}

void TNetTCPConnection::DropSocket() {
    if (FBinding.HandleAllocated()) {
        ReportStatus(TNetStatus::hsDisconnecting, FBinding.PeerIP);
        FBinding.CloseSocket(true);
        FBinding.Reset();
        FPeerClosed = true;
        ReportStatus(TNetStatus::hsDisconnected);
        if (OnDisconnected) OnDisconnected(*this);
    }
    if (FInterceptEnabled) FIntercept->Disconnect();
}

void TNetTCPClient::OpenConnection() {
    if (FBinding.HandleAllocated()) throw ENetAlreadyConnected("Already connected.");
    if (Port < 1 || Port > 65535) RaiseInvalidPort(IntToStr(Port));
    FBinding.Reset();
    FInputBuffer.Clear();
    FPeerClosed = false;
    FBinding.AllocateSocket(TNetSocketType::Stream, 0);
    try {
        int bound = Stack().Bind(FBinding.Handle(), BoundIP, 0);
        if (bound == -1) {
            int code = Stack().LastError();
            if (code == NetError::AddressInUse)
                throw ENetCouldNotBindSocket(
                    "Could not bind socket. Address and port are already in use.");
            RaiseSocketErrorFor(code);
        }
        FBinding.ReadLocalAddress();
        if (SocksInfo.Version != TSocksVersion::svNoSocks)
            // Not built: the system never routes through a SOCKS proxy.
            throw ENetException("SOCKS proxies are not supported.");
        if (!TNetStack::IsDottedQuad(Host)) ReportStatus(TNetStatus::hsResolving, Host);
        FBinding.SetPeer(Stack().ResolveHostName(Host), Port);
        if (!UseNagle) Stack().CheckSocketResult(Stack().SetNoDelay(FBinding.Handle(), true));
        ReportStatus(TNetStatus::hsConnecting, FBinding.PeerIP);
        Stack().CheckSocketResult(Stack().Connect(FBinding.Handle(), FBinding.PeerIP, Port,
                                                  WithinTimeLimit(ConnectTimeout > 0 ? ConnectTimeout : -2)));
        FBinding.ReadLocalAddress();
        FBinding.ReadPeerAddress();
    } catch (...) {
        try {
            DropSocket();
        } catch (...) {
        }
        throw;
    }
    if (InterceptEnabled()) Intercept()->Connect(*this);
    ReportStatus(TNetStatus::hsConnected, FBinding.PeerIP);
    if (OnConnected) OnConnected(*this);
}

} // namespace qh
