#include "app/LanguageSetting.h"

#include "platform/LetterCase.h"

namespace {

const std::wstring kSection = L"Settings";
const std::wstring kKey = L"Language";
const std::wstring kEnglish = L"English";
const std::wstring kChinese = L"Chinese";

}  // namespace

texts::Language ReadLanguage(platform::Profile& profile)
{
    // Whatever else the file holds (an edit, garbage) leaves the default.
    return platform::FoldedCase(profile.Read(kSection, kKey)) == platform::FoldedCase(kEnglish)
               ? texts::Language::English
               : texts::Language::Chinese;
}

void KeepLanguage(platform::Profile& profile, texts::Language language)
{
    profile.Write(kSection, kKey, language == texts::Language::English ? kEnglish : kChinese);
}
