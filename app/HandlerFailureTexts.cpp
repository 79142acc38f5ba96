// The program's texts for a failure that reaches a window procedure.
#include "app/Texts.h"
#include "framework/HandlerFailure.h"

const fw::HandlerFailureTexts& fw::ProgramHandlerFailureTexts()
{
    static const HandlerFailureTexts kTexts{texts::kActionFailed, texts::kOutOfMemory, texts::kUnexpectedError,
                                            texts::kAnAction};
    return kTexts;
}
