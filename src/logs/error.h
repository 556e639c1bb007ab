// The exception that carries one of the program's messages (Windows-1251) to the command's boundary.
#pragma once

#include <stdexcept>
#include <string>

namespace zelk {

class TZelkError : public std::runtime_error {
  public:
    explicit TZelkError(const std::string& message) : std::runtime_error(message) {}
};

// A long pass stopped between two logs at the judge's request. Not an error: whoever started the pass
// catches it and says nothing more than that the work was stopped.
class TZelkCancelled : public std::runtime_error {
  public:
    TZelkCancelled() : std::runtime_error("cancelled") {}
};

} // namespace zelk
