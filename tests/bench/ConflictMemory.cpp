// The conflict check's peak memory, each folder measured in a process of
// its own: the whole check (its report included) beside the bare reading of
// the same manifests into one buffer, and beside the manifests' total size.
// Run: build/bench-native/tests/conflict_memory <work folder>   (see tools/bench.sh)
#include <dirent.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "mods/Conflicts.h"
#include "mods/ModFile.h"
#include "platform/FileSystem.h"
#include "platform/Utf8.h"
#include "bench/ConflictFolders.h"

namespace {

constexpr const char* kManifestSuffix = ".MAN";

long PeakKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void WriteBytes(const std::string& path, const std::vector<unsigned char>& bytes)
{
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
}

// The folder's manifests, by name.
std::vector<std::string> Manifests(const std::string& folder)
{
    std::vector<std::string> names;
    if (DIR* dir = opendir(folder.c_str())) {
        while (const dirent* entry = readdir(dir)) {
            const std::string name = entry->d_name;
            if (name.size() > 4 && name.compare(name.size() - 4, 4, kManifestSuffix) == 0)
                names.push_back(name);
        }
        closedir(dir);
    }
    std::sort(names.begin(), names.end());
    return names;
}

// In the child: one check of the folder, or its bare read. Prints the peak,
// the resident size before the work and the manifests' total size.
int Measure(const std::string& what, const std::string& folder)
{
    std::vector<mods::ListedModToCheck> rows;
    std::size_t total = 0;
    const std::vector<std::string> manifests = Manifests(folder);
    for (const std::string& name : manifests) {
        struct stat st {};
        stat((folder + "/" + name).c_str(), &st);
        total += static_cast<std::size_t>(st.st_size);
        rows.push_back({platform::FromUtf8(name.substr(0, name.size() - 4)), true, false});
    }
    const long start = PeakKilobytes();
    std::size_t found = 0;
    if (what == "ours") {
        const mods::ConflictReport report = mods::CheckConflicts(platform::SystemFileSystem(), platform::FromUtf8(folder), rows);
        found = report.conflicts.size() + report.unchecked.size();
        std::printf("%ld %ld %zu %zu\n", PeakKilobytes(), start, total, found);
        return 0;
    }
    std::vector<char> buffer;  // the least the check must hold: the largest manifest
    for (const std::string& name : manifests) {
        std::ifstream in(folder + "/" + name, std::ios::binary | std::ios::ate);
        buffer.resize(static_cast<std::size_t>(in.tellg()));
        in.seekg(0);
        in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        found += buffer.empty() ? 0 : static_cast<unsigned char>(buffer[0]);
    }
    std::printf("%ld %ld %zu %zu\n", PeakKilobytes(), start, total, found);
    return 0;
}

struct Measured {
    double peakMb = 0, startMb = 0, manifestMb = 0;
    double UsedMb() const { return peakMb - startMb; }
};

Measured RunChild(const std::string& program, const std::string& what, const std::string& folder)
{
    const std::string command = "'" + program + "' --measure " + what + " '" + folder + "'";
    Measured measured;
    if (FILE* child = popen(command.c_str(), "r")) {
        long peak = 0, start = 0;
        std::size_t total = 0, found = 0;
        if (std::fscanf(child, "%ld %ld %zu %zu", &peak, &start, &total, &found) == 4)
            measured = Measured{peak / 1024.0, start / 1024.0, total / 1048576.0};
        pclose(child);
    }
    if (measured.manifestMb == 0) {
        std::fprintf(stderr, "no measure from: %s\n", command.c_str());
        std::exit(1);
    }
    return measured;
}

void MakeFolders(const std::string& work)
{
    mkdir(work.c_str(), 0755);
    const std::string many = work + "/many", limit = work + "/at-the-limit", two = work + "/two-at-the-limit";
    if (Manifests(many).size() != bench::kMods) {
        mkdir(many.c_str(), 0755);
        for (int m = 0; m < bench::kMods; ++m)
            WriteBytes(many + "/mod" + std::to_string(m) + ".PAK" + kManifestSuffix,
                       testing_files::ManifestBytes(bench::SharedNamesManifest(m)));
    }
    if (Manifests(limit).size() != 1 || Manifests(two).size() != 2) {
        mkdir(limit.c_str(), 0755);
        mkdir(two.c_str(), 0755);
        WriteBytes(limit + "/a.PAK.MAN", bench::ManifestAtTheLimit(1));
        WriteBytes(two + "/a.PAK.MAN", bench::ManifestAtTheLimit(1));
        WriteBytes(two + "/b.PAK.MAN", bench::ManifestAtTheLimit(2));
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && std::strcmp(argv[1], "--measure") == 0)
        return Measure(argv[2], argv[3]);
    if (argc != 2) {
        std::fprintf(stderr, "usage: conflict_memory <work folder>\n");
        return 2;
    }
    const std::string work = argv[1];
    MakeFolders(work);
    char program[4096] = {};
    if (readlink("/proc/self/exe", program, sizeof program - 1) <= 0)
        return 1;
    const std::pair<const char*, const char*> folders[] = {
        {"500 mods x 2,000 files", "many"},
        {"one manifest at the limit", "at-the-limit"},
        {"two manifests at the limit", "two-at-the-limit"},
    };
    for (const auto& [label, folder] : folders) {
        const Measured ours = RunChild(program, "ours", work + "/" + folder);
        const Measured bare = RunChild(program, "bare", work + "/" + folder);
        std::printf("conflict check peak memory, %s: ours %.1f MB, bare read %.1f MB, ratio %.2f; "
                    "manifests %.1f MB, ours %.2f times them (the process held %.1f MB before)\n",
                    label, ours.UsedMb(), bare.UsedMb(), ours.UsedMb() / bare.UsedMb(), ours.manifestMb,
                    ours.UsedMb() / ours.manifestMb, ours.startMb);
    }
    return 0;
}
