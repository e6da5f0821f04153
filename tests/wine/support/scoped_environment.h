#pragma once
#include <optional>
#include <string>

namespace tovimo::wine_tests {

// Sets an environment variable of this process (and so of every program it
// starts) for the life of the object, then puts the old value back.
class ScopedEnvironment {
public:
    ScopedEnvironment(const std::string& name, const std::string& value);
    ~ScopedEnvironment();
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    std::string name_;
    std::optional<std::string> previous_;
};

}  // namespace tovimo::wine_tests
