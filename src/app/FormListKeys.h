#pragma once

#include <QChar>
#include <QString>
#include <Qt>

class QWidget;
class TTable;

// What a key means to the main window, which sees every key before the
// control that has the focus.
enum class FormKeyAction {
    None,   // the focused control gets the key
    Layout, // Alt+L: the layout designer
    Copies, // Alt+digit: the copies of the next job
    SortKey // a letter or digit on the print tab: print the row with that sort key
};

struct FormKeyMeaning
{
    FormKeyAction action = FormKeyAction::None;
    QChar character; // the digit of Copies, the upper-case character of SortKey
};

// Alt alone with "L" or a digit is the window's own command; every other
// letter or digit key, whatever else is held with it, is a sort key on the
// print tab. `intoTypingField`: the focus is on a control that takes typed
// keys as its text; a letter typed there never prints.
FormKeyMeaning FormKeyMeaningOf(int key, Qt::KeyboardModifiers modifiers, bool onPrintTab, bool intoTypingField);

// True when the widget, or the control it belongs to, takes typed keys as
// its text: edit fields, editable lists, spin boxes, text areas. A list of
// fixed entries is not one of them.
bool TakesTypedKeys(const QWidget *widget);

// Makes the form row with the sort key current: the row with the key
// (module, form type, character), else the one with the character in lower
// case. False, with the current row kept, when there is none.
bool FindSortKeyRow(TTable &forms, const QString &module, const QString &formType, QChar character);
