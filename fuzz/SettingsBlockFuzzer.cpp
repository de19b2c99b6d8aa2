// Any 1024 bytes decode; encoding writes exactly the bytes the codec owns and reproduces them.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "FuzzCheck.h"
#include "settings/MouseSettings.h"
#include "settings/SettingsBlock.h"

using namespace lark;

namespace {

constexpr std::uint8_t kCanary = 0xA5;

bool ownedByCodec(std::size_t offset)
{
    return offset == 0x00 || (offset >= 0x05 && offset < kEncodedSettingsEnd);
}

// A record whose every field holds something other than what a decode is likely to put there,
// so a field the decoder forgets shows up as a difference.
MouseSettings scribbled(std::uint8_t seed)
{
    MouseSettings s;
    auto* raw = reinterpret_cast<unsigned char*>(&s);
    for (std::size_t i = 0; i < sizeof s; ++i)
        raw[i] = static_cast<unsigned char>(seed + i * 31);
    return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // Short inputs are the start of a block whose rest is zero; longer ones are cut.
    SettingsBlock input{};
    std::memcpy(input.data(), data, std::min(size, input.size()));

    MouseSettings fromDefaults;
    setDefaults(fromDefaults);
    decodeSettings(input, fromDefaults);
    MouseSettings fromGarbage = scribbled(size > 0 ? data[0] : 0);
    decodeSettings(input, fromGarbage);
    // Every field is overwritten: what the record held before makes no difference.
    SettingsBlock encodedA{}, encodedB{};
    encodeSettings(fromDefaults, encodedA);
    encodeSettings(fromGarbage, encodedB);
    FUZZ_CHECK(encodedA == encodedB);

    // Decode then encode reproduces the codec's bytes and leaves the rest zero.
    for (std::size_t i = 0; i < kSettingsBlockSize; ++i)
        FUZZ_CHECK(encodedA[i] == (ownedByCodec(i) ? input[i] : 0));

    // Encoding writes nothing outside the bytes it owns.
    SettingsBlock canaried;
    canaried.fill(kCanary);
    encodeSettings(fromDefaults, canaried);
    for (std::size_t i = 0; i < kSettingsBlockSize; ++i)
        FUZZ_CHECK(canaried[i] == (ownedByCodec(i) ? input[i] : kCanary));

    // The change detector's 114-byte images and the smallest buffer the codec accepts are
    // written inside their bounds (AddressSanitizer sees the heap buffers' ends).
    for (std::size_t length : {kChangeDetectionSize, kEncodedSettingsEnd}) {
        auto small = std::make_unique<std::uint8_t[]>(length);
        std::fill_n(small.get(), length, kCanary);
        encodeSettings(fromDefaults, std::span<std::uint8_t>(small.get(), length));
        for (std::size_t i = 0; i < length; ++i)
            FUZZ_CHECK(small[i] == (ownedByCodec(i) ? input[i] : kCanary));
    }

    // A second round trip is stable.
    MouseSettings again;
    decodeSettings(encodedA, again);
    FUZZ_CHECK(again == fromDefaults);
    return 0;
}
