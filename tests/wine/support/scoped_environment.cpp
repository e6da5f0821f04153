#include "scoped_environment.h"

#include <vector>

#include "platform/win32_api.h"

namespace tovimo::wine_tests {

ScopedEnvironment::ScopedEnvironment(const std::string& name, const std::string& value)
    : name_(name) {
    const DWORD size = ::GetEnvironmentVariableA(name.c_str(), nullptr, 0);
    if (size > 0) {
        std::vector<char> old(size);
        const DWORD length = ::GetEnvironmentVariableA(name.c_str(), old.data(), size);
        previous_ = std::string(old.data(), length);
    }
    ::SetEnvironmentVariableA(name.c_str(), value.c_str());
}

ScopedEnvironment::~ScopedEnvironment() {
    ::SetEnvironmentVariableA(name_.c_str(), previous_ ? previous_->c_str() : nullptr);
}

}  // namespace tovimo::wine_tests
