#include <array>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "device/DeviceIds.h"
#include "device/Protocol.h"
#include "device/DeviceLink.h"
#include "platform/windows/FakeWinHidApi.h"
#include "platform/windows/WinHidBackend.h"
#include "platform/windows/WinHidError.h"
#include "sim/RecordingSleeper.h"

namespace lark::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
namespace error = win::error;

constexpr win::HidAttributes kMouseIds{kVendorId, kProductId};

FakeInterface mouseCollection(std::wstring path, std::uint16_t usagePage, std::uint16_t usage)
{
    return FakeInterface{std::move(path), kMouseIds, {usagePage, usage, 8}};
}

const std::wstring kConfigPath =
    L"\\\\?\\hid#vid_f1a5&pid_2b7e&mi_01&col01#7&1a2b3c&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}";
const std::wstring kEventPath =
    L"\\\\?\\hid#vid_f1a5&pid_2b7e&mi_01&col02#7&1a2b3c&0&0001#{4d1e55b2-f16f-11cf-88cb-001111000030}";
const std::wstring kPointerPath =
    L"\\\\?\\hid#vid_f1a5&pid_2b7e&mi_00#7&99&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}";

// Windows' own HID interfaces in front of the mouse's, as SetupAPI lists them.
class WinDiscoveryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        api.interfaces = {
            FakeInterface{L"\\\\?\\hid#vid_046d&pid_c52b#1#{x}", {0x046D, 0xC52B}, {0xFF00, 1, 8}},
            // The system holds the pointer collection: it does not open for reading and writing.
            FakeInterface{kPointerPath, kMouseIds, {0x0001, 0x0002, 8}, error::kAccessDenied},
            mouseCollection(kEventPath, kEventUsagePage, kEventUsage),
            FakeInterface{L"\\\\?\\hid#vid_f1a5&pid_9999#2#{x}",
                          {kVendorId, 0x9999},
                          {kConfigUsagePage, kConfigUsage, 8}},
            mouseCollection(kConfigPath, kConfigUsagePage, kConfigUsage),
            mouseCollection(L"\\\\?\\hid#vid_f1a5&pid_2b7e&mi_01#second#{x}", kConfigUsagePage, kConfigUsage),
        };
    }

    FakeWinHidApi api;
    win::WinHidBackend backend{api};
    RecordingSleeper sleeper;
    DeviceLink link{backend, sleeper};
};

TEST_F(WinDiscoveryTest, ListsTheMousesOpenableCollectionsInOrderAndClosesEveryHandle)
{
    api.interfaces[4].serial = L"HM0001\u00e9";
    const auto found = backend.enumerate(kVendorId, kProductId);

    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(found[0].path, win::toUtf8(kEventPath));
    EXPECT_EQ(found[0].usagePage, kEventUsagePage);
    EXPECT_EQ(found[0].usage, kEventUsage);
    EXPECT_EQ(found[0].interfaceNumber, 1);
    EXPECT_EQ(found[1].path, win::toUtf8(kConfigPath));
    EXPECT_EQ(found[1].usagePage, kConfigUsagePage);
    EXPECT_EQ(found[1].usage, kConfigUsage);
    EXPECT_EQ(found[2].interfaceNumber, 1);
    EXPECT_EQ(found[1].serialNumber, "HM0001\xc3\xa9");  // UTF-8
    EXPECT_EQ(found[0].serialNumber, "");                  // no serial string
    for (const HidInterfaceInfo& info : found) {
        EXPECT_EQ(info.vendorId, kVendorId);
        EXPECT_EQ(info.productId, kProductId);
    }
    EXPECT_THAT(api.openPaths(), IsEmpty());
}

TEST_F(WinDiscoveryTest, FindMouseKeepsTheFirstConfigurationCollectionOpenAndNothingElse)
{
    ASSERT_TRUE(link.findMouse(kProductId));

    EXPECT_TRUE(link.isConnected());
    EXPECT_THAT(api.openPaths(), ElementsAre(kConfigPath));
    link.closeDevice();
    EXPECT_THAT(api.openPaths(), IsEmpty());
}

TEST_F(WinDiscoveryTest, InterfacesWhoseAttributesOrCapsCannotBeReadArePassedOver)
{
    api.interfaces[4].capsFail = true;        // the first configuration collection
    api.interfaces[2].attributesFail = true;  // the event collection

    const auto found = backend.enumerate(kVendorId, kProductId);

    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].path, "\\\\?\\hid#vid_f1a5&pid_2b7e&mi_01#second#{x}");
    EXPECT_THAT(api.openPaths(), IsEmpty());
}

