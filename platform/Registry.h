#pragma once
// Windows' registry, read only: a key's text values and its subkeys. An
// interface, so that what is looked up in it is decided in the core and
// can be tested anywhere; SystemRegistry() is Windows' own.

#include <string>
#include <vector>

namespace platform {

enum class RegistryRoot { LocalMachine, CurrentUser };

class Registry {
public:
    virtual ~Registry() = default;
    // A text value; empty when it is not there.
    virtual std::wstring Text(RegistryRoot root, const std::wstring& key, const std::wstring& name) = 0;
    // The names of the key's subkeys; none when the key is not there.
    virtual std::vector<std::wstring> Subkeys(RegistryRoot root, const std::wstring& key) = 0;
};

#ifdef _WIN32
Registry& SystemRegistry();
#endif

}  // namespace platform
