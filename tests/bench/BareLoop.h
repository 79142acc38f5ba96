#pragma once
// The least a read of the folder can do: one pass over it, one stat per mod.
// The catalogue bench times it in-process; bare_listing as a program.
#include <dirent.h>
#include <sys/stat.h>

#include <cstring>
#include <string>

namespace bench {

inline bool EndsWith(const char* name, const char* tail)
{
    const std::size_t length = std::strlen(name), tailLength = std::strlen(tail);
    return length > tailLength && std::strcmp(name + length - tailLength, tail) == 0;
}

// Calls each(name, st) for every mod file of the folder.
template <typename Each>
void ReaddirAndStat(const std::string& folder, Each&& each)
{
    DIR* dir = opendir(folder.c_str());
    if (!dir)
        return;
    while (const dirent* entry = readdir(dir)) {
        if (!EndsWith(entry->d_name, ".pak") && !EndsWith(entry->d_name, ".PAK") && !EndsWith(entry->d_name, ".G1O"))
            continue;
        struct stat info {};
        if (stat((folder + "/" + entry->d_name).c_str(), &info) == 0)
            each(entry->d_name, info);
    }
    closedir(dir);
}

}  // namespace bench
