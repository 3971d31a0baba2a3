#pragma once
// A modal dialog run from a template of the program's resources. One dialog
// procedure finds the object (stored with the window at WM_INITDIALOG) and
// hands every message to its HandleMessage; no C++ exception leaves it for
// the system's callback (a message whose handler throws gets the default
// processing).
#include <windows.h>

namespace ui {

class DataExchange;

class Dialog {
public:
    Dialog(int templateId, HWND parent) : templateId_(templateId), parent_(parent) {}
    virtual ~Dialog() = default;
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    // Runs the dialog until End; returns End's result (-1 when the template
    // could not be shown).
    INT_PTR RunModal();
    HWND Handle() const { return window_; }

    // Runs the bindings of Exchange in one direction.
    void UpdateData(bool toMembers);

protected:
    // The message map. The default hands initialisation to OnInitDialog and
    // commands to OnCommand; it returns FALSE for everything else, which
    // leaves the message to the platform's default dialog processing.
    virtual INT_PTR HandleMessage(UINT message, WPARAM w, LPARAM l);
    // Standard initialisation: the template's list lines, then the exchange
    // to the controls. Returns TRUE to give the first tab stop the focus.
    virtual BOOL OnInitDialog();
    // A WM_COMMAND: control or menu id and notification code. True when
    // handled. The default ends the dialog on OK and Cancel.
    virtual bool OnCommand(int id, int code);
    virtual void Exchange(DataExchange&) {}
    void End(INT_PTR result) const { EndDialog(window_, result); }
    HWND Item(int id) const { return GetDlgItem(window_, id); }

private:
    static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM w, LPARAM l);
    void ApplyInitData() const;

    int templateId_;
    HWND parent_;
    HWND window_ = nullptr;
};

}  // namespace ui
