#pragma once

#include <QObject>
#include <QPushButton>
#include <QSize>

class TDataSet;
class QWidget;

// The stored window position of a library dialog window.
class TqkFormPosition
{
    Q_GADGET
    Q_PROPERTY(int Left MEMBER Left)
    Q_PROPERTY(int Top MEMBER Top)
    Q_PROPERTY(int Width MEMBER Width)
    Q_PROPERTY(int Height MEMBER Height)

public:
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
};

// Base of the library's non-visual dialog components.
class TqkCustomDialog : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;
    virtual bool Execute() = 0;
    virtual TDataSet *GetPrimaryDataSet() = 0;
};

enum TBitBtnKind { bkOK, bkCancel, bkHelp };

// A dialog button that shows its kind's standard glyph left of the caption.
class TBitBtn : public QPushButton
{
    Q_OBJECT
    Q_PROPERTY(TBitBtnKind Kind READ Kind WRITE SetKind)

public:
    using QPushButton::QPushButton;
    TBitBtnKind Kind() const { return m_kind; }
    void SetKind(TBitBtnKind kind);

private:
    TBitBtnKind m_kind = bkOK;
};

// Sizes are given for 96 pixels per inch and scaled to the screen.
QSize qkDialogButtonSize(bool bitmapped, int pixelsPerInch);
int qkScreenPixelsPerInch();

// One OK, Cancel or Help button of a library dialog form, hidden; the caller
// places it. With the global OKCancelBitmapped it is a TBitBtn.
QPushButton *qkCreateDialogButton(QWidget *owner, TBitBtnKind kind);
