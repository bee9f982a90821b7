// The blocking HTTP/1.1 client: one request/response exchange at a time over
// the buffered TCP connection.
#pragma once

#include "core/stream.h"
#include "net/net_header_list.h"
#include "net/net_tcp.h"

#include <any>
#include <cstdint>
#include <functional>
#include <string>

namespace qh {

// Days since 30 December 1899 and the fraction of the day.
using TDateTime = double;

// One header set: the values a request sends or a response carried.
class TNetHeaderInfo {
public:
    std::string Accept = "text/html, */*";
    std::string AcceptCharSet;
    std::string AcceptEncoding;
    std::string AcceptLanguage;
    std::string From;
    std::string Referer;
    std::string UserAgent = "Mozilla/3.0 (compatible; Net Library)";
    std::string Connection;
    std::string ContentVersion;
    std::string ContentEncoding;
    std::string ContentLanguage;
    std::string ContentType;
    // Wide enough for bodies beyond 2 GB.
    int64_t ContentLength = 0;
    // Whether the response named its length, so that an explicit 0 is an
    // empty body and not a body that runs until the close.
    bool ContentLengthGiven = false;
    uint32_t ContentRangeStart = 0;
    uint32_t ContentRangeEnd = 0;
    std::string Username;
    std::string Password;
    std::string ProxyServer;
    int ProxyPort = 0;
    std::string ProxyUsername;
    std::string ProxyPassword;
    std::string Location;
    std::string Server;
    std::string WWWAuthenticate;
    std::string ProxyAuthenticate;
    TDateTime Date = 0;
    TDateTime LastModified = 0;
    TDateTime Expires = 0;
    TNetHeaderList ExtraHeaders;

    // The request lines of the set that are non-empty or non-zero, then
    // the extra headers.
    void SetHeaders(TNetHeaderList& headers) const;
    // Takes the known headers out of the list; what is left becomes
    // ExtraHeaders.
    void ProcessHeaders(TNetHeaderList& headers);
};

struct TNetUrlParts {
    std::string Protocol;
    std::string Host;
    std::string Path;
    std::string Document;
    std::string Port;
    std::string Bookmark;
};

TNetUrlParts SplitUrl(const std::string& url);

// An internet date ("Sun, 06 Nov 1994 08:49:37 GMT") as local time; a text
// that is no date gives the local offset from UTC itself.
TDateTime InternetDateToLocal(const std::string& text);
// Whole days from 30 December 1899; false for a day that does not exist.
bool TryEncodeDate(int year, int month, int day, TDateTime& date);

class TNetBodyLimit;

enum class TNetHTTPProtocolVersion { pv1_0, pv1_1 };
enum class TNetHTTPMethod { hmHead, hmGet, hmPost };

class TNetHTTP : public TNetTCPClient {
    QH_CLASS(TNetHTTP, TNetTCPClient)
    using TRedirectEvent =
        std::function<void(TNetHTTP&, std::string& dest, int& numRedirect, bool& handled)>;

    explicit TNetHTTP(TComponent* owner = nullptr);

    TNetHTTPProtocolVersion ProtocolVersion = TNetHTTPProtocolVersion::pv1_1;
    bool HandleRedirects = false;
    int RedirectMaximum = 15;
    // A response with more header lines raises ENetTooManyHeaders.
    int MaxHeaderCount = 1000;
    // A response body of more bytes than this (as announced, or as it
    // arrives) is not read on: the connection is dropped and
    // ENetBodyTooLarge raised. 0 or less takes a body of any size.
    int64_t MaxBodySize = 0;
    TNetHeaderInfo Request;
    TNetHeaderInfo Reply;
    TRedirectEvent OnRedirect;

    int StatusCode = 0;
    std::string StatusText;
    int RedirectDepth = 0;
    TNetHeaderList RawHeaders;
    std::string HostField;
    std::string ProtocolField;
    std::string TunnelHost;
    int TunnelPort = 0;
    std::string TunnelProtocol;

    // The body of the final response; every failure is an exception.
    std::string GetText(const std::string& url);
    void GetToStream(const std::string& url, TStream& stream);
    // The source of a POST is a TStringList* or a TStream*; anything else
    // raises ENetObjectTypeNotSupported.
    void PerformRequest(TNetHTTPMethod method, const std::string& url, TStream* response,
                        const std::any& source = {});

private:
    void ReadResult(TStream* response);
    void ReadBody(TNetBodyLimit& body);
    void ReadChunked(TNetBodyLimit& body);
    bool AskRedirect(std::string& dest);
    void Tunnel();

    bool FServerSpoke10 = false;
};

} // namespace qh
