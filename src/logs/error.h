// The exception that carries one of the program's messages (Windows-1251) to the command's boundary.
#pragma once

#include <stdexcept>
#include <string>

namespace zelk {

class TZelkError : public std::runtime_error {
  public:
    explicit TZelkError(const std::string& message) : std::runtime_error(message) {}
};

} // namespace zelk
