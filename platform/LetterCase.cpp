#include "platform/LetterCase.h"

#include <iterator>

namespace platform {
namespace {

// Lower-case letters from `first` to `last`, every `step`th one, lie
// `offset` code points after their upper-case letters. Where upper and
// lower case alternate (Ā ā Ă ă ...), the step is 2.
struct LowerCaseRun {
    long first, last;
    int step;
    int offset;
};

constexpr LowerCaseRun kLowerCase[] = {
    {0x0061, 0x007A, 1, 32},   // a-z
    {0x00E0, 0x00F6, 1, 32},   // Latin-1: à-ö
    {0x00F8, 0x00FE, 1, 32},   // ø-þ
    {0x00FF, 0x00FF, 1, 0x00FF - 0x0178},  // ÿ Ÿ
    {0x0101, 0x012F, 2, 1},    // Latin Extended-A: ā-į
    {0x0133, 0x0137, 2, 1},    // ĳ-ķ
    {0x013A, 0x0148, 2, 1},    // ĺ-ň
    {0x014B, 0x0177, 2, 1},    // ŋ-ŷ
    {0x017A, 0x017E, 2, 1},    // ź-ž
    {0x01A1, 0x01A1, 1, 1},    // Latin Extended-B: ơ Ơ
    {0x01B0, 0x01B0, 1, 1},    // ư Ư
    {0x01CE, 0x01DC, 2, 1},    // ǎ-ǜ
    {0x01DF, 0x01EF, 2, 1},    // ǟ-ǯ
    {0x01F9, 0x021F, 2, 1},    // ǹ-ȟ
    {0x0223, 0x0233, 2, 1},    // ȣ-ȳ
    {0x03AC, 0x03AC, 1, 0x03AC - 0x0386},  // Greek: ά Ά
    {0x03AD, 0x03AF, 1, 0x03AD - 0x0388},  // έ-ί
    {0x03B1, 0x03C1, 1, 32},   // α-ρ
    {0x03C2, 0x03C2, 1, 0x03C2 - 0x03A3},  // final ς, Σ
    {0x03C3, 0x03CB, 1, 32},   // σ-ϋ
    {0x03CC, 0x03CC, 1, 0x03CC - 0x038C},  // ό Ό
    {0x03CD, 0x03CE, 1, 0x03CD - 0x038E},  // ύ ώ
    {0x03D9, 0x03EF, 2, 1},    // ϙ-ϯ
    {0x0430, 0x044F, 1, 32},   // Cyrillic: а-я
    {0x0450, 0x045F, 1, 80},   // ѐ-џ
    {0x0461, 0x0481, 2, 1},    // ѡ-ҁ
    {0x048B, 0x04BF, 2, 1},    // ҋ-ҿ
    {0x04C2, 0x04CE, 2, 1},    // ӂ-ӎ
    {0x04CF, 0x04CF, 1, 0x04CF - 0x04C0},  // ӏ Ӏ
    {0x04D1, 0x052F, 2, 1},    // ӑ-ԯ
    {0x0561, 0x0586, 1, 48},   // Armenian: ա-ֆ
    {0x1E01, 0x1E95, 2, 1},    // Latin Extended Additional: ḁ-ẕ
    {0x1EA1, 0x1EFF, 2, 1},    // Vietnamese: ạ-ỿ
    {0x2170, 0x217F, 1, 16},   // small Roman numerals
    {0x24D0, 0x24E9, 1, 26},   // circled ⓐ-ⓩ
    {0xFF41, 0xFF5A, 1, 32},   // full-width ａ-ｚ
};

}  // namespace

wchar_t UpperCaseOf(wchar_t c)
{
    const auto code = static_cast<long>(c);
    if (code < kLowerCase[0].first || code > std::end(kLowerCase)[-1].last)
        return c;
    for (const LowerCaseRun& run : kLowerCase) {
        if (code >= run.first && code <= run.last && (code - run.first) % run.step == 0)
            return static_cast<wchar_t>(code - run.offset);
    }
    return c;
}

std::wstring FoldedCase(std::wstring_view text)
{
    std::wstring folded(text);
    for (wchar_t& c : folded)
        c = UpperCaseOf(c);
    return folded;
}

}  // namespace platform
