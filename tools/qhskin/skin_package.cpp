#include "tools/qhskin/skin_package.h"

#include "core/exception.h"
#include "core/text.h"
#include "skin/data/lzh_encoder.h"
#include "skin/data/skin_reader.h"

namespace qh {

namespace {

void PutInt32(std::vector<uint8_t>& out, int64_t value) {
    const uint32_t v = static_cast<uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<uint8_t>(v >> shift));
}

} // namespace

std::vector<uint8_t> BuildSkinPackage(const std::vector<TSkinMember>& members) {
    if (members.size() > static_cast<size_t>(TSkinReader::kMaxMembers)) {
        throw Exception(Format("%d members, more than the %d a skin can hold",
                               static_cast<int>(members.size()), TSkinReader::kMaxMembers));
    }
    std::string names;
    int64_t total = 16;
    for (const TSkinMember& member : members) {
        if (member.Name.empty()) throw Exception("A member has an empty name");
        if (member.Name.find_first_of("\r\n") != std::string::npos)
            throw Exception(Format("Member name \"%s\" holds a line break", member.Name.c_str()));
        names += member.Name;
        names += "\r\n";
        total += 4 + static_cast<int64_t>(member.Name.size()) + 2 +
                 static_cast<int64_t>(member.Data.size());
    }
    if (total > TSkinReader::kMaxUnpackedSize) {
        throw Exception(Format("The skin would unpack to %lld bytes, beyond the limit of %d MB",
                               static_cast<long long>(total),
                               static_cast<int>(TSkinReader::kMaxUnpackedSize / (1024 * 1024))));
    }

    std::vector<uint8_t> out;
    out.reserve(static_cast<size_t>(total));
    PutInt32(out, TSkinReader::kFormatVersion);
    PutInt32(out, static_cast<int64_t>(names.size()));
    PutInt32(out, 0); // reserved
    PutInt32(out, 0);
    out.insert(out.end(), names.begin(), names.end());
    for (const TSkinMember& member : members)
        PutInt32(out, static_cast<int64_t>(member.Data.size()));
    for (const TSkinMember& member : members)
        out.insert(out.end(), member.Data.begin(), member.Data.end());
    return out;
}

std::vector<uint8_t> PackSkin(const std::vector<TSkinMember>& members) {
    const std::vector<uint8_t> package = BuildSkinPackage(members);
    return LzhPack(package.data(), package.size());
}

} // namespace qh
