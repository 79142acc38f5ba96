#pragma once
// The conflict index of the folder shown, kept up to date off the window's
// thread. After each read of the folder a worker reads the manifests of the
// mods that came or were given another time, forgets the mods gone, and
// posts a message to the window when it is done. The window never waits for
// it: until the index of its latest read is ready it has none, so that it
// shows no marks rather than wrong ones.

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

#include "mods/ConflictIndex.h"
#include "mods/ModCatalogue.h"
#include "platform/FileSystem.h"

class BackgroundAnalysis {
public:
    // `doneMessage` is posted to `window` each time the worker finishes.
    BackgroundAnalysis(platform::FileSystem& files, HWND window, UINT doneMessage);
    // Stops the worker between two manifests and waits for it.
    ~BackgroundAnalysis();
    BackgroundAnalysis(const BackgroundAnalysis&) = delete;
    BackgroundAnalysis& operator=(const BackgroundAnalysis&) = delete;

    // The mods of a new read of `folder` (empty: none managed). The index
    // is gone until the worker has caught up with this read.
    void Follow(const std::wstring& folder, const std::vector<mods::ModEntry>& catalogue);
    // On the done message: true when the index of the latest read is now ready.
    bool TakeDone();
    // Null until the index of the latest read is ready.
    const mods::ConflictIndex* Index() const { return ready_ ? ready_->index.get() : nullptr; }
    // The manifests read for the latest read, when ready: for the benchmark and the tests.
    std::size_t ManifestsRead() const { return ready_ ? ready_->read : 0; }

private:
    // What the index holds of a mod: the time it had when read and the name it was read under.
    struct Held {
        mods::FileTime time = 0;
        std::wstring indexName;
    };
    struct Job {
        std::wstring folder;
        std::vector<mods::ModEntry> catalogue;
        std::uint64_t generation = 0;
    };
    struct Done {
        std::wstring folder;
        std::shared_ptr<const mods::ConflictIndex> index;  // null: the work failed
        std::unordered_map<std::wstring, Held> held;       // by the mod's name on disk
        std::uint64_t generation = 0;
        std::size_t read = 0;  // manifests read for it
    };

    void Start();
    // The worker: the index of `base` brought up to the job's mods.
    static Done Work(platform::FileSystem& files, const Job& job, std::shared_ptr<const Done> base,
                     const std::atomic<bool>& stop);

    platform::FileSystem& files_;
    HWND window_;
    UINT doneMessage_;
    std::uint64_t latest_ = 0;
    std::optional<Job> waiting_;           // the next job, once the worker is free
    std::shared_ptr<const Done> base_;     // the last index made, for the next job to start from
    std::shared_ptr<const Done> ready_;    // base_ when it is of the latest read
    std::thread worker_;
    std::atomic<bool> stop_{false};
    std::mutex doneLock_;
    std::optional<Done> done_;  // handed over from the worker, under doneLock_
};
