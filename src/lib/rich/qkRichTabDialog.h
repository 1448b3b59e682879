#pragma once

#include <QDialog>

class QLineEdit;
class QListWidget;
class QPushButton;
class TqkCustomRichEdit;

// The tab stops of the paragraph at the caret, in the control's units.
class TqkRichTabDialog : public QDialog
{
    Q_OBJECT

public:
    explicit TqkRichTabDialog(TqkCustomRichEdit &richEdit, QWidget *parent = nullptr);

    static constexpr int maxTwips = 31680;
    static constexpr int maxTabStops = 32;

    QLineEdit *PositionEdit() const { return m_edit; }
    QListWidget *TabList() const { return m_list; }
    QStringList Positions() const;
    // Adds the edit's position; false when it is not a position on the page.
    bool SetTab();
    void ClearSelected();
    void ClearAll();
    // Sets the listed tab stops on the paragraph as one undo step.
    void Apply();

    void done(int result) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fill();
    int twipsOf(const QString &text) const;

    TqkCustomRichEdit &m_richEdit;
    QLineEdit *m_edit;
    QListWidget *m_list;
    QPushButton *m_ok;
};

// The tab stops of the paragraph at the caret, in twips from the margin.
QList<int> qkTabStopTwips(const TqkCustomRichEdit &richEdit);
// Sets the first 32 of the stops (twips from the margin, in order) on every
// paragraph of the selection, as one undo step.
void qkSetTabStops(TqkCustomRichEdit &richEdit, const QList<int> &twips);

// Shows the dialog for the control and applies it on OK.
bool qkRunTabDialog(TqkCustomRichEdit &richEdit);
