#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;

enum TFindOption { frMatchCase = 0x1, frWholeWord = 0x2, frReplaceAll = 0x4 };
Q_DECLARE_FLAGS(TFindOptions, TFindOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(TFindOptions)

// Find and replace dialogs of our own, shown modelessly. Searches always
// run forward, so there is no direction choice.
class TqkFindDialog : public QDialog
{
    Q_OBJECT

public:
    explicit TqkFindDialog(QWidget *parent = nullptr, bool withReplace = false);

    QString FindText() const;
    void SetFindText(const QString &text);
    QString ReplaceText() const;
    // frMatchCase and frWholeWord from the boxes; frReplaceAll while the
    // replace-all button runs its replace event.
    TFindOptions Options() const;

signals:
    void Find();
    void Replace();

private:
    QLineEdit *m_find;
    QLineEdit *m_replace;
    QCheckBox *m_wholeWord;
    QCheckBox *m_matchCase;
    bool m_replaceAll = false;
};
