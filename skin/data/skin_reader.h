// The skin package reader: unpacks a packed skin and hands out its members
// (one INI text and the bitmaps it names) by name.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/stream.h"
#include "core/string_list.h"

namespace qh {

// The text shown when a package carries another format version.
inline constexpr const char* kOlderSkinMessage =
    "This is Older Skin File\rPlease update to new version !";

class TSkinReader {
public:
    static constexpr int32_t kFormatVersion = 20000;
    static constexpr int kMaxMembers = 1001;
    // No real skin comes near this; a damaged size word must not cost more.
    static constexpr int64_t kMaxUnpackedSize = 64 * 1024 * 1024;

    // Unpacks the packed skin (read from position 0, as far as its size word
    // needs) and indexes its members. On false, ErrorMessage() says why and no member
    // can be read. The codec's ElzhException passes through.
    bool Open(TStream& packedSkin);
    // A ".skn" file; a missing or unreadable file is a failed open too.
    bool OpenFile(const std::string& fileName);
    // The SkinStream carrier: a signed 32-bit length N, then N bytes of one
    // packed skin. N of 0 or below carries no skin (a failed open).
    bool OpenSkinStream(TStream& carrier);

    // Empties target, then writes the first member whose name equals name
    // without regard to case, and positions target at 0. No match leaves
    // target empty.
    void ExtractMember(const std::string& name, TStream& target) const;
    // Empties target, then writes the first member whose lower-cased name
    // contains text (pass lower-case text), positions target at 0 and sets
    // name to that member's lower-cased name. No match leaves target empty
    // and name unchanged.
    void FindMember(const std::string& text, TStream& target, std::string& name) const;

    bool IsOpen() const { return FOpen; }
    // Why the last open failed; empty after a successful one.
    const std::string& ErrorMessage() const { return FErrorMessage; }
    // The last open failed on the format version (ErrorMessage() is then
    // kOlderSkinMessage, which the caller shows in a message box).
    bool WrongVersion() const { return FWrongVersion; }

    int MemberCount() const { return FNames.Count(); }
    // Lower-cased, in package order.
    const TStringList& Names() const { return FNames; }
    // As stored in the package, for tools that write members back to files.
    const TStringList& StoredNames() const { return FStoredNames; }
    int32_t MemberSize(int index) const;

    int32_t Version() const { return FVersion; }
    int32_t NameTextLength() const { return FNameTextLength; }
    int32_t Reserved1() const { return FReserved1; }
    int32_t Reserved2() const { return FReserved2; }

private:
    bool Fail(std::string reason);
    void WriteMember(int index, TStream& target) const;

    bool FOpen = false;
    bool FWrongVersion = false;
    std::string FErrorMessage;
    int32_t FVersion = 0;
    int32_t FNameTextLength = 0;
    int32_t FReserved1 = 0;
    int32_t FReserved2 = 0;
    TStringList FNames;
    TStringList FStoredNames;
    std::vector<int32_t> FSizes;
    std::vector<int64_t> FOffsets;
    TMemoryStream FData;
};

} // namespace qh
