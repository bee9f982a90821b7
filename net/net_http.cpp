#include "net/net_http.h"

#include "core/exception.h"
#include "core/gbk.h"
#include "core/text.h"
#include "net/net_exceptions.h"
#include "net/net_text.h"
#include "net/net_timezone.h"

#include <cstdint>

namespace qh {

namespace {

const char* const kVersionText[] = {"1.0", "1.1"};
const char* const kMethodWord[] = {"HEAD ", "GET ", "POST "};

const char* VersionText(TNetHTTPProtocolVersion version) {
    return kVersionText[version == TNetHTTPProtocolVersion::pv1_0 ? 0 : 1];
}

// Removes and returns the text before the first delimiter (all of it
// when there is none), the delimiter dropped.
std::string Fetch(std::string& text, const std::string& delimiter) {
    size_t at = NetFind(text, delimiter);
    std::string head;
    if (at == std::string::npos) {
        head.swap(text);
    } else {
        head = text.substr(0, at);
        text.erase(0, at + delimiter.size());
    }
    return head;
}

// -1 when the URL names no port. A port it names must be a number from 1
// to 65535: anything else would reach another port, or none, unnoticed.
int UrlPortNumber(const std::string& text) {
    if (text.empty()) return -1;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9' || value > 65535) RaiseInvalidPort(text);
        value = value * 10 + (c - '0');
    }
    if (value < 1 || value > 65535) RaiseInvalidPort(text);
    return value;
}

int64_t ParseContentLength(const std::string& raw, bool& given) {
    std::string text = Trim(raw);
    given = false;
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    if (i == text.size()) return 0;
    int64_t value = 0;
    for (size_t k = i; k < text.size(); ++k) {
        char c = text[k];
        if (c < '0' || c > '9') return 0; // not a number: as if absent
        if (value > (INT64_MAX - (c - '0')) / 10)
            throw ENetInvalidContentLength(Format("Content-Length does not fit: %s", text.c_str()));
        value = value * 10 + (c - '0');
    }
    if (negative && value != 0)
        throw ENetInvalidContentLength(Format("Negative Content-Length: %s", text.c_str()));
    given = true;
    return value;
}

// Hexadecimal without sign or prefix; anything else is 0.
int64_t ParseChunkSize(const std::string& line) {
    std::string text = line;
    text = Fetch(text, " ");
    if (text.empty()) return 0;
    int64_t value = 0;
    for (char c : text) {
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return 0;
        if (value > (INT64_MAX >> 4))
            throw ENetChunkSizeTooLarge(
                Format("Chunk size does not fit: %s", GbkTruncate(text, 64).c_str()));
        value = (value << 4) | digit;
    }
    return value;
}

void AddIfSet(TNetHeaderList& headers, const char* name, const std::string& value) {
    if (!value.empty()) headers.Add(std::string(name) + ": " + value);
}

int MonthOf(const std::string& word) {
    static const char* const kMonths[] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                          "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
    for (int i = 0; i < 12; ++i)
        if (SameText(word.substr(0, 3), kMonths[i])) return i + 1;
    return 0;
}

bool IsDayName(const std::string& text) {
    static const char* const kDays[] = {"SUN", "MON", "TUE", "WED", "THU", "FRI", "SAT"};
    for (const char* day : kDays)
        if (SameText(text.substr(0, 3), day)) return true;
    return false;
}

} // namespace

// Passes a response body on to its stream and refuses it once it would pass
// the limit, so that what a server sends cannot outgrow the caller's memory.
class TNetBodyLimit : public TStream {
public:
    TNetBodyLimit(TStream& target, int64_t limit) : FTarget(target), FLimit(limit) {}

    // Raises when count more bytes would pass the limit.
    void Expect(int64_t count) const {
        if (FLimit > 0 && count > FLimit - FWritten)
            throw ENetBodyTooLarge(
                Format("Body larger than %lld bytes.", static_cast<long long>(FLimit)));
    }
    int64_t Read(void* buffer, int64_t count) override { return FTarget.Read(buffer, count); }
    int64_t Write(const void* buffer, int64_t count) override {
        Expect(count);
        const int64_t written = FTarget.Write(buffer, count);
        FWritten += written;
        return written;
    }
    int64_t Seek(int64_t offset, TSeekOrigin origin) override {
        return FTarget.Seek(offset, origin);
    }
    int64_t Size() override { return FTarget.Size(); }
    void SetSize(int64_t size) override { FTarget.SetSize(size); }

private:
    TStream& FTarget;
    const int64_t FLimit;
    int64_t FWritten = 0;
};

// ---- header sets

