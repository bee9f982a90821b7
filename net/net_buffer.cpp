#include "net/net_buffer.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string_view>

namespace qh {

void TNetBuffer::Append(const void* bytes, int64_t count) {
    if (count <= 0) return;
    if (FStart > 0 && FData.size() + static_cast<size_t>(count) > FData.capacity()) {
        FData.erase(FData.begin(), FData.begin() + static_cast<ptrdiff_t>(FStart));
        FStart = 0;
    }
    const char* from = static_cast<const char*>(bytes);
    FData.insert(FData.end(), from, from + count);
}

void TNetBuffer::Drop(int64_t count) {
    FStart += static_cast<size_t>(std::min<int64_t>(count, Size()));
    if (FStart == FData.size()) Clear();
}

void TNetBuffer::Clear() {
    // Small storage is kept for the next receive; keeping more would let
    // one big response pin its memory.
    if (FData.capacity() > kKeptCapacity)
        std::vector<char>().swap(FData);
    else
        FData.clear();
    FStart = 0;
}

void TNetBuffer::SetSize(int64_t size) {
    FData.resize(FStart + static_cast<size_t>(std::max<int64_t>(size, 0)));
}

int64_t TNetBuffer::Find(const std::string& needle, int64_t from) const {
    std::string_view view(Data(), static_cast<size_t>(Size()));
    size_t at = view.find(needle, static_cast<size_t>(from));
    return at == std::string_view::npos ? -1 : static_cast<int64_t>(at);
}

} // namespace qh
