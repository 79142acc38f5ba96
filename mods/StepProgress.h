#pragma once
// Told how far long work has got: `done` of `count` steps (rows, mods,
// manifests). An empty one is never called.

#include <cstddef>
#include <functional>

namespace mods {

using StepProgress = std::function<void(std::size_t done, std::size_t count)>;

}  // namespace mods