void TNetHeaderInfo::SetHeaders(TNetHeaderList& headers) const {
    AddIfSet(headers, "Accept", Accept);
    AddIfSet(headers, "Accept-Charset", AcceptCharSet);
    AddIfSet(headers, "Accept-Encoding", AcceptEncoding);
    AddIfSet(headers, "Accept-Language", AcceptLanguage);
    AddIfSet(headers, "From", From);
    AddIfSet(headers, "Referer", Referer);
    AddIfSet(headers, "User-Agent", UserAgent);
    AddIfSet(headers, "Connection", Connection);
    AddIfSet(headers, "Content-Version", ContentVersion);
    AddIfSet(headers, "Content-Encoding", ContentEncoding);
    AddIfSet(headers, "Content-Language", ContentLanguage);
    AddIfSet(headers, "Content-Type", ContentType);
    if (ContentLength != 0) headers.Add("Content-Length: " + IntToStr(ContentLength));
    if (ContentRangeStart != 0 || ContentRangeEnd != 0) {
        std::string range = "Range: bytes=" + IntToStr(ContentRangeStart) + "-";
        if (ContentRangeEnd != 0) range += IntToStr(ContentRangeEnd);
        headers.Add(range);
    }
    if (!Username.empty())
        headers.Add("Authorization: Basic " + Base64Encode(Username + ":" + Password));
    if (!ProxyServer.empty() && !ProxyUsername.empty())
        headers.Add("Proxy-Authorization: Basic " +
                    Base64Encode(ProxyUsername + ":" + ProxyPassword));
    for (const auto& line : ExtraHeaders.Lines())
        headers.Add(line);
}

void TNetHeaderInfo::ProcessHeaders(TNetHeaderList& headers) {
    auto take = [&headers](const char* name) {
        std::string value = headers.GetHeaderValue(name);
        headers.SetHeaderValue(name, "");
        return value;
    };
    Location = take("Location");
    Server = take("Server");
    Connection = take("Connection");
    ContentVersion = take("Content-Version");
    WWWAuthenticate = take("WWW-Authenticate");
    ContentEncoding = take("Content-Encoding");
    ContentLanguage = take("Content-Language");
    ContentType = take("Content-Type");
    ContentLength = ParseContentLength(take("Content-Length"), ContentLengthGiven);
    std::string range = take("Content-Range");
    ContentRangeStart = 0;
    ContentRangeEnd = 0;
    if (!range.empty()) {
        Fetch(range, " ");
        ContentRangeStart = static_cast<uint32_t>(StrToInt(Fetch(range, "-")));
        ContentRangeEnd = static_cast<uint32_t>(StrToInt(Fetch(range, "/")));
    }
    Date = InternetDateToLocal(take("Date"));
    LastModified = InternetDateToLocal(take("Last-Modified"));
    Expires = InternetDateToLocal(take("Expires"));
    ProxyAuthenticate = take("Proxy-Authenticate");
    ExtraHeaders.Clear();
    for (const auto& line : headers.Lines())
        ExtraHeaders.Add(line);
}

// ---- URLs and dates

TNetUrlParts SplitUrl(const std::string& url) {
    TNetUrlParts parts;
    std::string rest = url;
    for (size_t i = 0; i < rest.size(); i += GbkCharLength(rest, i))
        if (rest[i] == '\\') rest[i] = '/';
    size_t scheme = NetFind(rest, "://");
    if (scheme != std::string::npos) {
        parts.Protocol = rest.substr(0, scheme);
        rest.erase(0, scheme + 3);
        std::string hostPart = Fetch(rest, "/");
        parts.Host = Fetch(hostPart, ":");
        parts.Port = hostPart;
    }
    size_t slash = NetFindLast(rest, "/");
    if (slash != std::string::npos) {
        parts.Path = rest.substr(0, slash + 1);
        parts.Document = rest.substr(slash + 1);
    } else {
        parts.Document = rest;
    }
    if (parts.Path.empty() || parts.Path[0] != '/') parts.Path.insert(0, "/");
    size_t hash = NetFind(parts.Document, "#");
    if (hash != std::string::npos) {
        parts.Bookmark = parts.Document.substr(hash + 1);
        parts.Document.erase(hash);
    }
    return parts;
}

bool TryEncodeDate(int year, int month, int day, TDateTime& date) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1) return false;
    bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    int inMonth = kDays[month - 1] + (month == 2 && leap ? 1 : 0);
    if (day > inMonth) return false;
    // Days from the civil calendar, shifted so that 30 December 1899 is 0.
    int y = year - (month <= 2 ? 1 : 0);
    int era = y / 400;
    int yearOfEra = y - era * 400;
    int dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    long daysFrom1970 = static_cast<long>(era) * 146097 + dayOfEra - 719468;
    date = static_cast<double>(daysFrom1970 + 25569);
    return true;
}

