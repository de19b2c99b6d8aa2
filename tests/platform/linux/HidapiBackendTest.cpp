#include <filesystem>

#include <gtest/gtest.h>

#include "device/DeviceIds.h"
#include "device/DeviceLink.h"
#include "platform/linux/HidapiBackend.h"
#include "sim/RecordingSleeper.h"

namespace lark::test {
namespace {

std::size_t openFileDescriptors()
{
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd"))
        ++count;
    return count;
}

// On a machine without the mouse: discovery runs through hidapi and udev, finds nothing,
// and leaves nothing open behind it.
TEST(HidapiBackendTest, WithoutTheMouseNothingIsFoundAndNothingLeftOpen)
{
    HidapiBackend backend;
    const auto interfaces = backend.enumerate(kVendorId, kProductId);
    for (const auto& info : interfaces) {
        EXPECT_EQ(info.vendorId, kVendorId);
        EXPECT_EQ(info.productId, kProductId);
    }
    if (!interfaces.empty())
        GTEST_SKIP() << "a mouse with these IDs is present";

    const std::size_t before = openFileDescriptors();
    RecordingSleeper sleeper;
    DeviceLink link(backend, sleeper);
    EXPECT_FALSE(link.findMouse(kProductId));
    EXPECT_FALSE(link.hasHandle());
    EXPECT_FALSE(link.isConnected());
    EXPECT_EQ(openFileDescriptors(), before);
}

TEST(HidapiBackendTest, OpeningAPathThatIsNotThereSaysTheDeviceIsGone)
{
    HidapiBackend backend;
    EXPECT_EQ(backend.open("/dev/lark-no-such-hidraw"), nullptr);
    EXPECT_EQ(backend.lastOpenError(), HidError::DeviceGone);
}

}  // namespace
}  // namespace lark::test
