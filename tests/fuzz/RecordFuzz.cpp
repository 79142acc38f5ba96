// libFuzzer target: any bytes given to the record reader are either a
// record or refused, without a crash, a read past them or a hang; and a
// record it accepts is written back as text that reads as the same record.
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
    mods::RecordProblem problem;
    const auto record = mods::ParseRecord(std::vector<unsigned char>(data, data + size), problem);
    if (!record)
        return 0;
    (void)record->ModsChanged();
    const std::string text = mods::FormatRecord(*record);
    const auto again = mods::ParseRecord(std::vector<unsigned char>(text.begin(), text.end()), problem);
    if (!again || !Same(*record, *again))
        std::abort();
    return 0;
}
