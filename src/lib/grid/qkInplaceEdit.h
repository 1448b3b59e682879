#pragma once

#include "lib/edit/qkdbedit.h"

class TField;
class TqkCustomDBGrid;

// The grid's in-place editor: the picture-mask edit over the current cell.
// Navigation keys go back to the grid; typed text becomes the grid's
// pending text. A memo, and a word-wrapped cell high enough for a second
// line, are edited in the lines window.
class TqkInplaceEdit : public TqkCustomMaskEdit
{
    Q_OBJECT

public:
    explicit TqkInplaceEdit(TqkCustomDBGrid *grid);

    // Takes the field's text, picture mask and length limit.
    void Load(TField *field, bool wordWrap);
    bool HasMask() const { return m_hasMask; }
    bool ValidateText(const QString &text) { return CheckPictureText(text); }

protected:
    bool WantsKey(int key, qk::TShiftState shift) override;
    void KeyDown(int &key, qk::TShiftState shift) override;
    void KeyUp(int &key, qk::TShiftState shift) override;
    void KeyPress(QChar &key) override;
    void EnterFocus() override;
    int EditRectMargin() const override { return 2; }

private:
    void takePicture(TField *field);
    QString pendingText(const QString &text) const;

    TqkCustomDBGrid *m_grid;
    bool m_hasMask = false;
    bool m_memo = false;
    bool m_loading = false;
};
