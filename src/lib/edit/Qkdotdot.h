#pragma once

#include <QAbstractButton>

enum TqkComboButtonStyle { cbsDownArrow, cbsEllipsis };

// The button at the right edge of the combo edits and the date/time picker:
// a drop-down arrow or an ellipsis, never focused.
class TqkComboButton : public QAbstractButton
{
    Q_OBJECT

public:
    explicit TqkComboButton(QWidget *parent);
    TqkComboButtonStyle ButtonStyle() const { return m_style; }
    void SetButtonStyle(TqkComboButtonStyle style);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    TqkComboButtonStyle m_style = cbsDownArrow;
};

// As wide as the system's vertical scroll bar, at least 15 pixels.
int qkComboButtonWidth(const QWidget *control);
