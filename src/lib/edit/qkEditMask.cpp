#include "lib/edit/qkEditMask.h"

#include <QStringList>

namespace {

// The mask part ends at the first ";" that no "\" protects.
qsizetype maskEnd(const QString &mask)
{
    for (qsizetype i = 0; i < mask.size(); ++i) {
        if (mask[i] == QLatin1Char('\\'))
            ++i;
        else if (mask[i] == QLatin1Char(';'))
            return i;
    }
    return mask.size();
}

}

TqkEditMask::TqkEditMask(const QString &mask)
{
    const qsizetype end = maskEnd(mask);
    const QStringList sections = mask.mid(end + 1).split(QLatin1Char(';'));
    if (end < mask.size()) {
        m_saveLiterals = sections.value(0) != QLatin1String("0");
        if (!sections.value(1).isEmpty())
            m_blank = sections.value(1).at(0);
    }
    Case letterCase = AsTyped;
    for (qsizetype i = 0; i < end; ++i) {
        const QChar c = mask[i];
        Slot slot;
        slot.letterCase = letterCase;
        switch (c.unicode()) {
        case '>':
            letterCase = Upper;
            continue;
        case '<':
            if (i + 1 < end && mask[i + 1] == QLatin1Char('>')) {
                letterCase = AsTyped;
                ++i;
            } else {
                letterCase = Lower;
            }
            continue;
        case '!':
            continue;
        case '\\':
            if (++i >= end)
                continue;
            slot.literal = mask[i];
            break;
        case 'L':
        case 'l':
            slot.kind = Letter;
            slot.required = c == QLatin1Char('L');
            break;
        case 'A':
        case 'a':
            slot.kind = LetterOrDigit;
            slot.required = c == QLatin1Char('A');
            break;
        case 'C':
        case 'c':
            slot.kind = AnyCharacter;
            slot.required = c == QLatin1Char('C');
            break;
        case '0':
        case '9':
            slot.kind = Digit;
            slot.required = c == QLatin1Char('0');
            break;
        case '#':
            slot.kind = DigitOrSign;
            break;
        default:
            slot.literal = c;
            break;
        }
        m_slots.append(slot);
    }
}

bool TqkEditMask::takes(const Slot &slot, QChar c)
{
    switch (slot.kind) {
    case Letter:
        return c.isLetter();
    case LetterOrDigit:
        return c.isLetterOrNumber();
    case AnyCharacter:
        return c.isPrint();
    case Digit:
        return c.isDigit();
    case DigitOrSign:
        return c.isDigit() || c == QLatin1Char('+') || c == QLatin1Char('-');
    default:
        return false;
    }
}

QChar TqkEditMask::inCase(const Slot &slot, QChar c)
{
    return slot.letterCase == Upper ? c.toUpper() : slot.letterCase == Lower ? c.toLower() : c;
}

bool TqkEditMask::Type(QString &text, int &position, QChar typed) const
{
    int at = position;
    QString result = text.left(at);
    // Literals that stand where the caret is are written for the user,
    // unless the user typed the literal itself.
    while (at < m_slots.size() && m_slots[at].kind == Literal && m_slots[at].literal != typed) {
        if (at >= text.size())
            result += m_slots[at].literal;
        ++at;
    }
    if (at >= m_slots.size())
        return false;
    const Slot &slot = m_slots[at];
    if (slot.kind == Literal ? slot.literal != typed : !takes(slot, typed))
        return false;
    result = result.left(at) + (slot.kind == Literal ? typed : inCase(slot, typed)) + text.mid(at + 1);
    text = result;
    position = at + 1;
    return true;
}

bool TqkEditMask::IsValid(const QString &text) const
{
    if (text.size() > m_slots.size())
        return false;
    for (qsizetype i = 0; i < m_slots.size(); ++i) {
        const Slot &slot = m_slots[i];
        const QChar c = i < text.size() ? text[i] : m_blank;
        if (slot.kind == Literal) {
            if (i < text.size() && c != slot.literal)
                return false;
            continue;
        }
        const bool blank = c == m_blank || c == QLatin1Char(' ');
        if (blank ? slot.required : !takes(slot, c))
            return false;
    }
    return true;
}
