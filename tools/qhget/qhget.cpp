// qhget URL: writes the body the client receives to standard output,
// unchanged, as it arrives; on failure "ClassName: Message" on standard
// error and exit 1 (after whatever part of the body was written already).
#include "core/exception.h"
#include "net/net_body_output.h"
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
    bool written = true;
    try {
        qh::TNetHTTP http;
        // Large receives: a big body costs fewer waits and calls.
        http.RecvBufferSize = 1 << 20;
        qh::TNetBodyOutput output(http, [](const char* bytes, size_t count) {
            return std::fwrite(bytes, 1, count, stdout) == count;
        });
        http.GetToStream(argv[1], output);
        written = output.Finish();
    } catch (const qh::Exception& e) {
        std::fflush(stdout);
        std::fprintf(stderr, "%s: %s", e.ClassName(), e.Message.c_str());
        return 1;
    } catch (const std::exception& e) {
        std::fflush(stdout);
        std::fprintf(stderr, "Exception: %s", e.what());
        return 1;
    }
    return std::fflush(stdout) == 0 && written ? 0 : 1;
}
