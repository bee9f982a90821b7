// Forms: the top-level windows of the program, with border styles, icons, placement, menus, closing
// and modal showing.
#pragma once

#include "toolkit/controls.h"
#include "toolkit/image_list.h"

#include <algorithm>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace qh {

class TMainMenu;

class THintWindow;

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };

extern const TEnumInfo FormBorderStyleEnum;

enum TBorderIcon : unsigned { biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8 };

enum TPosition { poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter };

extern const TEnumInfo PositionEnum;

enum TCloseAction { caNone, caHide, caFree, caMinimize };

using TModalResult = int;

inline constexpr TModalResult mrNone = 0;

inline constexpr TModalResult mrOk = IDOK;

inline constexpr TModalResult mrCancel = IDCANCEL;

inline constexpr TModalResult mrAbort = IDABORT;

inline constexpr TModalResult mrRetry = IDRETRY;

inline constexpr TModalResult mrIgnore = IDIGNORE;

inline constexpr TModalResult mrYes = IDYES;

inline constexpr TModalResult mrNo = IDNO;

using TCloseQueryEvent = std::function<void(TObject* sender, bool& canClose)>;

using TCloseEvent = std::function<void(TObject* sender, TCloseAction& action)>;

// Key codes: the virtual key; shift: the ShortCut modifier bits below.
using TKeyEvent = std::function<void(TObject* sender, WORD& key, unsigned shift)>;

class TCustomForm : public TWinControl {
    QH_CLASS(TCustomForm, TWinControl)
    explicit TCustomForm(TComponent* owner);
    ~TCustomForm() override;

    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle style);
    unsigned BorderIcons() const { return FBorderIcons; }
    void SetBorderIcons(unsigned icons);
    TPosition Position() const { return FPosition; }
    void SetPosition(TPosition position) { FPosition = position; }
    // The icon of the form's frame and taskbar button; while empty, the
    // program's own icon. Given to the window with WM_SETICON, so that
    // WM_GETICON finds it.
    TIconImage* Icon() const { return FIcon.get(); }
    void SetIcon(TIconImage* icon);
    // The client area's size; the window grows by its frame and menu bar.
    void SetClientWidth(int width) { SetClientSize(width, ClientHeight()); }
    void SetClientHeight(int height) { SetClientSize(ClientWidth(), height); }
    void SetClientSize(int width, int height);
    RECT ClientRect() const override;
    // A new outer size given after the client size replaces it.
    void SetBounds(int left, int top, int width, int height) override;
    TMainMenu* Menu() const { return FMenu; }
    void SetMenu(TMainMenu* menu);
    bool KeyPreview() const { return FKeyPreview; }
    void SetKeyPreview(bool preview) { FKeyPreview = preview; }
    bool TransparentColor() const { return FTransparentColor; }
    void SetTransparentColor(bool on);
    TColor TransparentColorValue() const { return FTransparentColorValue; }
    void SetTransparentColorValue(TColor color);

    void SetVisible(bool visible) override;
    // Asks OnCloseQuery, then OnClose decides: hide (the default), free,
    // minimise or nothing. Closing the main form ends the application.
    void Close();
    bool CloseQuery();
    // Shows the form with the other windows disabled until ModalResult is
    // set (a button's ModalResult, Enter and Escape), and returns it.
    TModalResult ShowModal();
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult result) { FModalResult = result; }
    bool Modal() const { return FModal; }
    // Frees the form once the handler that asks for it has returned.
    void Release();
    // Whether the shortcut (16384 Ctrl + virtual key ...) runs an item of
    // the form's menu; runs it when it does.
    bool IsShortCut(unsigned shortCut);
    // The control inside the form that has the keyboard focus, or that had
    // it when the form was last active; none when the form itself has it.
    TWinControl* ActiveControl() const;
    // Focuses the control now when the form is active, else when it is
    // next activated.
    void SetActiveControl(TWinControl* control);
    int CurrentDpi() const override { return FCurrentDpi; }
    // Shows the form and everything on it at the DPI: done when its window
    // is made (for the monitor it is made on) and when it moves to a
    // monitor of another DPI. The form's own size follows unless the window
    // is given its new rectangle.
    void ScaleForDpi(int dpi, const RECT* windowRect = nullptr);

    TNotifyEvent OnCreate;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnActivate;
    TCloseQueryEvent OnCloseQuery;
    TCloseEvent OnClose;
    TKeyEvent OnKeyDown;
    // After the form has been scaled for another DPI: pictures drawn at
    // 96 DPI are given again for CurrentDpi.
    TNotifyEvent OnDpiChanged;

protected:
    void CreateParams(TCreateParams& params) override;
    void HandleCreated() override;
    void WndProc(TMessage& message) override;
    void Notification(TComponent* component, TOperation operation) override;
    // Runs OnCreate: the form's components are all made by then.
    void Loaded() override;

private:
    void ApplyIcon();
    void ApplyTransparency();
    void ApplyClientSize();
    void ScaleFigures(int fromDpi, int toDpi);
    void CloseModal();
    // Gives the focus back to the window inside that had it, or to the
    // first tab stop.
    void RestoreFocus();

    TFormBorderStyle FBorderStyle = bsSizeable;
    unsigned FBorderIcons = biSystemMenu | biMinimize | biMaximize;
    TPosition FPosition = poDesigned;
    std::unique_ptr<TIconImage> FIcon;
    // The program's icon, for a form without one of its own.
    TIconImage FProgramIcon;
    int FClientWidth = -1, FClientHeight = -1;
    // The DPI the form's figures are shown at; they are described at 96.
    int FCurrentDpi = 96;
    TMainMenu* FMenu = nullptr;
    bool FKeyPreview = false;
    bool FTransparentColor = false;
    TColor FTransparentColorValue = 0;
    TModalResult FModalResult = mrNone;
    bool FModal = false;
    bool FShownOnce = false;
    // The window inside that had the focus when the form was last left.
    HWND FFocusWindow = nullptr;
};

class TForm : public TCustomForm {
    QH_CLASS(TForm, TCustomForm)
    using TCustomForm::TCustomForm;
};

} // namespace qh
