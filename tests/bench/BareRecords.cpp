// The bare reference of `pakorder history`: a program that reads every file
// of a folder, one at a time, into one buffer, the least a history of the
// records there must read. Run by cli_bench.
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <string>
#include <vector>

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    DIR* folder = opendir(argv[1]);
    if (!folder)
        return 1;
    std::vector<char> buffer;
    std::size_t total = 0;
    while (const dirent* entry = readdir(folder)) {
        if (entry->d_name[0] == '.')
            continue;
        const int file = open((std::string(argv[1]) + "/" + entry->d_name).c_str(), O_RDONLY);
        if (file < 0)
            continue;
        const off_t size = lseek(file, 0, SEEK_END);
        lseek(file, 0, SEEK_SET);
        if (buffer.size() < static_cast<std::size_t>(size) + 1)
            buffer.resize(static_cast<std::size_t>(size) + 1);
        for (ssize_t got; (got = read(file, buffer.data(), buffer.size())) > 0;)
            total += static_cast<std::size_t>(got);
        close(file);
    }
    closedir(folder);
    return total > 0 ? 0 : 1;
}
