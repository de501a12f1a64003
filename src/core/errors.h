#pragma once
// Errors carry the system's message text; programming errors are assertions that
// name their source unit.
#include <exception>
#include <string>

namespace vp {

class Error : public std::exception {
  public:
    explicit Error(std::u16string message);
    const std::u16string& Message() const noexcept { return message_; }
    const char* what() const noexcept override { return utf8_.c_str(); }

  private:
    std::u16string message_;
    std::string utf8_;
};

class AssertionFailure : public Error {
  public:
    AssertionFailure(const std::u16string& unit, const std::u16string& message);
    const std::u16string& Unit() const noexcept { return unit_; }
    const std::u16string& Detail() const noexcept { return detail_; }

  private:
    std::u16string unit_;
    std::u16string detail_;
};

// Throws AssertionFailure(unit, message) when cond is false.
inline void Assert(bool cond, const std::u16string& unit, const std::u16string& message) {
    if (!cond)
        throw AssertionFailure(unit, message);
}

// The message of any caught exception, for the error report.
std::u16string MessageOf(const std::exception& e);

} // namespace vp
