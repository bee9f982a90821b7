// qhget URL: writes the body the client receives to standard output,
// unchanged; on failure "ClassName: Message" on standard error and exit 1.
#include "core/exception.h"
#include "net/net_http.h"

#include <cstdio>
#include <exception>
#include <string>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: qhget URL\n", stderr);
        return 2;
    }
#ifdef _WIN32
    // Bytes unchanged on both streams: no CR put before each LF.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
#endif
    std::string body;
    try {
        qh::TNetHTTP http;
        body = http.GetText(argv[1]);
    } catch (const qh::Exception& e) {
        std::fprintf(stderr, "%s: %s", e.ClassName(), e.Message.c_str());
        return 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "Exception: %s", e.what());
        return 1;
    }
    if (!body.empty() && std::fwrite(body.data(), 1, body.size(), stdout) != body.size()) return 1;
    return std::fflush(stdout) == 0 ? 0 : 1;
}
