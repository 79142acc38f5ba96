// Each kind of the core's problems as the window (in both languages) and
// the command line say it: one text chosen in the core, the same meaning
// and values in every front end, each in its own words.

#include <gtest/gtest.h>

#include <string>

#include "app/ProblemTexts.h"
#include "app/Texts.h"
#include "cli/ProblemTexts.h"
#include "mods/ProblemText.h"

namespace {

using platform::FsStatus;

struct ChineseAfterwards {
    ~ChineseAfterwards() { texts::SetLanguage(texts::Language::Chinese); }
};

TEST(ProblemText, EachKindSaidByEveryFrontEnd)
{
    ChineseAfterwards chineseAfterwards;
    // Failures with words of the program's own in both front ends, so that
    // no system's message comes into the rows.
    const FsStatus notRegular = platform::NotRegularFileStatus();
    const FsStatus timeNotKept = platform::TimeNotKeptStatus();
    const struct {
        int line;
        mods::ProblemText problem;
        const wchar_t* chinese;
        const wchar_t* english;
        const wchar_t* commandLine;
    } rows[] = {
        {__LINE__, mods::TextOf(mods::NotRestored{L"a.pak", mods::NotRestoredReason::Gone, {}}),
         L"已被删除，无法恢复", L"deleted, it cannot come back", L"deleted since, it cannot come back"},
        {__LINE__, mods::TextOf(mods::NotRestored{L"a.pak", mods::NotRestoredReason::NameTaken, {}}),
         L"已存在同名文件", L"a file of that name is in the way", L"a file of the name it must take is there"},
        {__LINE__, mods::TextOf(mods::NotRestored{L"a.pak", mods::NotRestoredReason::Changed, {}}),
         L"那次操作之后已被修改，保留原样", L"changed since that action, so left as it is",
         L"changed since that action, left as it is"},
        {__LINE__, mods::TextOf(mods::NotRestored{L"a.pak", mods::NotRestoredReason::Failed, notRegular}),
         L"不是普通文件（链接、管道或设备）", L"not a regular file (a link, a pipe or a device)",
         L"not a regular file (a link, a pipe or a device)"},
        {__LINE__, mods::TextOf(mods::NotRestored{L"a.pak", mods::NotRestoredReason::TimeNotKept, timeNotKept}),
         L"该磁盘不能保存这个时间", L"the disk cannot keep this time", L"the disk cannot keep this time"},

        {__LINE__, mods::TextOf(mods::NotInstalled{L"a.pak", mods::NotInstalledReason::CopyFailed, notRegular, {}}),
         L"不是普通文件（链接、管道或设备）", L"not a regular file (a link, a pipe or a device)",
         L"not a regular file (a link, a pipe or a device)"},
        {__LINE__, mods::TextOf(mods::NotInstalled{L"a.pak", mods::NotInstalledReason::AlreadyThere, {}, {}}),
         L"已存在", L"already there", L"a mod of that name is in PAKS"},
        {__LINE__, mods::TextOf(mods::NotInstalled{L"a.pak", mods::NotInstalledReason::AlreadyThereEnabled, {}, {}}),
         L"已存在（已启用）", L"already there (enabled)", L"the same mod is in PAKS, enabled"},
        {__LINE__, mods::TextOf(mods::NotInstalled{L"a.G1O", mods::NotInstalledReason::AlreadyThereDisabled, {}, {}}),
         L"已存在（已禁用）", L"already there (disabled)", L"the same mod is in PAKS, disabled"},
        {__LINE__, mods::TextOf(mods::NotInstalled{L"a.pak", mods::NotInstalledReason::ManifestTaken, {}, {}}),
         L"PAKS 里已有同名的清单文件 a.pak.MAN", L"PAKS already holds a manifest of that name, a.pak.MAN",
         L"PAKS holds a stray manifest of its name, a.pak.MAN"},
        {__LINE__, mods::TextOf(mods::NotInstalled{L"a.pak", mods::NotInstalledReason::Cancelled, {}, {}}),
         L"已取消，没有拷贝", L"cancelled, not copied", L"cancelled"},
        {__LINE__,
         mods::TextOf(mods::NotInstalled{L"a.pak", mods::NotInstalledReason::PakLeftBehind, notRegular, timeNotKept}),
         L"清单文件 a.pak.MAN 无法复制（不是普通文件（链接、管道或设备）），已复制的 PAK 也无法删除（该磁盘不能保存这个时间）："
         L"它留在 PAKS 里，没有清单文件",
         L"the manifest a.pak.MAN could not be copied (not a regular file (a link, a pipe or a device)), nor the copied "
         L"pak removed (the disk cannot keep this time): it stays in PAKS without its manifest",
         L"its manifest a.pak.MAN could not be copied (not a regular file (a link, a pipe or a device)), nor the copied "
         L"pak removed again (the disk cannot keep this time): it is in PAKS without its manifest"},

        {__LINE__, mods::TextOf(mods::UncheckedMod{0, mods::UncheckedReason::NoManifest, {}}),
         L"没有清单文件", L"no manifest", L"no manifest"},
        {__LINE__, mods::TextOf(mods::UncheckedMod{0, mods::UncheckedReason::Unreadable, notRegular}),
         L"清单文件无法读取：不是普通文件（链接、管道或设备）",
         L"the manifest cannot be read: not a regular file (a link, a pipe or a device)",
         L"its manifest cannot be read: not a regular file (a link, a pipe or a device)"},
        {__LINE__, mods::TextOf(mods::UncheckedMod{0, mods::UncheckedReason::Malformed, {}}),
         L"清单文件格式错误", L"the manifest is malformed", L"its manifest is not well formed"},
        {__LINE__, mods::TextOf(mods::UncheckedMod{0, mods::UncheckedReason::TooLarge, {}}),
         L"清单文件过大", L"the manifest is too large", L"its manifest is too large"},

        {__LINE__, mods::TextOf(mods::ModListProblem{mods::ModListFault::NotAModList, 1, {}}, L"l.txt"),
         L"l.txt 不是MOD列表：第一行不是“# PakOrder mod list 1”",
         L"l.txt is not a mod list: its first line is not \"# PakOrder mod list 1\"",
         L"l.txt is not a mod list: its first line is not \"# PakOrder mod list 1\""},
        {__LINE__, mods::TextOf(mods::ModListProblem{mods::ModListFault::OtherVersion, 1, {}}, L"l.txt"),
         L"l.txt 是本程序不认识的版本的MOD列表", L"l.txt is a mod list of a version this program does not know",
         L"l.txt is a mod list of a version this program does not read"},
        {__LINE__, mods::TextOf(mods::ModListProblem{mods::ModListFault::Binary, 0, {}}, L"l.txt"),
         L"l.txt 不是MOD列表：它不是 UTF-8 文本", L"l.txt is not a mod list: it is not UTF-8 text",
         L"l.txt is not a mod list: it is not UTF-8 text"},
        {__LINE__, mods::TextOf(mods::ModListProblem{mods::ModListFault::TooLarge, 0, {}}, L"l.txt"),
         L"l.txt 不是MOD列表：文件大于 4 MB", L"l.txt is not a mod list: it is larger than 4 MB",
         L"l.txt is not a mod list: it is larger than 4 MB"},
        {__LINE__, mods::TextOf(mods::ModListProblem{mods::ModListFault::BadLine, 3, {}}, L"l.txt"),
         L"l.txt 第 3 行：不是“+ 名字”、“- 名字”或注释", L"l.txt line 3: not \"+ name\", \"- name\" or a comment",
         L"l.txt, line 3: not \"+ NAME\", \"- NAME\" or a comment"},
        {__LINE__, mods::TextOf(mods::ModListProblem{mods::ModListFault::BadName, 4, L"a/b"}, L"l.txt"),
         L"l.txt 第 4 行：“a/b”不能作为MOD的文件名", L"l.txt line 4: \"a/b\" cannot be a mod's file name",
         L"l.txt, line 4: \"a/b\" cannot be the name of a mod's file"},
        {__LINE__, mods::TextOf(mods::ModListProblem{mods::ModListFault::Duplicate, 5, L"a"}, L"l.txt"),
         L"l.txt 第 5 行：“a”出现了两次", L"l.txt line 5: \"a\" appears twice", L"l.txt, line 5: \"a\" is named twice"},

        {__LINE__, mods::NotRenamed(mods::FileFailure{L"a.pak.MAN", notRegular}),
         L"无法重命名 a.pak.MAN：不是普通文件（链接、管道或设备）",
         L"Cannot rename a.pak.MAN: not a regular file (a link, a pipe or a device)",
         L"cannot rename a.pak.MAN: not a regular file (a link, a pipe or a device)"},
        {__LINE__, mods::NotDeleted(mods::FileFailure{L"a.pak", notRegular}),
         L"无法删除 a.pak：不是普通文件（链接、管道或设备）",
         L"Cannot delete a.pak: not a regular file (a link, a pipe or a device)",
         L"cannot delete a.pak: not a regular file (a link, a pipe or a device)"},
    };
    for (const auto& row : rows) {
        texts::SetLanguage(texts::Language::Chinese);
        EXPECT_EQ(ProblemWords(row.problem), row.chinese) << "line " << row.line;
        texts::SetLanguage(texts::Language::English);
        EXPECT_EQ(ProblemWords(row.problem), row.english) << "line " << row.line;
        EXPECT_EQ(cli::ProblemWords(row.problem), row.commandLine) << "line " << row.line;
    }
}

}  // namespace
