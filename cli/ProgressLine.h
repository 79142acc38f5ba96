#pragma once
// One line on stderr, drawn again in place while long work goes on, for
// someone at a terminal: what is being done, how far, and that Ctrl+C stops
// it. Nothing is drawn when stderr is not a terminal: a log gets no lines
// of carriage returns.

#include <chrono>
#include <string>

namespace cli {

class Output;

class ProgressLine {
public:
    ProgressLine(Output& err, bool shown) : err_(err), shown_(shown) {}
    ~ProgressLine() { Clear(); }
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    // Drawn at most ten times a second, unless `now`.
    void Show(const std::wstring& text, bool now = false);
    // The line taken away, for what is said next.
    void Clear();

private:
    Output& err_;
    bool shown_;
    std::size_t columns_ = 0;  // of the line drawn last
    std::chrono::steady_clock::time_point drawn_{};
};

// The name cut to fit in `columns` (a CJK letter takes two), with "..." for what was cut.
std::wstring Shortened(const std::wstring& name, std::size_t columns);

}  // namespace cli
