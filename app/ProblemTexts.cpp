#include "app/ProblemTexts.h"

#include "app/FailureTexts.h"
#include "app/Texts.h"

std::wstring ProblemWords(const mods::ProblemText& problem)
{
    return mods::Worded(problem, texts::Words(mods::FrontEndTextId<texts::Id>(problem.id)), DescribeError);
}
