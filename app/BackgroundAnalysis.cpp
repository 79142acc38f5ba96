#include "app/BackgroundAnalysis.h"

#include <new>

#include "platform/LetterCase.h"
#include "mods/ModFile.h"

namespace {

// Thrown from the progress of a read to end it when the window goes.
struct Stopped {};

// The name without its extension, as Windows compares names: a mod enabled
// or disabled since keeps its manifest.
std::wstring StemOf(const std::wstring& name)
{
    const std::size_t dot = name.rfind(L'.');
    return platform::FoldedCase(dot == std::wstring::npos ? name : name.substr(0, dot));
}

}  // namespace

BackgroundAnalysis::BackgroundAnalysis(platform::FileSystem& files, HWND window, UINT doneMessage)
    : files_(files), window_(window), doneMessage_(doneMessage)
{
}

BackgroundAnalysis::~BackgroundAnalysis()
{
    stop_ = true;
    if (worker_.joinable())
        worker_.join();
}

void BackgroundAnalysis::Follow(const std::wstring& folder, const std::vector<mods::ModEntry>& catalogue)
{
    ready_.reset();
    waiting_ = Job{folder, catalogue, ++latest_};
    if (!worker_.joinable())
        Start();
}

void BackgroundAnalysis::Start()
{
    if (!waiting_)
        return;
    Job job = std::move(*waiting_);
    waiting_.reset();
    worker_ = std::thread([this, job = std::move(job), base = base_] {
        Done done = Work(files_, job, base, stop_);
        {
            const std::lock_guard<std::mutex> hold(doneLock_);
            done_ = std::move(done);
        }
        PostMessageW(window_, doneMessage_, 0, 0);
    });
}

bool BackgroundAnalysis::TakeDone()
{
    std::optional<Done> done;
    {
        const std::lock_guard<std::mutex> hold(doneLock_);
        done.swap(done_);
    }
    if (!done)
        return false;  // a message of a worker already taken
    worker_.join();  // it has finished: it posts last
    auto made = std::make_shared<const Done>(std::move(*done));
    // An index that failed leaves the last one to start from.
    if (made->index)
        base_ = made;
    const bool latest = made->generation == latest_ && made->index;
    if (latest)
        ready_ = made;
    Start();
    return latest;
}

BackgroundAnalysis::Done BackgroundAnalysis::Work(platform::FileSystem& files, const Job& job,
                                                  std::shared_ptr<const Done> base, const std::atomic<bool>& stop)
{
    Done done;
    done.folder = job.folder;
    done.generation = job.generation;
    if (stop)
        return done;
    try {
        // Another folder starts afresh.
        const bool same = base && base->folder == job.folder;
        auto index = same ? std::make_shared<mods::ConflictIndex>(*base->index) : std::make_shared<mods::ConflictIndex>();
        std::unordered_map<std::wstring, Held> before = same ? base->held : std::unordered_map<std::wstring, Held>{};

        // A mod gone whose stem and time come back under another extension was renamed, not changed.
        std::unordered_map<std::wstring, std::wstring> goneByStem;
        std::unordered_map<std::wstring, bool> listed;
        for (const mods::ModEntry& mod : job.catalogue)
            listed[mod.fileName] = true;
        for (const auto& [name, held] : before)
            if (!listed.count(name))
                goneByStem[StemOf(name)] = name;

        std::vector<std::wstring> toRead;
        for (const mods::ModEntry& mod : job.catalogue) {
            const auto found = before.find(mod.fileName);
            if (found != before.end() && found->second.time == mod.lastWriteTime) {
                done.held[mod.fileName] = found->second;
                continue;
            }
            const auto renamed = goneByStem.find(StemOf(mod.fileName));
            if (found == before.end() && renamed != goneByStem.end() &&
                before[renamed->second].time == mod.lastWriteTime) {
                done.held[mod.fileName] = before[renamed->second];
                goneByStem.erase(renamed);
                continue;
            }
            if (found != before.end() && found->second.indexName != mod.fileName)
                index->Remove(found->second.indexName);
            toRead.push_back(mod.fileName);
            done.held[mod.fileName] = Held{mod.lastWriteTime, mod.fileName};
        }
        for (const auto& [stem, name] : goneByStem)
            index->Remove(before[name].indexName);
        if (!job.folder.empty() && !toRead.empty())
            index->Read(files, job.folder, toRead, [&](std::size_t, std::size_t) {
                if (stop)
                    throw Stopped{};
            });
        done.read = toRead.size();
        done.index = std::move(index);
    } catch (const Stopped&) {
    } catch (const std::bad_alloc&) {
    }
    return done;
}
