#pragma once

#include <QAbstractButton>

class QLineEdit;

enum TqkComboButtonStyle { cbsEllipsis, cbsDownArrow };

// The button at the right edge of the combo edits and the date/time picker:
// a drop-down arrow or an ellipsis, never focused. It keeps its place at the
// edit's right edge and follows the edit's size and enabled state.
class TqkComboButton : public QAbstractButton
{
    Q_OBJECT

public:
    explicit TqkComboButton(QLineEdit *edit);
    TqkComboButtonStyle ButtonStyle() const { return m_style; }
    void SetButtonStyle(TqkComboButtonStyle style);
    bool IsShown() const { return m_shown; }
    // Shows or hides the button and lays the edit's text out again.
    void SetShown(bool shown);

protected:
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void place();

    QLineEdit *m_edit;
    TqkComboButtonStyle m_style = cbsDownArrow;
    bool m_shown = true;
};

// As wide as the system's vertical scroll bar, at least 15 pixels.
int qkComboButtonWidth(const QWidget *control);
