// Arbitrary bytes through the GIF reader; what it reads is written back and
// must read back the same.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/stream.h"
#include "images/gif_image.h"

namespace {

// Large screens cost the fuzzer time, not findings; the reader's own size
// limits are tested by the suites.
constexpr int64_t kFuzzScreenLimit = 1 << 20;

int Word(const std::string& bytes, size_t at) {
    return static_cast<uint8_t>(bytes[at]) | (static_cast<uint8_t>(bytes[at + 1]) << 8);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    if (bytes.size() >= 10 && int64_t{Word(bytes, 6)} * Word(bytes, 8) > kFuzzScreenLimit)
        bytes[9] = 0; // height below 256
    qh::TMemoryStream stream(bytes);
    qh::TGIFImage gif;
    try {
        gif.LoadFromStream(stream);
    } catch (const qh::EInvalidGraphic&) {
        if (!gif.Bitmap().Empty() || gif.Transparent()) __builtin_trap();
        return 0;
    }
    if (gif.Width() != Word(bytes, 6) || gif.Height() != Word(bytes, 8)) __builtin_trap();
    if (gif.Transparent() && (gif.TransparentIndex() < 0 || gif.TransparentIndex() > 255))
        __builtin_trap();
    if (stream.Position() > stream.Size()) __builtin_trap();

    qh::TMemoryStream saved;
    try {
        gif.SaveToStream(saved);
    } catch (const qh::EInvalidGraphic&) {
        // A local table's 256 colours and the background make 257.
        return 0;
    }
    saved.SetPosition(0);
    qh::TGIFImage again;
    again.LoadFromStream(saved);
    if (!(again.Bitmap() == gif.Bitmap())) __builtin_trap();
    return 0;
}
