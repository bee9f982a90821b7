#include "skin/data/skin_reader.h"

#include <algorithm>
#include <cstring>

#include "core/exception.h"
#include "core/text.h"
#include "skin/data/lzh.h"

namespace qh {

namespace {

int32_t ReadInt32(const uint8_t* p) {
    return static_cast<int32_t>(uint32_t{p[0]} | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) |
                                (uint32_t{p[3]} << 24));
}

// Reads a little-endian word; bytes that are not there count as 0.
int32_t ReadInt32(TStream& stream, bool* complete = nullptr) {
    uint8_t bytes[4] = {0, 0, 0, 0};
    const int64_t got = stream.Read(bytes, 4);
    if (complete != nullptr) *complete = got == 4;
    return ReadInt32(bytes);
}

} // namespace

bool TSkinReader::Fail(std::string reason) {
    FOpen = false;
    FNames.Clear();
    FStoredNames.Clear();
    FSizes.clear();
    FOffsets.clear();
    FData.Clear();
    FErrorMessage = std::move(reason);
    return false;
}

bool TSkinReader::Open(TStream& packedSkin) {
    Fail("");
    FWrongVersion = false;
    FVersion = FNameTextLength = FReserved1 = FReserved2 = 0;

    packedSkin.SetPosition(0);
    const int32_t unpackedSize = ReadInt32(packedSkin);
    if (unpackedSize > kMaxUnpackedSize) {
        return Fail(Format("The skin's unpacked size of %d bytes is beyond the limit of %d MB",
                           unpackedSize, static_cast<int>(kMaxUnpackedSize / (1024 * 1024))));
    }
    // A size of 0 or below unpacks nothing: the empty package then fails on
    // its version like any other. A stream cut short would unpack to zero-bit
    // filler; that is a damaged skin, and stopping early keeps a damaged size
    // word from costing time.
    bool inputSufficed = true;
    const std::vector<uint8_t> package =
        TLZH::DecodeStream(packedSkin, unpackedSize, &inputSufficed);
    if (!inputSufficed) return Fail("Damaged skin: the packed data ends before the skin does");
    const int64_t packageSize = static_cast<int64_t>(package.size());

    uint8_t header[16] = {};
    if (packageSize > 0)
        std::memcpy(header, package.data(),
                    static_cast<size_t>(std::min<int64_t>(16, packageSize)));
    FVersion = ReadInt32(header);
    FNameTextLength = ReadInt32(header + 4);
    FReserved1 = ReadInt32(header + 8);
    FReserved2 = ReadInt32(header + 12);

    if (FVersion != kFormatVersion) {
        FWrongVersion = true;
        return Fail(kOlderSkinMessage);
    }
    if (FNameTextLength < 0 || 16 + int64_t{FNameTextLength} > packageSize) {
        return Fail(Format("Damaged skin: the member names (%d bytes) run past the end of the "
                           "package (%d bytes)",
                           FNameTextLength, static_cast<int>(packageSize)));
    }
    const char* nameText = reinterpret_cast<const char*>(package.data() + 16);
    const std::string_view names(nameText, static_cast<size_t>(FNameTextLength));
    TStringList storedNames;
    storedNames.SetText(names);
    const int count = storedNames.Count();
    if (count > kMaxMembers) {
        return Fail(Format("Damaged skin: %d members, more than the %d a skin can hold", count,
                           kMaxMembers));
    }
    const int64_t sizesStart = 16 + int64_t{FNameTextLength};
    const int64_t dataStart = sizesStart + 4 * int64_t{count};
    if (dataStart > packageSize)
        return Fail("Damaged skin: the member sizes run past the end of the package");

    std::vector<int32_t> sizes(static_cast<size_t>(count));
    std::vector<int64_t> offsets(static_cast<size_t>(count));
    int64_t dataLength = 0;
    for (int i = 0; i < count; ++i) {
        const int32_t size = ReadInt32(package.data() + sizesStart + 4 * i);
        if (size < 0) {
            return Fail(Format("Damaged skin: member \"%s\" has a negative size (%d)",
                               storedNames.Strings(i).c_str(), size));
        }
        offsets[static_cast<size_t>(i)] = dataLength;
        sizes[static_cast<size_t>(i)] = size;
        dataLength += size;
    }
    if (dataStart + dataLength > packageSize) {
        return Fail(Format("Damaged skin: the members need %d bytes but the package holds %d",
                           static_cast<int>(dataLength),
                           static_cast<int>(packageSize - dataStart)));
    }

    for (const std::string& name : storedNames.Items())
        FNames.Add(LowerCase(name));
    FStoredNames = std::move(storedNames);
    FSizes = std::move(sizes);
    FOffsets = std::move(offsets);
    FData.WriteBuffer(package.data() + dataStart, packageSize - dataStart);
    FData.SetPosition(0);
    FErrorMessage.clear();
    FOpen = true;
    return true;
}

bool TSkinReader::OpenFile(const std::string& fileName) {
    if (!FileExists(fileName))
        return Fail(Format("Cannot open skin file \"%s\": no such file", fileName.c_str()));
    try {
        TFileStream file(fileName, TFileMode::fmOpenRead);
        return Open(file);
    } catch (const EStreamError& error) {
        return Fail(error.Message);
    }
}

bool TSkinReader::OpenSkinStream(TStream& carrier) {
    bool complete = false;
    const int32_t length = ReadInt32(carrier, &complete);
    if (!complete) return Fail("Damaged skin: the skin stream has no length word");
    if (length <= 0) return Fail("The skin stream carries no skin");
    if (carrier.Size() - carrier.Position() < length)
        return Fail("Damaged skin: the skin stream is shorter than its length word says");
    TMemoryStream packed;
    packed.CopyFrom(carrier, length);
    return Open(packed);
}

int32_t TSkinReader::MemberSize(int index) const {
    if (index < 0 || index >= MemberCount()) RaiseListIndexError(index);
    return FSizes[static_cast<size_t>(index)];
}

void TSkinReader::WriteMember(int index, TStream& target) const {
    const size_t i = static_cast<size_t>(index);
    target.WriteBuffer(FData.Memory() + FOffsets[i], FSizes[i]);
    target.SetPosition(0);
}

void TSkinReader::ExtractMember(const std::string& name, TStream& target) const {
    target.SetSize(0);
    target.SetPosition(0);
    const std::string wanted = LowerCase(name);
    for (int i = 0; i < MemberCount(); ++i) {
        if (FNames.Strings(i) == wanted) {
            WriteMember(i, target);
            return;
        }
    }
}

void TSkinReader::FindMember(const std::string& text, TStream& target, std::string& name) const {
    target.SetSize(0);
    target.SetPosition(0);
    for (int i = 0; i < MemberCount(); ++i) {
        if (FNames.Strings(i).find(text) != std::string::npos) {
            WriteMember(i, target);
            name = FNames.Strings(i);
            return;
        }
    }
}

} // namespace qh
