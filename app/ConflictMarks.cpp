#include "app/ConflictMarks.h"

#include "app/ProblemTexts.h"
#include "app/Texts.h"
#include "base/FormatText.h"
#include "mods/ModCatalogue.h"
#include "mods/ProblemText.h"

namespace {

using mods::ConflictMark;

std::size_t Unintended(const std::vector<mods::ModOverlap>& overlaps)
{
    std::size_t count = 0;
    for (const mods::ModOverlap& overlap : overlaps)
        count += overlap.intended ? 0 : 1;
    return count;
}

std::wstring NamesOf(const std::vector<mods::ArrangedMod>& rows, const std::vector<std::size_t>& which)
{
    std::wstring names;
    for (std::size_t row : which) {
        if (!names.empty())
            names += texts::kNamesSeparator;
        names += rows[row].name;
    }
    return names;
}

std::wstring NamesOf(const std::vector<mods::ArrangedMod>& rows, const std::vector<mods::ModOverlap>& overlaps)
{
    std::vector<std::size_t> which;
    for (const mods::ModOverlap& overlap : overlaps)
        if (!overlap.intended && overlap.row < rows.size())
            which.push_back(overlap.row);
    return NamesOf(rows, which);
}

void Append(std::wstring& words, const std::wstring& more)
{
    if (!words.empty())
        words += texts::kMarkSeparator;
    words += more;
}

std::wstring ConflictWords(const mods::RowConflicts& row, const mods::ModRelations& relations)
{
    const int overrides = static_cast<int>(Unintended(relations.overrides));
    const int overriddenBy = static_cast<int>(Unintended(relations.overriddenBy));
    std::wstring words;
    switch (row.mark) {
    case ConflictMark::Overrides:
        return fw::FormatText(texts::kMarkOverrides, overrides, static_cast<int>(row.overridingFiles));
    case ConflictMark::Overridden:
        return fw::FormatText(texts::kMarkOverridden, overriddenBy, static_cast<int>(row.overriddenFiles));
    case ConflictMark::Both:
        Append(words, fw::FormatText(texts::kMarkOverrides, overrides, static_cast<int>(row.overridingFiles)));
        Append(words, fw::FormatText(texts::kMarkOverridden, overriddenBy, static_cast<int>(row.overriddenFiles)));
        return words;
    case ConflictMark::FullyOverridden:
        return fw::FormatText(texts::kMarkFullyOverridden, static_cast<int>(row.files), overriddenBy);
    case ConflictMark::Unchecked:
        return fw::FormatText(texts::kMarkUnchecked, ProblemWords(mods::TextOf(mods::UncheckedMod{0, row.reason, row.status})));
    case ConflictMark::None:
    case ConflictMark::Unknown:
        break;
    }
    return words;
}

}  // namespace

std::vector<RowMark> MarksOfRows(const std::vector<mods::ArrangedMod>& rows, const mods::ConflictAnalysis* analysis,
                                 const std::vector<mods::ModRelations>& relations)
{
    std::vector<RowMark> marks(rows.size());
    if (analysis && analysis->Rows().size() == rows.size() && relations.size() == rows.size()) {
        for (std::size_t row = 0; row < rows.size(); ++row) {
            marks[row].mark = analysis->Rows()[row].mark;
            marks[row].words = ConflictWords(analysis->Rows()[row], relations[row]);
        }
    }
    std::vector<mods::ModEntry> entries;
    entries.reserve(rows.size());
    for (const mods::ArrangedMod& row : rows)
        entries.push_back(mods::ModEntry{row.name, row.time, {}});
    const mods::TiedTimes tied = mods::FindTiedTimes(entries);
    for (const std::vector<std::size_t>& group : tied.groups) {
        for (std::size_t row : group) {
            marks[row].tied = true;
            Append(marks[row].words, fw::FormatText(texts::kMarkTied, NamesOf(rows, tied.OthersOf(row))));
        }
    }
    return marks;
}

std::vector<RowLight> LightsOf(std::size_t rowCount, std::size_t selected, const std::vector<mods::ModRelations>& relations)
{
    std::vector<RowLight> lights(rowCount, RowLight::None);
    if (selected >= relations.size())
        return lights;
    for (const mods::ModOverlap& overlap : relations[selected].overrides)
        if (!overlap.intended && overlap.row < rowCount)
            lights[overlap.row] = RowLight::Overridden;
    for (const mods::ModOverlap& overlap : relations[selected].overriddenBy)
        if (!overlap.intended && overlap.row < rowCount)
            lights[overlap.row] = RowLight::Overriding;
    return lights;
}

std::vector<RelatedPair> PairsOf(std::size_t row, const mods::ModRelations& relations)
{
    std::vector<RelatedPair> pairs;
    for (const mods::ModOverlap& overlap : relations.overrides)
        pairs.push_back(RelatedPair{row, overlap.row, overlap.intended});
    for (const mods::ModOverlap& overlap : relations.overriddenBy)
        pairs.push_back(RelatedPair{overlap.row, row, overlap.intended});
    return pairs;
}

std::wstring DetailsOf(const std::vector<mods::ArrangedMod>& rows, std::size_t row, unsigned long long pakBytes,
                       const mods::RowConflicts& conflicts, const std::vector<std::wstring>& folders,
                       const mods::ModRelations& relations)
{
    if (row >= rows.size())
        return {};
    // Tenths of a megabyte read at a glance for paks of any size.
    const unsigned long long tenths = (pakBytes * 10 + (1u << 19)) >> 20;
    const std::wstring size = std::to_wstring(tenths / 10) + L"." + std::to_wstring(tenths % 10) + L" MB";
    std::wstring folderList;
    for (const std::wstring& folder : folders) {
        if (!folderList.empty())
            folderList += L", ";
        folderList += folder;
    }
    std::wstring details = fw::FormatText(texts::kModDetails, rows[row].name, size, static_cast<int>(conflicts.files),
                                          folderList.empty() ? std::wstring(L"-") : folderList);
    const std::wstring overrides = NamesOf(rows, relations.overrides);
    if (!overrides.empty())
        details += fw::FormatText(texts::kDetailsOverrides, overrides);
    const std::wstring overriddenBy = NamesOf(rows, relations.overriddenBy);
    if (!overriddenBy.empty())
        details += fw::FormatText(texts::kDetailsOverriddenBy, overriddenBy);
    return details;
}
