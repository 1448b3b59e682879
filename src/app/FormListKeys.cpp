#include "app/FormListKeys.h"

#include "platform/db/TTable.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QWidget>

namespace {

bool isLetterOrDigitKey(int key)
{
    return (key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9);
}

bool isTypingControl(const QWidget *widget)
{
    const auto *list = qobject_cast<const QComboBox *>(widget);
    return qobject_cast<const QLineEdit *>(widget) || (list && list->isEditable())
           || qobject_cast<const QAbstractSpinBox *>(widget) || qobject_cast<const QTextEdit *>(widget)
           || qobject_cast<const QPlainTextEdit *>(widget);
}

}

FormKeyMeaning FormKeyMeaningOf(int key, Qt::KeyboardModifiers modifiers, bool onPrintTab, bool intoTypingField)
{
    // Digits of the number block count as digits.
    const Qt::KeyboardModifiers held = modifiers & ~Qt::KeypadModifier;
    if (held == Qt::AltModifier) {
        if (key == Qt::Key_L)
            return {FormKeyAction::Layout, QChar(u'L')};
        if (key >= Qt::Key_0 && key <= Qt::Key_9)
            return {FormKeyAction::Copies, QChar(char16_t(key))};
        return {};
    }
    if (!onPrintTab || intoTypingField || !isLetterOrDigitKey(key))
        return {};
    return {FormKeyAction::SortKey, QChar(char16_t(key))};
}

bool TakesTypedKeys(const QWidget *widget)
{
    for (const QWidget *w = widget; w; w = w->isWindow() ? nullptr : w->parentWidget()) {
        if (isTypingControl(w))
            return true;
    }
    return false;
}

bool FindSortKeyRow(TTable &forms, const QString &module, const QString &formType, QChar character)
{
    if (forms.FindKey({module, formType, QString(character)}))
        return true;
    const QChar lower = character.toLower();
    return lower != character && forms.FindKey({module, formType, QString(lower)});
}
