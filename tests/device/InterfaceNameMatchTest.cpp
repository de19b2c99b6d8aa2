// Which hot-plug notifications belong to the mouse, by the interface name alone.
#include <gtest/gtest.h>

#include "device/InterfaceNameMatch.h"

namespace lark::test {
namespace {

struct NameCase {
    const char* name;
    bool matches;
};

void PrintTo(const NameCase& c, std::ostream* out)
{
    *out << '"' << c.name << '"';
}

class InterfaceNameMatchTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(InterfaceNameMatchTest, MatchesOnlyTheMouseIds)
{
    EXPECT_EQ(isMouseInterfaceName(GetParam().name), GetParam().matches) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    SysfsPaths, InterfaceNameMatchTest,
    ::testing::Values(
        // The mouse's hidraw nodes as udev names them.
        NameCase{"/sys/devices/pci0000:00/0000:00:14.0/usb1/1-4/1-4:1.1/0003:F1A5:2B7E.0002/hidraw/hidraw1",
                 true},
        NameCase{"/sys/devices/platform/hidemu_hcd.0/usb1/1-1/1-1:1.0/0003:F1A5:2B7E.0001/hidraw/hidraw0",
                 true},
        NameCase{"/sys/devices/pci0000:00/0000:00:14.0/usb1/1-4/1-4:1.2/0003:f1a5:2b7e.0003/hidraw/hidraw2",
                 true},
        NameCase{"/sys/devices/pci0000:00/usb1/1-4/1-4:1.2/0003:f1A5:2B7e.0003/hidraw/hidraw2", true},
        // Product digits before vendor digits still carry both.
        NameCase{"/sys/devices/virtual/misc/2b7e-f1a5/hidraw9", true},
        // A name that begins with the vendor digits does not match, even when they come again.
        NameCase{"F1A5/sys/devices/usb1/1-4/1-4:1.1/0003:F1A5:2B7E.0002/hidraw/hidraw1", false},
        NameCase{"f1a5:2B7E", false},
        NameCase{"2B7E/sys/devices/usb1/1-4:1.1/0003:F1A5:2B7E.0002/hidraw/hidraw1", false},
        // Starting one character in is enough.
        NameCase{"xF1A5:2B7E", true},
        // Another vendor, or only one of the two IDs.
        NameCase{"/sys/devices/pci0000:00/0000:00:14.0/usb1/1-2/1-2:1.0/0003:046D:C52B.0004/hidraw/hidraw3",
                 false},
        NameCase{"/sys/devices/pci0000:00/0000:00:14.0/usb1/1-2/1-2:1.0/0003:046D:2B7E.0005/hidraw/hidraw4",
                 false},
        NameCase{"/sys/devices/pci0000:00/0000:00:14.0/usb1/1-2/1-2:1.0/0003:F1A5:C52B.0006/hidraw/hidraw5",
                 false},
        NameCase{"/sys/devices/usb1/1-2/1-2:1.0/0003:F1A:52B7.0006/hidraw/hidraw5", false},
        NameCase{"", false}));

}  // namespace
}  // namespace lark::test
