// Building skin packages: the inverse of TSkinReader, for tools only.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qh {

struct TSkinMember {
    std::string Name; // a plain file name, single-byte text
    std::string Data;
};

// The unpacked package: version 20000, names, sizes, then the members' bytes.
// Raises Exception for a name that is empty or holds a line break, for more
// members than a skin can hold, or for a package past the reader's limit.
std::vector<uint8_t> BuildSkinPackage(const std::vector<TSkinMember>& members);

// The package packed with the LZH codec: the bytes of a ".skn" file.
std::vector<uint8_t> PackSkin(const std::vector<TSkinMember>& members);

} // namespace qh
