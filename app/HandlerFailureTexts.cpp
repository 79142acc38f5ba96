// The program's texts for a failure that reaches a window procedure.
#include "app/Texts.h"
#include "framework/HandlerFailure.h"

fw::HandlerFailureTexts fw::ProgramHandlerFailureTexts()
{
    return {texts::kActionFailed, texts::kOutOfMemory, texts::kUnexpectedError, texts::kAnAction};
}
