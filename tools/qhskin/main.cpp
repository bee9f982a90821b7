// qhskin: packs skin folders into ".skn" skin files and takes them apart.
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>
#include <vector>

#include "core/exception.h"
#include "tools/qhskin/commands.h"
#include "tools/qhskin/skin_report.h"

namespace {

using TArgs = std::vector<std::string>;

struct TCommand {
    const char* Name;
    size_t ArgCount;
    const char* Usage;
    int (*Run)(const TArgs& args);
};

const TCommand kCommands[] = {
    {"pack", 2, "pack DIR OUT.skn   the INI and bitmaps of DIR into a skin file",
     [](const TArgs& a) { return qh::RunPack(a[0], a[1]); }},
    {"unpack", 2, "unpack IN.skn DIR  every member of a skin file into DIR",
     [](const TArgs& a) { return qh::RunUnpack(a[0], a[1]); }},
    {"list", 1, "list IN.skn        member names and sizes, in package order",
     [](const TArgs& a) { return qh::RunList(a[0]); }},
    {"inspect", 1, "inspect IN.skn     the parsed skin as JSON",
     [](const TArgs& a) { return qh::RunInspect(a[0]); }},
};

int Usage() {
    std::fprintf(stderr, "usage:\n");
    for (const TCommand& command : kCommands)
        std::fprintf(stderr, "  qhskin %s\n", command.Usage);
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Usage();
    const TArgs args(argv + 2, argv + argc);
    for (const TCommand& command : kCommands) {
        if (std::strcmp(argv[1], command.Name) != 0) continue;
        if (args.size() != command.ArgCount) return Usage();
        try {
            return command.Run(args);
        } catch (const qh::Exception& e) {
            return qh::ReportError(e.Message);
        } catch (const std::exception& e) {
            return qh::ReportError(e.what());
        }
    }
    return Usage();
}
