#include <cerrno>
#include <clocale>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "device/HidErrorText.h"

namespace lark::test {
namespace {

struct TextCase {
    const char* text;
    HidOperation operation;
    HidError expected;
};

class HidErrorTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(HidErrorTextTest, Classifies)
{
    EXPECT_EQ(classifyHidErrorText(GetParam().text, GetParam().operation), GetParam().expected)
        << GetParam().text;
}

constexpr auto Open = HidOperation::Open;
constexpr auto Feature = HidOperation::Feature;
constexpr auto Read = HidOperation::Read;

// Texts as hidapi writes them on Linux: its prefix, then the system's error text.
INSTANTIATE_TEST_SUITE_P(
    Table, HidErrorTextTest,
    ::testing::Values(
        // device gone
        TextCase{"ioctl (SFEATURE): No such device", Feature, HidError::DeviceGone},
        TextCase{"ioctl (GFEATURE): Bad file descriptor", Feature, HidError::DeviceGone},
        TextCase{"No such file or directory", Open, HidError::DeviceGone},
        TextCase{"Failed to open a device with path '/dev/hidraw3': No such device", Open,
                 HidError::DeviceGone},
        // transient USB trouble
        TextCase{"ioctl (SFEATURE): Input/output error", Feature, HidError::Transient},
        TextCase{"ioctl (GFEATURE): Broken pipe", Feature, HidError::Transient},
        TextCase{"ioctl (GFEATURE): Connection timed out", Feature, HidError::Transient},
        TextCase{"ioctl (SFEATURE): Protocol error", Feature, HidError::Transient},
        TextCase{"ioctl (GFEATURE): Resource temporarily unavailable", Feature, HidError::Transient},
        TextCase{"ioctl (GFEATURE): Interrupted system call", Feature, HidError::Transient},
        // rights
        TextCase{"Permission denied", Open, HidError::PermissionDenied},
        TextCase{"Failed to open a device with path '/dev/hidraw0': Operation not permitted", Open,
                 HidError::PermissionDenied},
        TextCase{"ioctl (SFEATURE): Permission denied", Feature, HidError::Other},
        // hidraw answers a read on a removed node with EIO, or a hang-up without any text
        TextCase{"Input/output error", Read, HidError::DeviceGone},
        TextCase{"Success", Read, HidError::DeviceGone},
        TextCase{"hid_read_timeout: unexpected poll error (device disconnected)", Read, HidError::DeviceGone},
        TextCase{"Interrupted system call", Read, HidError::Transient},
        // anything else is not worth a retry
        TextCase{"ioctl (GFEATURE): Invalid argument", Feature, HidError::Other},
        TextCase{"No such device or address", Feature, HidError::DeviceGone},
        TextCase{"", Feature, HidError::Other}, TextCase{"Success", Feature, HidError::Other},
        TextCase{"ioctl (GFEATURE): No such device\n", Feature, HidError::DeviceGone}));

TEST(HidErrorTextFallbackTest, SavedErrnoDecidesWhenTheTextSaysNothingKnown)
{
    EXPECT_EQ(classifyHidErrorText("ioctl (GFEATURE): ???", HidOperation::Feature, EPIPE),
              HidError::Transient);
    EXPECT_EQ(classifyHidErrorText("", HidOperation::Open, EACCES), HidError::PermissionDenied);
    EXPECT_EQ(classifyHidErrorText("", HidOperation::Feature, ENODEV), HidError::DeviceGone);
    // A known text wins over a stale errno.
    EXPECT_EQ(classifyHidErrorText("Broken pipe", HidOperation::Feature, ENODEV), HidError::Transient);
}

TEST(HidErrorTextFallbackTest, TheLocalesOwnErrorTextIsRecognised)
{
    // Whatever language the system speaks, hidapi's text ends in strerror's words.
    const std::string text = std::string("ioctl (GFEATURE): ") + std::strerror(ETIMEDOUT);
    EXPECT_EQ(classifyHidErrorText(text, HidOperation::Feature), HidError::Transient);
}

}  // namespace
}  // namespace lark::test