TDateTime InternetDateToLocal(const std::string& raw) {
    std::string text = Trim(raw);
    TDateTime moment = 0;
    double zone = 0;
    if (IsDayName(text)) Fetch(text, " ");
    text = TrimLeft(text);
    int day = StrToIntDef(Fetch(text, " "), 1);
    text = TrimLeft(text);
    int month = MonthOf(Fetch(text, " "));
    text = TrimLeft(text);
    int year = StrToIntDef(Fetch(text, " "), 1900);
    if (year < 80)
        year += 2000;
    else if (year < 100)
        year += 1900;
    if (TryEncodeDate(year, month, day, moment)) {
        text = TrimLeft(text);
        if (text.find(':') != std::string::npos) {
            std::string clock = Fetch(text, " ");
            int hours = StrToIntDef(Fetch(clock, ":"), 0);
            int minutes = StrToIntDef(Fetch(clock, ":"), 0);
            int seconds = StrToIntDef(clock, 0);
            moment += (hours * 3600.0 + minutes * 60.0 + seconds) / 86400.0;
            text = TrimLeft(text);
        }
        if (text.size() > 4 && (text[0] == '+' || text[0] == '-')) {
            int zoneHours = StrToIntDef(text.substr(1, 2), 0);
            int zoneMinutes = StrToIntDef(text.substr(3, 2), 0);
            zone = (zoneHours * 60.0 + zoneMinutes) / 1440.0;
            if (text[0] == '-') zone = -zone;
        }
    } else {
        moment = 0;
    }
    return moment - zone + LocalUtcOffsetDays();
}

// ---- the client

QH_DEFINE_CLASS(TNetHTTP, TNetTCPClient)

TNetHTTP::TNetHTTP(TComponent* owner) : TNetTCPClient(owner) {
    Port = 80;
}

std::string TNetHTTP::GetText(const std::string& url) {
    TMemoryStream body;
    GetToStream(url, body);
    return body.ToString();
}

void TNetHTTP::GetToStream(const std::string& url, TStream& stream) {
    PerformRequest(TNetHTTPMethod::hmGet, url, &stream);
}

void TNetHTTP::PerformRequest(TNetHTTPMethod method, const std::string& url, TStream* response,
                              const std::any& source) {
    ++RedirectDepth;
    // A source the request cannot send is refused before any connection.
    const TStringList* sourceLines = nullptr;
    TStream* sourceStream = nullptr;
    if (method == TNetHTTPMethod::hmPost) {
        if (const auto* lines = std::any_cast<TStringList*>(&source))
            sourceLines = *lines;
        else if (const auto* stream = std::any_cast<TStream*>(&source))
            sourceStream = *stream;
        if (sourceLines == nullptr && sourceStream == nullptr)
            throw ENetObjectTypeNotSupported("Object type not supported.");
    }
    TNetUrlParts parts = SplitUrl(url);
    std::string target = parts.Path + parts.Document;
    int urlPort = UrlPortNumber(parts.Port);

    if (Request.ProxyServer.empty()) {
        bool secure = SameText(parts.Protocol, "HTTPS");
        if (secure && dynamic_cast<TNetSSLConnectionIntercept*>(Intercept()) == nullptr)
            throw ENetInterceptPropInvalid("Intercept value is not valid");
        if (!parts.Host.empty()) {
            if (Binding().HandleAllocated() && !(SameText(parts.Host, Host) && urlPort == Port))
                CloseConnection();
            Host = parts.Host;
            HostField = parts.Host;
            if (!parts.Protocol.empty()) ProtocolField = parts.Protocol;
        } else {
            HostField = Host;
        }
        Port = urlPort >= 0 ? urlPort : (secure ? 443 : 80);
        if (secure) SetInterceptEnabled(true);
    } else {
        Host = Request.ProxyServer;
        Port = Request.ProxyPort;
        if (!parts.Host.empty()) HostField = parts.Host;
        if (!parts.Protocol.empty()) ProtocolField = parts.Protocol;
        TunnelHost = parts.Host;
        TunnelPort = urlPort >= 0 ? urlPort : 443;
        TunnelProtocol = VersionText(ProtocolVersion);
        if (auto* ssl = dynamic_cast<TNetSSLConnectionIntercept*>(Intercept()))
            ssl->OnConnect = [this] { Tunnel(); };
        target = (parts.Protocol.empty() ? ProtocolField : parts.Protocol) + "://" +
                 (parts.Host.empty() ? HostField : parts.Host) + parts.Path + parts.Document;
    }

    CheckPeerClosed(false, false);
    if (!IsConnected()) OpenConnection();

    if (method == TNetHTTPMethod::hmPost) {
        Request.ContentLength = sourceLines != nullptr
                                    ? static_cast<int64_t>(sourceLines->Text().size())
                                    : sourceStream->Size();
    } else {
        Request.ContentLength = 0;
    }
    RawHeaders.Clear();
    Request.SetHeaders(RawHeaders);

    // One write for the whole head: separate small writes can each wait
    // for the peer's delayed acknowledgement.
    std::string head = std::string(kMethodWord[static_cast<int>(method)]) + target + " HTTP/" +
                       VersionText(ProtocolVersion) + "\r\nHost: " + HostField + "\r\n";
    for (const auto& line : RawHeaders.Lines())
        head += line + "\r\n";
    head += "\r\n";
    WriteText(head);
    if (sourceLines != nullptr) WriteLines(*sourceLines);
    if (sourceStream != nullptr) WriteFromStream(*sourceStream);

    StatusText = ReadLine();
    FServerSpoke10 = StatusText.size() >= 8 && SameText(StatusText.substr(5, 3), "1.0");
    size_t space = NetFind(StatusText, " ");
    StatusText = space == std::string::npos ? std::string() : StatusText.substr(space + 1);
    std::string codeText = StatusText;
    StatusCode = StrToInt(Fetch(codeText, " "));

    RawHeaders.Clear();
    for (std::string line = ReadLine(); !line.empty(); line = ReadLine()) {
        if (RawHeaders.Count() >= MaxHeaderCount)
            throw ENetTooManyHeaders(Format("More than %d header lines.", MaxHeaderCount));
        RawHeaders.Add(std::move(line));
    }
    Reply.ProcessHeaders(RawHeaders);

    bool redirect = (StatusCode / 100 == 3 && StatusCode != 304) || !Reply.Location.empty();
    if (!redirect) {
        ReadResult(response);
        if (StatusCode / 100 != 2) {
            if (InterceptEnabled()) CloseConnection();
            throw ENetProtocolReplyError(StatusText, StatusCode);
        }
    } else {
        ReadResult(response);
        std::string dest = Reply.Location;
        if (HandleRedirects && RedirectDepth < RedirectMaximum) {
            if (response != nullptr) response->SetPosition(0);
            if (AskRedirect(dest)) {
                if (ProtocolVersion == TNetHTTPProtocolVersion::pv1_0 || FServerSpoke10)
                    CloseConnection();
                PerformRequest(method, dest, response, source);
            }
        } else {
            if (!AskRedirect(dest)) throw ENetProtocolReplyError(StatusText, StatusCode);
            Reply.Location = dest;
        }
    }

    if (ProtocolVersion == TNetHTTPProtocolVersion::pv1_0 || FServerSpoke10) {
        CloseConnection();
    } else if (SameText(Trim(Reply.Connection), "CLOSE") && IsConnected()) {
        CloseConnection();
    } else {
        PollPeerClosed(false);
    }
    RedirectDepth = 0;
}

