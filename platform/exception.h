// The program's base exception. Every error the program raises on purpose
// derives from it and names its class, which the top-level report shows.
#pragma once

#include <exception>
#include <string>

namespace platform {

class Exception : public std::exception {
public:
    explicit Exception(std::string message) : message_(std::move(message)) {}
    [[nodiscard]] const char* what() const noexcept override { return message_.c_str(); }
    [[nodiscard]] const std::string& message() const noexcept { return message_; }
    [[nodiscard]] virtual const char* className() const noexcept { return "Exception"; }

private:
    std::string message_;
};

}  // namespace platform
