#pragma once
// Thrown by the ResourceManager's get-or-throw lookups for an id that names
// nothing loaded; what() is the lookup's own message, e.g.
// "Image resource not found: LOGO".
#include <exception>
#include <string>

namespace Lumo {

class ResourceManagerException : public std::exception
{
public:
    explicit ResourceManagerException(std::string message) : mMessage(std::move(message)) {}
    ~ResourceManagerException() override = default;

    const char* what() const noexcept override { return mMessage.c_str(); }

    std::string mMessage;
};

} // namespace Lumo
