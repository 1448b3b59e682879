#pragma once

#include "lib/edit/qkKeyAdapter.h"

#include <QColor>

class QWidget;

// What the edit controls need of the library's grid when they sit in one of
// its cells. The grid implements it; the controls find it by class name, so
// they need no reference to the grid's class.
class TqkGridHost
{
public:
    virtual ~TqkGridHost() = default;

    virtual bool AlwaysShowEditor() const = 0;
    virtual bool TabsMoveColumns() const = 0;
    virtual bool GridHasFocus() const = 0;
    // The grid takes the focus; true when it then has it.
    virtual bool TakeFocus() = 0;
    // The grid's own key-down handling (rows, columns, editor).
    virtual void GridKeyDown(int &key, qk::TShiftState shift) = 0;
    // The grid's OnKeyDown event, when assigned (Sender is the grid).
    virtual void FireOnKeyDown(int &key, qk::TShiftState shift) = 0;
    virtual QColor GridFontColor() const = 0;
};

// The grid the control sits in: its parent when that is a "TqkDBGrid" or
// inherits from it.
TqkGridHost *qkGridHostOf(const QWidget *control);
// Hands a key to the grid: the grid takes the focus and, once it has it,
// receives the key. The key is 0 for the control afterwards in every case.
void qkPassKeyToGrid(TqkGridHost *grid, int &key, qk::TShiftState shift);
