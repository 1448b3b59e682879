#pragma once

#include <QColor>
#include <QDialog>
#include <QFont>

class QComboBox;
class QFontDialog;

// The font dialog of the rich text control: Qt's font choice, which has
// no colour, with the colour choice beside it.
class TqkRichFontDialog : public QDialog
{
    Q_OBJECT

public:
    TqkRichFontDialog(const QFont &font, const QColor &color, QWidget *parent = nullptr);

    QFont SelectedFont() const;
    QColor SelectedColor() const;
    QFontDialog *FontChoice() const { return m_fonts; }
    QComboBox *ColorChoice() const { return m_colors; }

private:
    QFontDialog *m_fonts;
    QComboBox *m_colors;
    // The text's own font, and the face the choice showed for it.
    QFont m_given;
    QFont m_shown;
};
