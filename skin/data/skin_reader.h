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

    bool IsOpen() const { return open_; }
    // Why the last open failed; empty after a successful one.
    const std::string& ErrorMessage() const { return errorMessage_; }
    // The last open failed on the format version (ErrorMessage() is then
    // kOlderSkinMessage, which the caller shows in a message box).
    bool WrongVersion() const { return wrongVersion_; }

    int MemberCount() const { return names_.Count(); }
    // Lower-cased, in package order.
    const TStringList& Names() const { return names_; }
    // As stored in the package, for tools that write members back to files.
    const TStringList& StoredNames() const { return storedNames_; }
    int32_t MemberSize(int index) const;

    int32_t Version() const { return version_; }
    int32_t NameTextLength() const { return nameTextLength_; }
    int32_t Reserved1() const { return reserved1_; }
    int32_t Reserved2() const { return reserved2_; }

private:
    bool Fail(std::string reason);
    void WriteMember(int index, TStream& target) const;

    bool open_ = false;
    bool wrongVersion_ = false;
    std::string errorMessage_;
    int32_t version_ = 0;
    int32_t nameTextLength_ = 0;
    int32_t reserved1_ = 0;
    int32_t reserved2_ = 0;
    TStringList names_;
    TStringList storedNames_;
    std::vector<int32_t> sizes_;
    std::vector<int64_t> offsets_;
    TMemoryStream data_;
};

} // namespace qh