void TNetHTTP::ReadResult(TStream* response) {
    if (response == nullptr) return;
    // These statuses never carry a body; waiting for one would stall
    // until the peer closes.
    if (StatusCode / 100 == 1 || StatusCode == 204 || StatusCode == 304) return;
    TNetBodyLimit limited(*response, MaxBodySize);
    try {
        ReadBody(limited);
    } catch (const ENetBodyTooLarge&) {
        // The rest of the body is never read: the connection is of no use.
        CloseConnection();
        throw;
    }
}

void TNetHTTP::ReadBody(TNetBodyLimit& body) {
    if (Reply.ContentLength > 0) {
        body.Expect(Reply.ContentLength);
        ReadToStream(body, Reply.ContentLength);
    } else if (Reply.ContentLengthGiven) {
        // An explicit zero: nothing follows.
    } else if (NetFind(Reply.ExtraHeaders.GetHeaderValue("Transfer-Encoding"), "chunked") !=
               std::string::npos) {
        ReadChunked(body);
    } else {
        ReadToStream(body, -1, true);
    }
}

void TNetHTTP::ReadChunked(TNetBodyLimit& body) {
    ReportStatus(TNetStatus::hsStatusText, "Chunk Started");
    int64_t size = ParseChunkSize(ReadLine());
    while (size > 0) {
        body.Expect(size);
        ReadToStream(body, size);
        ReadLine();
        size = ParseChunkSize(ReadLine());
    }
    ReadLine();
}

bool TNetHTTP::AskRedirect(std::string& dest) {
    bool handled = HandleRedirects;
    if (OnRedirect) OnRedirect(*this, dest, RedirectDepth, handled);
    return handled;
}

void TNetHTTP::Tunnel() {
    SetInterceptEnabled(false);
    WriteLine("CONNECT " + TunnelHost + ":" + IntToStr(TunnelPort) + " HTTP/" + TunnelProtocol);
    WriteLine("");
    ReadLine();
    ReadLine();
    ReadLine();
    SetInterceptEnabled(true);
}

} // namespace qh
