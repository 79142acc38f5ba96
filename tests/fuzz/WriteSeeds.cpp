// Writes the fuzzers' first inputs: small valid manifests of each kind,
// records of each kind, mod lists and Steam's library files.
#include <fstream>
#include <string>

#include "mods/ChangeRecord.h"
#include "mods/IntendedOverlaps.h"
#include "mods/ModList.h"
#include "unit/ManifestBytes.h"

using namespace testing_files;

namespace {

bool WriteSeed(const std::string& path, const char* bytes, std::size_t size)
{
    std::ofstream out(path, std::ios::binary);
    out.write(bytes, static_cast<std::streamsize>(size));
    return static_cast<bool>(out);
}

std::vector<std::string> RecordSeeds()
{
    mods::ChangeRecord sort;
    sort.sequence = 3;
    sort.paksFolder = L"C:\\Games\\火炬之光2\\PAKS";
    sort.madeAt = 133'500'000'000'000'000;
    sort.before = {{{L"a.pak", 130'000'000'000'000'000}, mods::RecordedFile{L"a.pak.MAN", 130'000'000'000'000'001}},
                   {{L"名字\t.G1O", 0}, std::nullopt}};
    mods::ChangeRecord undo = sort;
    undo.sequence = 4;
    undo.action = mods::RecordedAction::Undo;
    undo.stepOf = 3;
    undo.intent = {L"a.pak"};
    undo.complete = true;
    undo.after = {{{L"a.pak", mods::kMaxCalendarTime}, std::nullopt}};
    return {mods::FormatRecord(sort), mods::FormatRecord(undo)};
}

// A manifest of real size: folders of hundreds of files, some shared by
// name across folders and spelled in both cases.
std::vector<unsigned char> LargeManifest()
{
    std::vector<ManifestFolderToWrite> folders;
    for (int f = 0; f < 8; ++f) {
        ManifestFolderToWrite& folder = folders.emplace_back();
        folder.path = f % 2 ? u"MEDIA/UNITS/ITEMS/" : u"media\\units\\items\\set" + std::u16string(1, char16_t(u'a' + f));
        for (int e = 0; e < 300; ++e) {
            const std::string number = std::to_string(e % 200);
            folder.entries.push_back({(e % 3 ? u"item_" : u"SUB/ITEM_") + std::u16string(number.begin(), number.end()) + u".dat",
                                      static_cast<std::uint32_t>(e % 7), 100, e % 11 ? 64u : 0u});
        }
    }
    return ManifestBytes(folders);
}

std::vector<std::string> ModListSeeds()
{
    return {mods::FormatModList({}),
            mods::FormatModList({{L"BetterLoot", true}, {L"更多宠物 v2", false}, {L"a.b", true}}),
            mods::FormatModList({{L"a", true}, {L"b", false}}, {{L"a", L"b"}, {L"更多宠物 v2", L"x"}}),
            "\xEF\xBB\xBF# PakOrder mod list 1\r\n# mine\r\n\r\n+ x  \r\n-\tz\r\n"};
}

std::vector<std::string> OverlapsSeeds()
{
    return {mods::FormatIntendedOverlaps({}),
            mods::FormatIntendedOverlaps({{L"BetterLoot Patch", L"BetterLoot"}, {L"更多宠物 v2", L"a.b"}, {L"a.b", L"更多宠物 v2"}}),
            "\xEF\xBB\xBF# PakOrder intended overlaps 1\r\n# mine\r\n\r\nx\t>\ty  \r\nbad line\r\nx > y\r\n"};
}

std::vector<std::string> VdfSeeds()
{
    return {"\"libraryfolders\"\n{\n\t\"0\"\n\t{\n\t\t\"path\"\t\t\"/home/p/.local/share/Steam\"\n"
            "\t\t\"apps\"\n\t\t{\n\t\t\t\"200710\"\t\t\"1234\"\n\t\t}\n\t}\n\t\"1\"\n\t{\n"
            "\t\t\"path\"\t\t\"D:\\\\Steam Library\"\n\t}\n}\n",
            "\"LibraryFolders\"\n{\n\t\"TimeNextStatsReport\"\t\t\"1\"\n\t\"1\"\t\t\"/mnt/games\"\n}\n",
            "// comment\n\"AppState\" { appid 200710 \"installdir\" \"Torchlight II\" [$LINUX] }\n"};
}

bool WriteSeeds(const char* folder, const std::string& stem, const std::vector<std::string>& seeds)
{
    for (std::size_t i = 0; i < seeds.size(); ++i)
        if (!WriteSeed(std::string(folder) + "/" + stem + std::to_string(i), seeds[i].data(), seeds[i].size()))
            return false;
    return true;
}

}  // namespace

// write_seeds <manifest seeds folder> [<record seeds folder> [<mod list seeds folder> <VDF seeds folder>
//             [<intended overlaps seeds folder>]]]
int main(int argc, char** argv)
{
    if (argc != 2 && argc != 3 && argc != 5 && argc != 6)
        return 2;
    const std::vector<std::vector<unsigned char>> seeds = {
        ManifestBytes({}),
        ManifestBytes({{u"MEDIA/", {{u"A.DAT"}}}}, 0),
        ManifestBytes({{u"MEDIA/", {{u"UNITS/", 0, 0, 0, 7}, {u"README.TXT"}, {u""}}},
                       {u"MEDIA/UNITS/", {{u"OLD.DAT", 1, 1, 0}, {u"GONE/", 0, 0, 0, 18}, {u"火炬.LAYOUT", 7, 70}}}}),
        LargeManifest(),
    };
    for (std::size_t i = 0; i < seeds.size(); ++i) {
        if (!WriteSeed(std::string(argv[1]) + "/seed" + std::to_string(i) + ".MAN",
                       reinterpret_cast<const char*>(seeds[i].data()), seeds[i].size()))
            return 1;
    }
    if (argc >= 3) {
        const std::vector<std::string> records = RecordSeeds();
        for (std::size_t i = 0; i < records.size(); ++i) {
            if (!WriteSeed(std::string(argv[2]) + "/record" + std::to_string(i) + ".txt", records[i].data(), records[i].size()))
                return 1;
        }
    }
    if (argc >= 5 && (!WriteSeeds(argv[3], "list", ModListSeeds()) || !WriteSeeds(argv[4], "vdf", VdfSeeds())))
        return 1;
    if (argc == 6 && !WriteSeeds(argv[5], "overlaps", OverlapsSeeds()))
        return 1;
    return 0;
}
