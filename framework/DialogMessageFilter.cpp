#include "framework/DialogMessageFilter.h"

#include "framework/HandlerFailure.h"

namespace fw {
namespace {

constexpr const wchar_t* kFilterProperty = L"fw.DialogMessageFilter";

}  // namespace

DialogMessageFilter::DialogMessageFilter(HWND dialog, std::function<bool(const MSG&)> filter)
    : dialog_(dialog), filter_(std::move(filter))
{
    SetPropW(dialog_, kFilterProperty, this);
    hook_ = SetWindowsHookExW(WH_MSGFILTER, Hook, nullptr, GetCurrentThreadId());
}

DialogMessageFilter::~DialogMessageFilter()
{
    if (hook_)
        UnhookWindowsHookEx(hook_);
    if (GetPropW(dialog_, kFilterProperty) == this)
        RemovePropW(dialog_, kFilterProperty);
}

LRESULT CALLBACK DialogMessageFilter::Hook(int code, WPARAM w, LPARAM l)
{
    const auto* message = reinterpret_cast<const MSG*>(l);
    HWND root = code == MSGF_DIALOGBOX && message->hwnd ? GetAncestor(message->hwnd, GA_ROOT) : nullptr;
    auto* self = root ? static_cast<DialogMessageFilter*>(GetPropW(root, kFilterProperty)) : nullptr;
    if (self && IsWindowEnabled(root)) {
        bool taken = true;  // a key whose action failed is not passed on
        RunReportingFailure(root, nullptr, [&] { taken = self->filter_(*message); });
        if (taken)
            return 1;
    }
    return CallNextHookEx(nullptr, code, w, l);
}

}  // namespace fw
