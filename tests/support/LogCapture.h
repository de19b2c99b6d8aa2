#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "device/Log.h"

namespace lark::test {

// Collects the diagnostic lines of the given categories for one test, without their time of
// day, and leaves logging off and sinkless afterwards.
class LogCapture {
public:
    struct Line {
        LogCategory category;
        std::string text;
    };

    explicit LogCapture(std::initializer_list<LogCategory> categories)
    {
        logging::setSink([this](LogCategory category, const std::string& line) {
            std::lock_guard lock(mutex_);
            // "HH:MM:SS.mmm " comes first.
            lines_.push_back({category, line.size() > 13 ? line.substr(13) : std::string()});
            stamps_.push_back(line.substr(0, 12));
        });
        for (LogCategory category : categories)
            logging::setEnabled(category, true);
    }

    ~LogCapture()
    {
        for (LogCategory category : {LogCategory::Device, LogCategory::Hotplug, LogCategory::App})
            logging::setEnabled(category, false);
        logging::setSink({});
    }

    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    std::vector<Line> lines() const
    {
        std::lock_guard lock(mutex_);
        return lines_;
    }

    // The texts of one category's lines that start with `prefix`.
    std::vector<std::string> texts(LogCategory category, const std::string& prefix = {}) const
    {
        std::vector<std::string> out;
        for (const Line& line : lines())
            if (line.category == category && line.text.rfind(prefix, 0) == 0)
                out.push_back(line.text);
        return out;
    }

    void clear()
    {
        std::lock_guard lock(mutex_);
        lines_.clear();
        stamps_.clear();
    }

    std::vector<std::string> stamps() const
    {
        std::lock_guard lock(mutex_);
        return stamps_;
    }

private:
    mutable std::mutex mutex_;
    std::vector<Line> lines_;
    std::vector<std::string> stamps_;
};

}  // namespace lark::test
