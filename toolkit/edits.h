// Single-line edits and memos.
#pragma once

#include "core/string_list.h"
#include "toolkit/controls.h"

#include <string>
#include <vector>

namespace qh {

class TCustomEdit : public TWinControl {
    QH_CLASS(TCustomEdit, TWinControl)
    explicit TCustomEdit(TComponent* owner);

    // The text is the control's caption.
    const std::string& Text() const { return Caption(); }
    void SetText(const std::string& text) { SetCaption(text); }
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value);
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int value);
    // Without it the box has a flat single border instead of a sunken edge.
    bool Ctl3D() const { return FCtl3D; }
    void SetCtl3D(bool value);
    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& params) override;
    void HandleCreated() override;
    void WndProc(TMessage& message) override;

private:
    bool FReadOnly = false;
    int FMaxLength = 0;
    bool FCtl3D = true;
};

class TEdit : public TCustomEdit {
    QH_CLASS(TEdit, TCustomEdit)
    using TCustomEdit::TCustomEdit;
};

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

extern const TEnumInfo ScrollStyleEnum;

class TCustomMemo : public TCustomEdit {
    QH_CLASS(TCustomMemo, TCustomEdit)
    explicit TCustomMemo(TComponent* owner);

    // The text as lines (CR LF between them).
    TStringList Lines() const;
    void SetLines(const TStringList& lines);
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle style);

protected:
    void CreateParams(TCreateParams& params) override;
    // Keeps Enter for new lines, but leaves Tab and Escape to the form.
    void WndProc(TMessage& message) override;

private:
    TScrollStyle FScrollBars = ssNone;
};

class TMemo : public TCustomMemo {
    QH_CLASS(TMemo, TCustomMemo)
    using TCustomMemo::TCustomMemo;
};

} // namespace qh
