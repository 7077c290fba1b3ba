#pragma once

#include <stdexcept>
#include <string>

// The one exception type for the system's failures. It is thrown where an operation fails and
// caught only where the system handles failures: the loaders that retry, the sound bank and the
// single failure path of the form's load. The message names what failed, for the one line the
// failure path prints.
class SystemFailure : public std::runtime_error {
  public:
    explicit SystemFailure(const std::string& what) : std::runtime_error(what) {}
};

[[noreturn]] inline void Fail(const std::string& what) {
    throw SystemFailure(what);
}
