#pragma once
// A profile in a private INI file, through the system's profile functions.

#include <string>

#include "platform/Profile.h"

namespace platform {

class IniProfile final : public Profile {
public:
    explicit IniProfile(std::wstring path) : path_(std::move(path)) {}
    const std::wstring& path() const { return path_; }

    std::wstring Read(const std::wstring& section, const std::wstring& key) override;
    // Creates the file's folder when it is missing, and a missing file as
    // UTF-16LE, so every character of a value is kept.
    void Write(const std::wstring& section, const std::wstring& key, const std::wstring& value) override;
    void Delete(const std::wstring& section, const std::wstring& key) override;

private:
    std::wstring path_;
};

}  // namespace platform
