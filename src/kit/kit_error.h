#pragma once

#include <stdexcept>
#include <string>

namespace kit {

// A failure the kit reports in one line. Usage failures (a bad option value, a name the theme
// files cannot hold) end the program with status 2, all others with status 1.
class KitError : public std::runtime_error {
  public:
    enum class Kind { Usage, Failure };
    KitError(Kind kind, const std::string& message) : std::runtime_error(message), kind_(kind) {}
    Kind GetKind() const { return kind_; }

  private:
    Kind kind_;
};

[[noreturn]] inline void Fail(const std::string& message) {
    throw KitError(KitError::Kind::Failure, message);
}
[[noreturn]] inline void UsageFail(const std::string& message) {
    throw KitError(KitError::Kind::Usage, message);
}

}  // namespace kit
