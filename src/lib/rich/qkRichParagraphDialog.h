#pragma once

#include <QDialog>

class QComboBox;
class QLineEdit;
class TqkCustomRichEdit;
class TqkDBComboBox;

enum TqkLineSpacingRule { lsSingle, lsOneAndHalf, lsDouble, lsAtLeast, lsExactly, lsMultiple };

// The indents, spacing, line spacing and alignment of the paragraph at the
// caret, in the control's units.
class TqkRichParagraphDialog : public QDialog
{
    Q_OBJECT

public:
    explicit TqkRichParagraphDialog(TqkCustomRichEdit &richEdit, QWidget *parent = nullptr);

    static constexpr int maxTwips = 31680;

    TqkDBComboBox *AlignmentCombo() const { return m_alignment; }
    QLineEdit *LeftEdit() const { return m_left; }
    QLineEdit *RightEdit() const { return m_right; }
    QLineEdit *FirstLineEdit() const { return m_firstLine; }
    QLineEdit *BeforeEdit() const { return m_before; }
    QLineEdit *AfterEdit() const { return m_after; }
    QComboBox *LineSpacingCombo() const { return m_lineSpacing; }
    QLineEdit *AtEdit() const { return m_at; }

    // Sets what the user changed in the edits on every selected paragraph,
    // as one undo step; the rest of each paragraph's format stays.
    void Apply();
    void done(int result) override;

private:
    enum ShownValue {
        alignmentValue,
        leftValue,
        firstLineValue,
        rightValue,
        beforeValue,
        afterValue,
        ruleValue,
        atValue
    };

    void fill();
    QStringList shownValues() const;
    void lineSpacingChosen(int rule);
    bool allValid();
    void refuse(QLineEdit &edit, bool lineMultiple);
    QLineEdit *addEdit(const QString &hint);

    TqkCustomRichEdit &m_richEdit;
    TqkDBComboBox *m_alignment;
    QLineEdit *m_left;
    QLineEdit *m_right;
    QLineEdit *m_firstLine;
    QLineEdit *m_before;
    QLineEdit *m_after;
    QComboBox *m_lineSpacing;
    QLineEdit *m_at;
    QStringList m_filled;
};

bool qkRunParagraphDialog(TqkCustomRichEdit &richEdit);
