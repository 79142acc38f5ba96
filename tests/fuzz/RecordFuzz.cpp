// libFuzzer target: any bytes given to the record reader are either a
// record or refused, without a crash, a read past them or a hang, read as a
// summary alike; and a record it accepts is written back as text that reads
// as the same record.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "mods/ChangeRecord.h"

namespace {

bool Same(const mods::ChangeRecord& a, const mods::ChangeRecord& b)
{
    return a.sequence == b.sequence && a.paksFolder == b.paksFolder && a.madeAt == b.madeAt && a.action == b.action &&
           a.intent == b.intent && a.stepOf == b.stepOf && a.complete == b.complete && a.before == b.before &&
           a.after == b.after;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::vector<unsigned char> bytes(data, data + size);
    mods::RecordProblem problem, summaryProblem;
    const auto record = mods::ParseRecord(bytes, problem);
    // A summary refuses what a whole read refuses, and counts as it does.
    const auto summary = mods::ParseRecord(bytes, summaryProblem, mods::RecordParts::Summary);
    if (summary.has_value() != record.has_value() || (record && summary->ModsChanged() != record->ModsChanged()) ||
        (!record && (summaryProblem.fault != problem.fault || summaryProblem.line != problem.line)))
        std::abort();
    if (!record)
        return 0;
    (void)record->ModsChanged();
    const std::string text = mods::FormatRecord(*record);
    const auto again = mods::ParseRecord(std::vector<unsigned char>(text.begin(), text.end()), problem);
    if (!again || !Same(*record, *again))
        std::abort();
    return 0;
}
