// A growable byte buffer: the receive buffer and the receive scratch of a
// connection. Taking from the front only moves a start mark; the bytes are
// moved down when that saves growing.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qh {

class TNetBuffer {
public:
    int64_t Size() const { return static_cast<int64_t>(FData.size() - FStart); }
    bool Empty() const { return Size() == 0; }
    const char* Data() const { return FData.data() + FStart; }
    char* Data() { return FData.data() + FStart; }

    void Append(const void* bytes, int64_t count);
    // Removes count bytes from the front (count <= Size()).
    void Drop(int64_t count);
    void Clear();
    // Gives the buffer exactly this many usable bytes (for a scratch area).
    void SetSize(int64_t size);
    // The position of needle in the buffer, or -1.
    int64_t Find(const std::string& needle, int64_t from = 0) const;

    static constexpr size_t kKeptCapacity = 256 * 1024;

private:
    std::vector<char> FData;
    size_t FStart = 0;
};

} // namespace qh
