// The two sides of a subclassing: the source, whose window is meant, and the
// target, the form that sees each of the window's messages before the
// window's own procedure does. Any object can be either; the engine asks
// nothing else of them.
#pragma once

#include "platform/Win32Api.h"

#include <string>

class KZSubClassSource {
public:
    // The window whose messages the engine is to route.
    virtual HWND hwnd() const = 0;

protected:
    ~KZSubClassSource() = default;
};

class KZSubClassTarget {
public:
    // Called for each message of a window the target is registered for.
    // Every argument is passed by reference: a target that wants to decide
    // the message's result sets ReturnValue and ReturnValueUsedFlag = true;
    // a change to Msg, wParam or lParam is seen by the targets after it and
    // by the window's own procedure. SourceDescription is the source name of
    // the registration (a copy: changing it renames nothing).
    virtual void KZSubClassWindowProc(std::string& SourceDescription, HWND& hwnd, UINT& Msg, WPARAM& wParam,
                                      LPARAM& lParam, LRESULT& ReturnValue, bool& ReturnValueUsedFlag) = 0;

protected:
    ~KZSubClassTarget() = default;
};
