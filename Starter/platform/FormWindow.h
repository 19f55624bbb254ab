// The base of the starter's forms (Mfrm, MENUfrm): one hidden top-level
// window of the form's own window class, with the properties the forms use.
//
// The window is never seen by the user, even while it is "visible" at zero
// size: it is a borderless popup (WS_POPUP, no minimum size) and a tool
// window (WS_EX_TOOLWINDOW, no taskbar button). The form object is attached
// to its window at WM_NCCREATE in the window's extra bytes (index 0), not in
// GWLP_USERDATA, which the subclassing engine takes over.
#pragma once

#include "platform/Handles.h"
#include "platform/Win32Api.h"

#include <string>

namespace platform {

class FormWindow {
public:
    // className names the form's own window class, caption its window text.
    FormWindow(std::string className, std::string caption);
    virtual ~FormWindow();
    FormWindow(const FormWindow&) = delete;
    FormWindow& operator=(const FormWindow&) = delete;

    // Makes the window (hidden, disabled state untouched, zero size) and
    // loads the form's icon. True when the window exists; a second call does
    // nothing more.
    bool Create();
    // Destroys the window, once; the destructor does it too.
    void Destroy();

    // The window handle; nullptr before Create and after the window is gone.
    HWND hwnd() const { return hwnd_; }
    const std::string& Caption() const { return caption_; }

    // The program icon (icon resource 1 of the module) at the small-icon
    // size for the DPI the window is shown at, or nullptr when the module has
    // none. Loaded by Create, destroyed with the form.
    HICON Icon() const { return icon_.get(); }
    // Loads the program icon again at the small-icon size for dpi (0: the
    // DPI the window is shown at now) and makes it the form's icon. Gives
    // back the icon it replaced (empty when none was loaded), for the caller
    // to keep until whoever was handed that one has the new one.
    unique_hicon ReloadIcon(UINT dpi = 0);

    // Size in pixels; the position stays where it is.
    void SetWidth(int width);
    void SetHeight(int height);

    void SetEnabled(bool enabled);
    // Shows the window (activating it) or hides it.
    void SetVisible(bool visible);

    // Gives the form's window the keyboard focus, activating it when it
    // isn't the active window of this thread.
    void Focus();

protected:
    // The form's window procedure. The default is DefWindowProcA.
    virtual LRESULT FormProc(UINT msg, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK StaticWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    bool RegisterFormClass() const;

    std::string className_;
    std::string caption_;
    HWND hwnd_ = nullptr;
    unique_hicon icon_;
};

}  // namespace platform
