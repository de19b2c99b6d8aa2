#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <mutex>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "cli/Commands.h"
#include "device/DeviceIds.h"
#include "device/Protocol.h"
#include "sim/RecordingSleeper.h"
#include "sim/VirtualMouse.h"

namespace lark::test {

// Several virtual mice behind one backend, each path prefixed with the mouse's letter.
class MouseRack : public HidBackend {
public:
    explicit MouseRack(std::vector<VirtualMouse*> mice) : mice_(std::move(mice)) {}

    static std::string prefix(std::size_t index)
    {
        return "/rack" + std::string(1, static_cast<char>('A' + index));
    }

    std::vector<HidInterfaceInfo> enumerate(std::uint16_t vendorId, std::uint16_t productId) override
    {
        std::vector<HidInterfaceInfo> all;
        for (std::size_t i = 0; i < mice_.size(); ++i)
            for (HidInterfaceInfo info : mice_[i]->enumerate(vendorId, productId)) {
                info.path = prefix(i) + info.path;
                all.push_back(info);
            }
        return all;
    }
    std::unique_ptr<HidDevice> open(const std::string& path) override
    {
        for (std::size_t i = 0; i < mice_.size(); ++i)
            if (path.rfind(prefix(i), 0) == 0) {
                last_ = i;
                return mice_[i]->open(path.substr(prefix(i).size()));
            }
        return nullptr;
    }
    HidError lastOpenError() const override { return mice_[last_]->lastOpenError(); }

private:
    std::vector<VirtualMouse*> mice_;
    std::size_t last_ = 0;
};

// The virtual mouse behind hooks on its configuration exchanges: a test does something to the
// mouse at a chosen moment of a session (another program's write, a button press).
class HookedMouse : public HidBackend {
public:
    explicit HookedMouse(VirtualMouse& mouse) : mouse_(mouse) {}

    std::vector<HidInterfaceInfo> enumerate(std::uint16_t vendorId, std::uint16_t productId) override
    {
        return mouse_.enumerate(vendorId, productId);
    }
    std::unique_ptr<HidDevice> open(const std::string& path) override
    {
        std::unique_ptr<HidDevice> device = mouse_.open(path);
        return device ? std::make_unique<Device>(std::move(device), *this) : nullptr;
    }
    HidError lastOpenError() const override { return mouse_.lastOpenError(); }

protected:
    // Before a feature report goes out; after a feature report came back (`result` its size).
    virtual void beforeSend(const std::uint8_t*, std::size_t) {}
    virtual void beforeGet() {}
    virtual void afterGet(const std::uint8_t*, int) {}

    VirtualMouse& mouse_;

private:
    class Device : public HidDevice {
    public:
        Device(std::unique_ptr<HidDevice> inner, HookedMouse& owner) : inner_(std::move(inner)), owner_(owner) {}
        int sendFeatureReport(const std::uint8_t* data, std::size_t length) override
        {
            owner_.beforeSend(data, length);
            return inner_->sendFeatureReport(data, length);
        }
        int getFeatureReport(std::uint8_t* data, std::size_t length) override
        {
            owner_.beforeGet();
            const int result = inner_->getFeatureReport(data, length);
            owner_.afterGet(data, result);
            return result;
        }
        int read(std::uint8_t* data, std::size_t length, int timeoutMs) override
        {
            return inner_->read(data, length, timeoutMs);
        }
        void interruptRead() override { inner_->interruptRead(); }
        HidError lastError() const override { return inner_->lastError(); }

    private:
        std::unique_ptr<HidDevice> inner_;
        HookedMouse& owner_;
    };
};

// The virtual mouse, answering every status "not done" once a given command was sent: the
// reads before it go through, so a write or reset can be refused within one larkctl run.
class NotDoneAfter : public HookedMouse {
public:
    NotDoneAfter(VirtualMouse& mouse, std::uint8_t command) : HookedMouse(mouse), command_(command) {}

protected:
    void beforeSend(const std::uint8_t* data, std::size_t length) override
    {
        if (length > 1 && data[1] == command_)
            mouse_.answerStatus(0, VirtualMouse::kForever);
    }

private:
    std::uint8_t command_;
};

// A private runtime directory for the lock and the write announcement.
class TempDir {
public:
    TempDir()
    {
        // create_directory is false when the name is taken: try another.
        std::random_device seed;
        std::mt19937_64 random(seed());
        const std::filesystem::path base = std::filesystem::temp_directory_path();
        for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
            const std::filesystem::path candidate = base / ("larkctl-test-" + std::to_string(random()));
            std::error_code ec;
            if (std::filesystem::create_directory(candidate, ec))
                path_ = candidate.string();
        }
    }
    ~TempDir()
    {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// A stream buffer that one thread writes and another reads.
class SharedText : public std::stringbuf {
public:
    std::string text()
    {
        std::lock_guard lock(mutex_);
        return str();
    }

protected:
    int sync() override { return 0; }
    std::streamsize xsputn(const char* s, std::streamsize n) override
    {
        std::lock_guard lock(mutex_);
        return std::stringbuf::xsputn(s, n);
    }
    int_type overflow(int_type c) override
    {
        std::lock_guard lock(mutex_);
        return std::stringbuf::overflow(c);
    }

private:
    std::recursive_mutex mutex_;  // xsputn may call overflow
};

// Waits until `condition` holds; a generous bound only so a broken build fails instead of hanging.
inline bool waitUntil(const std::function<bool()>& condition)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::yield();
    }
    return true;
}

struct CliRun {
    int code = -1;
    std::string out;
    std::string err;
};

// larkctl in-process on one virtual mouse (or a rack of them), with the recording sleeper.
class CliRig {
public:
    CliRig() : mouse(sleeper.clock()) {}

    CliRun run(std::vector<std::string> arguments, const std::string& input = "",
               HidBackend* backend = nullptr, WaitHandle interrupt = kNoWaitHandle)
    {
        std::istringstream in(input);
        std::ostringstream out;
        std::ostringstream err;
        cli::Environment environment{backend ? *backend : mouse, sleeper, in,     out, err, runtime.path(),
                                     nullptr,                      interrupt};
        CliRun result;
        result.code = cli::runLarkctl(arguments, environment);
        result.out = out.str();
        result.err = err.str();
        return result;
    }

    // Feature reports that carried a command to the mouse (byte 1 of a set).
    static std::vector<std::uint8_t> commandsSent(const VirtualMouse& mouse)
    {
        std::vector<std::uint8_t> commands;
        for (const VirtualMouse::Frame& frame : mouse.frameLog())
            if (frame.direction == VirtualMouse::Direction::Set && frame.bytes.size() > 1 && frame.result > 0)
                commands.push_back(frame.bytes[1]);
        return commands;
    }
    static int writesOf(const VirtualMouse& mouse, std::uint8_t command)
    {
        int count = 0;
        for (std::uint8_t sent : commandsSent(mouse))
            count += sent == command;
        return count;
    }
    int writes() const { return writesOf(mouse, kCommandWriteSettings); }

    RecordingSleeper sleeper;
    VirtualMouse mouse;
    TempDir runtime;
};

}  // namespace lark::test
