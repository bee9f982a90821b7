// Arbitrary bytes through the skin reader: as a packed skin, as a package
// the packer wraps (so the header checks see well-formed bit streams), and
// as a SkinStream carrier; then every member is read back.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "core/stream.h"
#include "skin/data/lzh_encoder.h"
#include "skin/data/skin_reader.h"

namespace {

// Bounded so a large size word costs the fuzzer time, not findings; the
// reader's own limit is tested by the suites.
constexpr int32_t kFuzzSizeLimit = 1 << 18;

void ReadEverything(const qh::TSkinReader& reader) {
    qh::TMemoryStream member;
    for (int i = 0; i < reader.MemberCount(); ++i) {
        reader.ExtractMember(reader.StoredNames().Strings(i), member);
        // Of two names equal but for case, the first member is the one read.
        int first = 0;
        while (reader.Names().Strings(first) != reader.Names().Strings(i))
            ++first;
        if (member.Size() != reader.MemberSize(first) || member.Position() != 0) __builtin_trap();
    }
    std::string name;
    reader.FindMember(".ini", member, name);
    reader.ExtractMember("no such member", member);
    if (member.Size() != 0) __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const uint8_t mode = data[0] % 3;
    std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    qh::TSkinReader reader;
    bool opened = false;
    // Where the packed skin's size word sits: after the carrier's length.
    const size_t sizeWord = mode == 2 ? 4 : 0;
    if (mode != 1 && bytes.size() >= sizeWord + 4) {
        int32_t unpacked;
        std::memcpy(&unpacked, bytes.data() + sizeWord, 4);
        if (unpacked > kFuzzSizeLimit) {
            unpacked %= kFuzzSizeLimit;
            std::memcpy(bytes.data() + sizeWord, &unpacked, 4);
        }
    }
    if (mode == 0) {
        qh::TMemoryStream packed(bytes);
        opened = reader.Open(packed);
    } else if (mode == 1) {
        const auto packed =
            qh::LzhPack(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
        qh::TMemoryStream stream(
            std::string_view(reinterpret_cast<const char*>(packed.data()), packed.size()));
        opened = reader.Open(stream);
    } else {
        qh::TMemoryStream carrier(bytes);
        opened = reader.OpenSkinStream(carrier);
    }
    if (opened != reader.IsOpen() || (!opened && reader.ErrorMessage().empty())) __builtin_trap();
    ReadEverything(reader);
    return 0;
}
