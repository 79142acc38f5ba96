#pragma once
// Message tables: a class lists the messages, commands and notifications it
// handles in a static array, walked in order. Three handler shapes:
//   message:      bool Handler(WPARAM, LPARAM, LRESULT& result)  (false: not handled)
//   command:      void Handler()
//   notification: LRESULT Handler(NMHDR*)
// A class's ProcessMessage walks its own table, then its base class's.

#include <windows.h>

#include <cstddef>

namespace fw {

template <class T>
struct MessageEntry {
    enum class Kind { Message, RegisteredMessage, Command, Notify, ReflectedNotify };

    Kind kind;
    UINT message;                // Message
    const UINT* registered;      // RegisteredMessage: the variable holding the number
    UINT id;                     // Command, Notify: the control's id
    UINT code;                   // Notify, ReflectedNotify: the notification code
    bool (T::*onMessage)(WPARAM, LPARAM, LRESULT&);
    void (T::*onCommand)();
    LRESULT (T::*onNotify)(NMHDR*);
};

template <class T>
constexpr MessageEntry<T> OnMessage(UINT message, bool (T::*handler)(WPARAM, LPARAM, LRESULT&))
{
    return {MessageEntry<T>::Kind::Message, message, nullptr, 0, 0, handler, nullptr, nullptr};
}

template <class T>
constexpr MessageEntry<T> OnRegisteredMessage(const UINT* message, bool (T::*handler)(WPARAM, LPARAM, LRESULT&))
{
    return {MessageEntry<T>::Kind::RegisteredMessage, 0, message, 0, 0, handler, nullptr, nullptr};
}

template <class T>
constexpr MessageEntry<T> OnCommand(UINT id, void (T::*handler)())
{
    return {MessageEntry<T>::Kind::Command, WM_COMMAND, nullptr, id, 0, nullptr, handler, nullptr};
}

template <class T>
constexpr MessageEntry<T> OnNotify(UINT id, UINT code, LRESULT (T::*handler)(NMHDR*))
{
    return {MessageEntry<T>::Kind::Notify, WM_NOTIFY, nullptr, id, code, nullptr, nullptr, handler};
}

// A notification the control sent to its parent and the parent handed back.
template <class T>
constexpr MessageEntry<T> OnReflectedNotify(UINT code, LRESULT (T::*handler)(NMHDR*))
{
    return {MessageEntry<T>::Kind::ReflectedNotify, WM_NOTIFY, nullptr, 0, code, nullptr, nullptr, handler};
}

// Runs the first entry that matches. `reflected` selects the reflected
// entries (a notification handed back to its sender) or all the others.
template <class T, std::size_t N>
bool DispatchMessage(T* self, const MessageEntry<T> (&table)[N], bool reflected, UINT message, WPARAM w, LPARAM l,
                     LRESULT& result)
{
    using Kind = typename MessageEntry<T>::Kind;
    for (const MessageEntry<T>& entry : table) {
        if ((entry.kind == Kind::ReflectedNotify) != reflected)
            continue;
        switch (entry.kind) {
        case Kind::Message:
            if (entry.message == message && (self->*entry.onMessage)(w, l, result))
                return true;
            break;
        case Kind::RegisteredMessage:
            if (*entry.registered != 0 && *entry.registered == message && (self->*entry.onMessage)(w, l, result))
                return true;
            break;
        case Kind::Command:
            if (message == WM_COMMAND && LOWORD(w) == entry.id) {
                (self->*entry.onCommand)();
                result = 0;
                return true;
            }
            break;
        case Kind::Notify:
        case Kind::ReflectedNotify: {
            if (message != WM_NOTIFY)
                break;
            NMHDR* header = reinterpret_cast<NMHDR*>(l);
            if (header->code == entry.code && (reflected || header->idFrom == entry.id)) {
                result = (self->*entry.onNotify)(header);
                return true;
            }
            break;
        }
        }
    }
    return false;
}

}  // namespace fw
