#pragma once

#include <array>
#include <streambuf>

namespace lark::cli {

// Standard output for the program: buffered writes to descriptor 1 that fail for good once one
// failed, setting errno to that first failure's reason each time. So whichever write finds the
// disk full or the reader gone, the check at the end still learns why.
class StandardOutput : public std::streambuf {
public:
    StandardOutput() { setp(buffer_.data(), buffer_.data() + buffer_.size()); }
    StandardOutput(const StandardOutput&) = delete;
    StandardOutput& operator=(const StandardOutput&) = delete;

protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* data, std::streamsize size) override;
    int sync() override;

private:
    bool drain();
    bool writeOut(const char* data, std::size_t size);

    std::array<char, 8192> buffer_{};
    int error_ = 0;
};

}  // namespace lark::cli