TEST_F(WinDiscoveryTest, WithoutTheMouseNothingIsFoundAndNoHandleIsLeft)
{
    api.interfaces.erase(api.interfaces.begin() + 2, api.interfaces.end());
    api.interfaces.erase(api.interfaces.begin() + 1);

    EXPECT_FALSE(link.findMouse(kProductId));
    EXPECT_FALSE(link.isConnected());
    EXPECT_THAT(api.openPaths(), IsEmpty());
    std::array<std::uint8_t, kCommandReportLength> frame{kCommandReportId, kCommandReadVersion};
    EXPECT_FALSE(link.sendFeature(frame.data(), kCommandReportLength));
    EXPECT_EQ(api.sets, 0);
}

struct OpenErrorCase {
    win::ErrorCode code;
    HidError expected;
};

class WinOpenErrorTest : public ::testing::TestWithParam<OpenErrorCase> {};

TEST_P(WinOpenErrorTest, ClassifiesWhyTheOpenFailed)
{
    FakeWinHidApi api;
    api.interfaces = {mouseCollection(kConfigPath, kConfigUsagePage, kConfigUsage)};
    api.interfaces[0].openError = GetParam().code;
    win::WinHidBackend backend(api);

    EXPECT_EQ(backend.open(win::toUtf8(kConfigPath)), nullptr);
    EXPECT_EQ(backend.lastOpenError(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Codes, WinOpenErrorTest,
                         ::testing::Values(OpenErrorCase{error::kAccessDenied, HidError::PermissionDenied},
                                           OpenErrorCase{error::kFileNotFound, HidError::DeviceGone},
                                           OpenErrorCase{error::kDeviceNotConnected, HidError::DeviceGone},
                                           OpenErrorCase{error::kSharingViolation, HidError::Other}),
                         [](const auto& info) { return "Code" + std::to_string(info.param.code); });

struct CodeCase {
    win::ErrorCode code;
    HidOperation operation;
    HidError expected;
};

class WinErrorClassTest : public ::testing::TestWithParam<CodeCase> {};

TEST_P(WinErrorClassTest, Classifies)
{
    EXPECT_EQ(win::classifyWinError(GetParam().code, GetParam().operation), GetParam().expected)
        << "code " << GetParam().code;
}

constexpr auto Open = HidOperation::Open;
constexpr auto Feature = HidOperation::Feature;
constexpr auto Read = HidOperation::Read;

INSTANTIATE_TEST_SUITE_P(Table, WinErrorClassTest,
                         ::testing::Values(
                             // the retry table: worth repeating
                             CodeCase{error::kNotReady, Feature, HidError::Transient},
                             CodeCase{error::kCrc, Feature, HidError::Transient},
                             CodeCase{error::kWriteFault, Feature, HidError::Transient},
                             CodeCase{error::kInvalidParameter, Feature, HidError::Transient},
                             CodeCase{error::kFunctionFailed, Feature, HidError::Transient},
                             // a general failure is not in the table
                             CodeCase{error::kGenFailure, Feature, HidError::Other},
                             // the mouse went away
                             CodeCase{error::kDeviceNotConnected, Feature, HidError::DeviceGone},
                             CodeCase{error::kDeviceNotConnected, Read, HidError::DeviceGone},
                             CodeCase{error::kInvalidHandle, Feature, HidError::DeviceGone},
                             CodeCase{error::kFileNotFound, Open, HidError::DeviceGone},
                             CodeCase{error::kNoSuchDevice, Read, HidError::DeviceGone},
                             // rights matter only when opening
                             CodeCase{error::kAccessDenied, Open, HidError::PermissionDenied},
                             CodeCase{error::kAccessDenied, Feature, HidError::Other},
                             CodeCase{0, Feature, HidError::None},
                             CodeCase{123456, Feature, HidError::Other}));

// The link's retry rules over the Windows codes, end to end.
struct ExchangeCase {
    const char* name;
    bool isSet;
    std::vector<win::ErrorCode> outcomes;
    bool expectedResult;
    int expectedCalls;
    std::vector<unsigned> expectedWaits;
};

class WinExchangeTest : public WinDiscoveryTest, public ::testing::WithParamInterface<ExchangeCase> {};

TEST_P(WinExchangeTest, RetriesOnlyTheTableCodes)
{
    const ExchangeCase& c = GetParam();
    ASSERT_TRUE(link.findMouse(kProductId));
    (c.isSet ? api.setOutcomes : api.getOutcomes).assign(c.outcomes.begin(), c.outcomes.end());

    std::array<std::uint8_t, kCommandReportLength> frame{kCommandReportId, kCommandReadVersion};
    const bool result = c.isSet ? link.sendFeature(frame.data(), kCommandReportLength)
                                : link.getFeature(frame.data(), kCommandReportLength);

    EXPECT_EQ(result, c.expectedResult);
    EXPECT_EQ(c.isSet ? api.sets : api.gets, c.expectedCalls);
    EXPECT_EQ(sleeper.waits(), c.expectedWaits);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WinExchangeTest,
    ::testing::Values(
        ExchangeCase{"SetCrcTwiceThenSucceeds", true, {error::kCrc, error::kCrc, 0}, true, 3, {50}},
        ExchangeCase{"SetGeneralFailureNotRetried", true, {error::kGenFailure}, false, 1, {}},
        ExchangeCase{"SetUnpluggedNotRetried", true, {error::kDeviceNotConnected}, false, 1, {}},
        ExchangeCase{"SetNotReadyForever",
                     true,
                     std::vector<win::ErrorCode>(8, error::kNotReady),
                     false,
                     4,
                     {50, 50, 50}},
        ExchangeCase{"GetFunctionFailedForever",
                     false,
                     std::vector<win::ErrorCode>(8, error::kFunctionFailed),
                     false,
                     7,
                     {50, 50, 50}},
        ExchangeCase{"GetFailsWithoutCode", false, {0xFFFFFFFF}, false, 1, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WinDiscoveryTest, ReadsGoThroughAnOverlappedReaderSizedForTheLongestReport)
{
    api.interfaces[2].caps.inputReportLength = 65;
    auto device = backend.open(win::toUtf8(kEventPath));
    ASSERT_NE(device, nullptr);
    api.reads = {{8, 0}};

    std::array<std::uint8_t, kEventReportLength> report{};
    EXPECT_EQ(device->read(report.data(), report.size(), 250), 8);
    EXPECT_EQ(api.lastReaderLength, 65u);
    EXPECT_EQ(report[1], 0x11);
    EXPECT_EQ(device->read(report.data(), report.size(), 250), 0);  // timed out
}

TEST_F(WinDiscoveryTest, AnInterruptedReaderReadsNothingMore)
{
    auto device = backend.open(win::toUtf8(kEventPath));
    ASSERT_NE(device, nullptr);
    api.reads = {{8, 0}, {8, 0}};
    std::array<std::uint8_t, kEventReportLength> report{};
    ASSERT_EQ(device->read(report.data(), report.size(), -1), 8);

    device->interruptRead();

    EXPECT_EQ(device->read(report.data(), report.size(), -1), 0);
    EXPECT_EQ(device->read(report.data(), report.size(), -1), 0);
    EXPECT_EQ(api.reads.size(), 1u);
}

TEST_F(WinDiscoveryTest, ReadErrorsAreClassified)
{
    auto device = backend.open(win::toUtf8(kEventPath));
    ASSERT_NE(device, nullptr);
    api.reads = {{-1, error::kDeviceNotConnected}};
    std::array<std::uint8_t, kEventReportLength> report{};

    EXPECT_EQ(device->read(report.data(), report.size(), -1), -1);
    EXPECT_EQ(device->lastError(), HidError::DeviceGone);

    auto other = backend.open(win::toUtf8(kConfigPath));
    api.readerOpenError = error::kFileNotFound;
    EXPECT_EQ(other->read(report.data(), report.size(), -1), -1);
    EXPECT_EQ(other->lastError(), HidError::DeviceGone);
}

struct NumberCase {
    const wchar_t* path;
    int expected;
};

class InterfaceNumberTest : public ::testing::TestWithParam<NumberCase> {};

TEST_P(InterfaceNumberTest, ReadsTheTwoHexDigitsAfterMi)
{
    EXPECT_EQ(win::interfaceNumberOf(GetParam().path), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Paths, InterfaceNumberTest,
                         ::testing::Values(NumberCase{L"\\\\?\\hid#vid_f1a5&pid_2b7e&mi_02&col01#x", 2},
                                           NumberCase{L"\\\\?\\HID#VID_F1A5&PID_2B7E&MI_0A#x", 10},
                                           NumberCase{L"\\\\?\\hid#vid_f1a5&pid_2b7e#x", -1},
                                           NumberCase{L"\\\\?\\hid#vid_f1a5&pid_2b7e&mi_", -1},
                                           NumberCase{L"\\\\?\\hid#vid_f1a5&pid_2b7e&mi_0z#x", -1},
                                           NumberCase{L"\\\\?\\hid#mid_03#x", -1}));

TEST(WinPathText, NonAsciiPathsSurviveTheTripThroughUtf8)
{
    const std::wstring path = L"\\\\?\\hid#caf\u00e9&\u65e5\U0001F5B1#{x}";
    const std::string utf8 = win::toUtf8(path);

    EXPECT_EQ(utf8, "\\\\?\\hid#caf\xc3\xa9&\xe6\x97\xa5\xf0\x9f\x96\xb1#{x}");
    EXPECT_EQ(win::fromUtf8(utf8), path);
    EXPECT_EQ(win::fromUtf8("a\xff"
                            "b"),
              L"a\ufffd"
              L"b");  // a stray byte is replaced, not dropped
}

}  // namespace
}  // namespace lark::test
