#pragma once
// A store of settings in named sections, as an INI file holds them.

#include <map>
#include <string>
#include <utility>

namespace platform {

class Profile {
public:
    virtual ~Profile() = default;
    // An absent key reads as an empty text.
    virtual std::wstring Read(const std::wstring& section, const std::wstring& key) = 0;
    virtual void Write(const std::wstring& section, const std::wstring& key, const std::wstring& value) = 0;
    virtual void Delete(const std::wstring& section, const std::wstring& key) = 0;
};

// A profile held in memory.
class MemoryProfile final : public Profile {
public:
    std::wstring Read(const std::wstring& section, const std::wstring& key) override
    {
        const auto found = values_.find({section, key});
        return found == values_.end() ? std::wstring() : found->second;
    }
    void Write(const std::wstring& section, const std::wstring& key, const std::wstring& value) override
    {
        values_[{section, key}] = value;
    }
    void Delete(const std::wstring& section, const std::wstring& key) override { values_.erase({section, key}); }

private:
    std::map<std::pair<std::wstring, std::wstring>, std::wstring> values_;
};

}  // namespace platform
