// The tool bar and its tool buttons.
#pragma once

#include "toolkit/controls.h"

#include <functional>
#include <memory>
#include <string>

namespace qh {

class TToolBar;

class TMenuItem;

class TImageList;

// A button of a tool bar, painted by the bar.
class TToolButton : public TGraphicControl {
    QH_CLASS(TToolButton, TGraphicControl)
    explicit TToolButton(TComponent* owner);

    bool Down() const { return FDown; }
    void SetDown(bool down);
    TMenuItem* MenuItem() const { return FMenuItem; }
    void SetMenuItem(TMenuItem* item);
    // The picture of the bar's Images the button shows; -1: none.
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int index);
    void Click() override;

protected:
    void WndProc(TMessage& message) override;
    void Paint(HDC dc) override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    bool FDown = false;
    int FImageIndex = -1;
    TMenuItem* FMenuItem = nullptr;
};

// Custom-draw states of a tool button.
enum : unsigned {
    cdsSelected = 1,
    cdsGrayed = 2,
    cdsDisabled = 4,
    cdsFocused = 16,
    cdsDefault = 32,
    cdsHot = 64
};

// textColour: the caption's colour when the bar draws it after the event
// (the button's font colour unless the event says otherwise).
using TToolBarCustomDrawButtonEvent =
    std::function<void(TToolBar* sender, TToolButton* button, HDC dc, unsigned state,
                       bool& defaultDraw, TColor& textColour)>;

// Which edges of the tool bar get a border.
enum : unsigned { ebLeft = 1, ebTop = 2, ebRight = 4, ebBottom = 8 };

class TToolBar : public TWinControl {
    QH_CLASS(TToolBar, TWinControl)
    explicit TToolBar(TComponent* owner);

    int EdgeBorders() const { return static_cast<int>(FEdgeBorders); }
    void SetEdgeBorders(int edges);
    int ButtonHeight() const { return FButtonHeight; }
    void SetButtonHeight(int height);
    int ButtonWidth() const { return FButtonWidth; }
    void SetButtonWidth(int width);
    bool Flat() const { return FFlat; }
    void SetFlat(bool flat);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool transparent);
    TMenuItem* Menu() const { return FMenu; }
    void SetMenu(TMenuItem* menu) { FMenu = menu; }
    // The pictures of the buttons, by their ImageIndex.
    TImageList* Images() const { return FImages; }
    void SetImages(TImageList* images);

    TToolBarCustomDrawButtonEvent OnCustomDrawButton;

protected:
    void PaintWindow(HDC dc) override;
    void AdjustClientRect(RECT& rect) override;
    void Notification(TComponent* component, TOperation operation) override;
    // The button size too; the images are the owner's to give again.
    void ChangeScale(int fromDpi, int toDpi) override;

private:
    TImageList* FImages = nullptr;
    unsigned FEdgeBorders = ebTop;
    int FButtonHeight = 22;
    int FButtonWidth = 23;
    bool FFlat = false;
    bool FTransparent = false;
    TMenuItem* FMenu = nullptr;
    friend class TToolButton;
};

} // namespace qh
