#pragma once

#include <QChar>
#include <QList>
#include <QString>

// A field's edit mask in the framework's own syntax (not Qt's input masks):
// "L" letter, "l" optional letter, "A" letter or digit, "a" optional one,
// "C" any character, "c" optional one, "0" digit, "9" optional digit, "#"
// optional digit or sign, ">" upper case from here, "<" lower case, "<>"
// case as typed, "\" takes the next character as a literal, "!" is noted
// and ignored; any other character is a literal. After the mask a ";"
// section tells whether literals are saved ("0" no) and a second one the
// blank character ("_" by default).
class TqkEditMask
{
public:
    explicit TqkEditMask(const QString &mask);

    bool IsEmpty() const { return m_slots.isEmpty(); }
    bool SavesLiterals() const { return m_saveLiterals; }
    QChar Blank() const { return m_blank; }

    // What typing `typed` at `position` of `text` gives: the character,
    // in the slot's case, after the literals that stand before it.
    // False when the slot refuses it or the mask is full.
    bool Type(QString &text, int &position, QChar typed) const;
    // Whether the text fills the mask: every literal in its place, every
    // required slot filled with a character it takes, nothing beyond.
    bool IsValid(const QString &text) const;

private:
    enum Kind { Literal, Letter, LetterOrDigit, AnyCharacter, Digit, DigitOrSign };
    enum Case { AsTyped, Upper, Lower };
    struct Slot
    {
        Kind kind = Literal;
        bool required = false;
        QChar literal;
        Case letterCase = AsTyped;
    };

    static bool takes(const Slot &slot, QChar c);
    static QChar inCase(const Slot &slot, QChar c);

    QList<Slot> m_slots;
    bool m_saveLiterals = true;
    QChar m_blank = QLatin1Char('_');
};
