#include "mods/FolderRestore.h"

#include <unordered_map>

#include "mods/ModFile.h"
#include "mods/ModTime.h"
#include "platform/LetterCase.h"
#include "platform/Paths.h"

namespace mods {
namespace {

struct Pairing {
    const RecordedMod* a = nullptr;
    const RecordedMod* b = nullptr;
};

// The mods of two states paired: by the pak's exact name first, then by
// the name without its extension where that leaves exactly one mod on each
// side (a.pak beside a.G1O, or a.pak beside A.PAK, are never guessed at).
// Every mod of either side is in one pairing, alone when it has no match.
std::vector<Pairing> Pair(const std::vector<RecordedMod>& as, const std::vector<RecordedMod>& bs)
{
    std::unordered_map<std::wstring, std::size_t> bByName;
    bByName.reserve(bs.size());
    for (std::size_t i = 0; i < bs.size(); ++i)
        bByName.emplace(bs[i].pak.name, i);
    std::vector<bool> bTaken(bs.size(), false);
    std::vector<Pairing> pairs;
    pairs.reserve(as.size() + bs.size());
    std::vector<std::size_t> aLeft;
    for (std::size_t i = 0; i < as.size(); ++i) {
        const auto found = bByName.find(as[i].pak.name);
        if (found != bByName.end() && !bTaken[found->second]) {
            bTaken[found->second] = true;
            pairs.push_back(Pairing{&as[i], &bs[found->second]});
        } else {
            aLeft.push_back(i);
        }
    }
    // What is left, by key: a key with one mod on each side is a rename.
    struct Side {
        int count = 0;
        std::size_t index = 0;
    };
    std::unordered_map<std::wstring, std::pair<Side, Side>> byKey;
    for (const std::size_t i : aLeft) {
        Side& side = byKey[ModKey(as[i].pak.name)].first;
        ++side.count;
        side.index = i;
    }
    for (std::size_t i = 0; i < bs.size(); ++i) {
        if (bTaken[i])
            continue;
        Side& side = byKey[ModKey(bs[i].pak.name)].second;
        ++side.count;
        side.index = i;
    }
    for (const std::size_t i : aLeft) {
        const auto& [aSide, bSide] = byKey[ModKey(as[i].pak.name)];
        if (aSide.count == 1 && bSide.count == 1) {
            bTaken[bSide.index] = true;
            pairs.push_back(Pairing{&as[i], &bs[bSide.index]});
        } else {
            pairs.push_back(Pairing{&as[i], nullptr});
        }
    }
    for (std::size_t i = 0; i < bs.size(); ++i) {
        if (!bTaken[i])
            pairs.push_back(Pairing{nullptr, &bs[i]});
    }
    return pairs;
}

std::wstring CompanionWanted(const RecordedMod& wanted)
{
    return wanted.companion ? wanted.companion->name : CompanionName(wanted.pak.name);
}

// The step from `now` to `wanted`, or nothing when they are alike; a
// companion the target has and the folder lacks is named Gone.
std::optional<RestoreStep> StepTo(const RecordedMod& now, const RecordedMod& wanted, RestorePlan& plan)
{
    if (wanted.companion && !now.companion)
        plan.notRestored.push_back(NotRestored{wanted.companion->name, NotRestoredReason::Gone, {}});
    const bool pakAlike = now.pak == wanted.pak;
    const bool companionAlike = !now.companion || !wanted.companion || *now.companion == *wanted.companion;
    if (pakAlike && companionAlike)
        return std::nullopt;
    return RestoreStep{now, wanted};
}

// Two names of one file: where names ignore case, a change of case only.
bool SameFile(const std::wstring& a, const std::wstring& b)
{
#ifdef _WIN32
    return platform::FoldedCase(a) == platform::FoldedCase(b);
#else
    return a == b;
#endif
}

const RecordedMod* FindByName(const std::unordered_map<std::wstring, const RecordedMod*>& index, const std::wstring& name)
{
    const auto found = index.find(name);
    return found == index.end() ? nullptr : found->second;
}

}  // namespace

int RestorePlan::FilesToChange() const
{
    int files = 0;
    for (const RestoreStep& step : steps) {
        const int inMod = step.now.companion ? 2 : 1;
        if (!step.wanted) {
            files += inMod;
            continue;
        }
        files += step.now.pak == step.wanted->pak ? 0 : 1;
        if (step.now.companion && step.wanted->companion)
            files += *step.now.companion == *step.wanted->companion ? 0 : 1;
        else if (step.now.companion && step.now.companion->name != CompanionWanted(*step.wanted))
            ++files;
    }
    return files;
}

RestorePlan PlanRestore(const std::vector<RecordedMod>& current, const std::vector<RecordedMod>& target)
{
    RestorePlan plan;
    for (const Pairing& pairing : Pair(target, current)) {
        if (!pairing.a)
            continue;  // in the folder only: kept
        if (!pairing.b) {
            plan.notRestored.push_back(NotRestored{pairing.a->pak.name, NotRestoredReason::Gone, {}});
            continue;
        }
        if (auto step = StepTo(*pairing.b, *pairing.a, plan))
            plan.steps.push_back(std::move(*step));
    }
    return plan;
}

RestorePlan PlanStep(const std::vector<RecordedMod>& current, const std::vector<RecordedMod>& from,
                     const std::vector<RecordedMod>& to, const std::unordered_set<std::wstring>& removable)
{
    std::unordered_map<std::wstring, const RecordedMod*> now;
    now.reserve(current.size());
    for (const RecordedMod& mod : current)
        now.emplace(mod.pak.name, &mod);

    RestorePlan plan;
    for (const Pairing& pairing : Pair(from, to)) {
        if (pairing.a && pairing.b && *pairing.a == *pairing.b)
            continue;  // the action did not change it
        if (!pairing.a) {
            // The action took it away: it cannot come back (unless it is there again).
            if (!FindByName(now, pairing.b->pak.name))
                plan.notRestored.push_back(NotRestored{pairing.b->pak.name, NotRestoredReason::Gone, {}});
            continue;
        }
        const RecordedMod* found = FindByName(now, pairing.a->pak.name);
        if (!found || !(*found == *pairing.a)) {
            // Changed since the action, by hand or by another program: left alone.
            plan.notRestored.push_back(NotRestored{pairing.a->pak.name,
                                                   found ? NotRestoredReason::Changed : NotRestoredReason::Gone, {}});
            continue;
        }
        if (!pairing.b) {
            // Only what the action itself added (or took) goes; a mod that
            // came from elsewhere meanwhile is not its change.
            if (removable.count(pairing.a->pak.name))
                plan.steps.push_back(RestoreStep{*found, std::nullopt});
            continue;
        }
        if (auto step = StepTo(*found, *pairing.b, plan))
            plan.steps.push_back(std::move(*step));
    }
    return plan;
}

AppliedRestore ApplyRestore(platform::FileSystem& fileSystem, const std::wstring& paksFolder, const RestorePlan& plan,
                            std::vector<RecordedMod>& state, const StepProgress& progress)
{
    AppliedRestore result;
    result.notRestored = plan.notRestored;
    const auto failed = [&](const std::wstring& name, platform::FsStatus status) {
        NotRestoredReason reason = NotRestoredReason::Failed;
        if (platform::IsAlreadyExists(status))
            reason = NotRestoredReason::NameTaken;
        else if (platform::IsTimeNotKept(status))
            reason = NotRestoredReason::TimeNotKept;
        result.notRestored.push_back(NotRestored{name, reason, status});
    };
    const auto path = [&](const std::wstring& name) { return platform::JoinPath(paksFolder, name); };
    std::unordered_map<std::wstring, std::size_t> inState;
    for (std::size_t i = 0; i < state.size(); ++i)
        inState.emplace(state[i].pak.name, i);
    std::vector<bool> removed(state.size(), false);
    // Every time on disk now is one the file system keeps.
    KnownKeptTimes known;
    for (const RecordedMod& mod : state) {
        known.Add(mod.pak.time);
        if (mod.companion)
            known.Add(mod.companion->time);
    }

    for (const RestoreStep& step : plan.steps) {
        if (progress)
            progress(static_cast<std::size_t>(&step - plan.steps.data()), plan.steps.size());
        const auto at = inState.find(step.now.pak.name);
        RecordedMod* mod = at == inState.end() ? nullptr : &state[at->second];
        if (!step.wanted) {
            // The pak first: a companion never stays without it unless the pak is gone.
            const platform::FsStatus pak = fileSystem.RemoveFile(path(step.now.pak.name));
            if (!pak.ok() && !platform::IsNotFound(pak)) {
                failed(step.now.pak.name, pak);
                continue;
            }
            ++result.filesChanged;
            if (mod)
                removed[at->second] = true;
            if (step.now.companion) {
                const platform::FsStatus man = fileSystem.RemoveFile(path(step.now.companion->name));
                if (!man.ok() && !platform::IsNotFound(man))
                    failed(step.now.companion->name, man);
                else
                    ++result.filesChanged;
            }
            continue;
        }
        const RecordedMod& wanted = *step.wanted;
        const std::wstring& pakName = wanted.pak.name;
        // A name the companion cannot take stops the mod before its pak moves.
        if (step.now.companion && step.now.companion->name != CompanionWanted(wanted) &&
            !SameFile(step.now.companion->name, CompanionWanted(wanted)) &&
            platform::NameTaken(fileSystem, path(CompanionWanted(wanted)))) {
            failed(step.now.pak.name, platform::AlreadyExistsStatus());
            continue;
        }
        if (step.now.pak.name != pakName) {
            const platform::FsStatus pak = fileSystem.RenameNoReplace(path(step.now.pak.name), path(pakName));
            if (!pak.ok()) {
                failed(step.now.pak.name, pak);
                continue;  // the mod stays as it is, times included
            }
            ++result.filesChanged;
            if (mod)
                mod->pak.name = pakName;
        }
        std::optional<std::wstring> companion;
        if (step.now.companion) {
            companion = step.now.companion->name;
            const std::wstring wantedName = CompanionWanted(wanted);
            if (*companion != wantedName) {
                const platform::FsStatus man = fileSystem.RenameNoReplace(path(*companion), path(wantedName));
                if (!man.ok()) {
                    // The pak goes back beside its companion: the two never part.
                    if (step.now.pak.name != pakName &&
                        fileSystem.RenameNoReplace(path(pakName), path(step.now.pak.name)).ok()) {
                        --result.filesChanged;
                        if (mod)
                            mod->pak.name = step.now.pak.name;
                    }
                    failed(step.now.pak.name, man);
                    continue;
                }
                ++result.filesChanged;
                companion = wantedName;
                if (mod)
                    mod->companion->name = wantedName;
            }
        }
        if (step.now.pak.time != wanted.pak.time) {
            FileTime kept = step.now.pak.time;
            const platform::FsStatus status = WriteTimeKept(fileSystem, path(pakName), wanted.pak.time, &kept, &known);
            if (!status.ok())
                failed(pakName, status);
            else if (step.now.pak.name == pakName)
                ++result.filesChanged;
            if (mod)
                mod->pak.time = kept;
        }
        if (companion && wanted.companion && step.now.companion->time != wanted.companion->time) {
            FileTime kept = step.now.companion->time;
            const platform::FsStatus status = WriteTimeKept(fileSystem, path(*companion), wanted.companion->time, &kept, &known);
            if (!status.ok())
                failed(*companion, status);
            else if (*companion == step.now.companion->name)
                ++result.filesChanged;
            if (mod)
                mod->companion->time = kept;
        }
    }
    std::size_t kept = 0;
    for (std::size_t i = 0; i < state.size(); ++i) {
        if (removed[i])
            continue;
        if (kept != i)
            state[kept] = std::move(state[i]);
        ++kept;
    }
    state.resize(kept);
    return result;
}

}  // namespace mods
