#include "lib/data/Qkpict.h"

#include "platform/runtime/Cp1252.h"

#include <unordered_map>
#include <vector>

namespace {

bool isComplete(TqkPicResult r)
{
    return r == picComplete || r == picAmbiguous;
}

bool isIncomplete(TqkPicResult r)
{
    return r == picIncomplete || r == picIncompleteNoFill;
}

bool isAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

QChar upperAsciiOnly(QChar c)
{
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ? QChar(c.unicode() - 32) : c;
}

// Characters after which AutoFill stops: the placeholders and the structure
// characters. Everything else is a literal that may be appended.
bool stopsAutoFill(QChar c)
{
    return c.isNull() || QStringLiteral("!#&*,?@[]{}~").contains(c);
}

// One run of the matcher over a mask and a text. Positions are 1-based as the
// mask language is described; every mask read goes through at() so that a
// position past the end reads NUL and never leaves the mask.
class PictureMatcher
{
public:
    PictureMatcher(const QString &mask, QString &text) : m_mask(mask), m_text(text) {}

    TqkPicResult run(bool autoFill)
    {
        const int term = m_mask.size() + 1;
        TqkPicResult r = restart(term);
        if (r != picError && r != picSyntax && m_tp <= m_text.size())
            r = picError;
        if (r == picIncomplete && autoFill && appendLiterals())
            r = restart(term);
        if (r == picAmbiguous)
            return picComplete;
        if (r == picIncompleteNoFill)
            return picIncomplete;
        return r;
    }

private:
    QChar at(int pos) const { return pos >= 1 && pos <= m_mask.size() ? m_mask[pos - 1] : QChar(); }
    QChar textAt(int pos) const { return m_text[pos - 1]; }
    bool textEnded() const { return m_tp > m_text.size(); }

    TqkPicResult restart(int term)
    {
        m_mp = 1;
        m_tp = 1;
        return MatchAlternatives(term);
    }

    void store(QChar c)
    {
        if (m_text[m_tp - 1] != c)
            ++m_textVersion;
        m_text[m_tp - 1] = c;
        ++m_mp;
        ++m_tp;
    }

    bool appendLiterals()
    {
        bool appended = false;
        while (m_mp <= m_mask.size() && !stopsAutoFill(at(m_mp)) && m_text.size() < qk::maxTextLength) {
            if (at(m_mp) == QLatin1Char(';'))
                ++m_mp;
            if (m_mp > m_mask.size())
                break;
            m_text.append(at(m_mp));
            ++m_textVersion;
            ++m_mp;
            appended = true;
        }
        return appended;
    }

    // The position after the element at pos; never beyond term.
    int SkipElement(int pos, int term) const
    {
        if (pos >= term)
            return term;
        const QChar c = at(pos);
        if (c == QLatin1Char('[') || c == QLatin1Char('{'))
            return skipGroup(pos, term);
        if (c == QLatin1Char(';'))
            return qMin(pos + 2, term);
        if (c == QLatin1Char('*')) {
            ++pos;
            while (pos < term && isAsciiDigit(at(pos)))
                ++pos;
            return SkipElement(pos, term);
        }
        return pos + 1;
    }

    int skipGroup(int pos, int term) const
    {
        int brackets = 0;
        int braces = 0;
        do {
            if (pos >= term)
                return term;
            switch (at(pos).unicode()) {
            case '[':
                ++brackets;
                break;
            case ']':
                --brackets;
                break;
            case '{':
                ++braces;
                break;
            case '}':
                --braces;
                break;
            case ';':
                ++pos;
                break;
            default:
                break;
            }
            ++pos;
        } while (brackets != 0 || braces != 0);
        return qMin(pos, term);
    }

    bool SkipToNextAlternative(int term)
    {
        while (m_mp < term && at(m_mp) != QLatin1Char(','))
            m_mp = SkipElement(m_mp, term);
        if (m_mp < term && at(m_mp) == QLatin1Char(','))
            ++m_mp;
        return m_mp < term;
    }

    // The outcome depends only on the positions, the range and the text, so
    // an outcome reached without changing the text is remembered and
    // repeated: nested repetitions would otherwise try the same positions an
    // exponential number of times.
    TqkPicResult MatchAlternatives(int term)
    {
        const std::uint32_t key = (std::uint32_t(m_mp) << 20) | (std::uint32_t(m_tp) << 10) | std::uint32_t(term);
        const auto known = m_outcomes.find(key);
        if (known != m_outcomes.end() && known->second.textVersion == m_textVersion) {
            m_mp = known->second.mp;
            m_tp = known->second.tp;
            return known->second.result;
        }
        const int versionBefore = m_textVersion;
        const bool outerFinalBlank = m_finalBlank;
        m_finalBlank = false;
        const TqkPicResult r = scanAlternativesFromHere(term);
        m_finalBlank = outerFinalBlank;
        if (m_textVersion == versionBefore)
            m_outcomes[key] = {r, m_mp, m_tp, versionBefore};
        return r;
    }

    TqkPicResult scanAlternativesFromHere(int term)
    {
        int startMp = m_mp;
        const int startTp = m_tp;
        bool noted = false;
        int notedMp = 0;
        int notedTp = 0;
        for (;;) {
            TqkPicResult r = ScanAlternative(term);
            // A complete alternative wins only when it gets as far through
            // the text as an incomplete one before it.
            if (isComplete(r) && noted && m_tp < notedTp) {
                r = picIncomplete;
                m_tp = notedTp;
            }
            if (r != picError && r != picIncomplete)
                return (r == picComplete && noted) ? picAmbiguous : r;
            if (!noted && r == picIncomplete) {
                noted = true;
                notedMp = m_mp;
                notedTp = m_tp;
            }
            m_mp = startMp;
            m_tp = startTp;
            if (!SkipToNextAlternative(term)) {
                if (!noted)
                    return r;
                m_mp = notedMp;
                m_tp = notedTp;
                return picIncomplete;
            }
            startMp = m_mp;
        }
    }

    TqkPicResult ScanAlternative(int term)
    {
        TqkPicResult r = picEmpty;
        while (m_mp != term && at(m_mp) != QLatin1Char(',')) {
            if (textEnded())
                return CompleteIfOptionalRest(r, m_mp, term);
            const QChar c = textAt(m_tp);
            switch (at(m_mp).unicode()) {
            case '#':
                if (!isAsciiDigit(c))
                    return picError;
                store(c);
                break;
            case '?':
                if (!qk::isPictureLetter(c))
                    return picError;
                store(c);
                break;
            case '&':
                if (!qk::isPictureLetter(c))
                    return picError;
                store(c.toUpper());
                break;
            case '~':
                if (!qk::isPictureLetter(c))
                    return picError;
                store(c.toLower());
                break;
            case '!':
                store(c.toUpper());
                break;
            case '@':
                store(c);
                break;
            case '*':
                r = MatchRepetition(term);
                if (!isComplete(r))
                    return r;
                break;
            case '{':
                r = MatchGroup(term);
                if (!isComplete(r))
                    return r;
                break;
            case '[':
                r = MatchGroup(term);
                if (isIncomplete(r))
                    return r;
                if (r == picError)
                    r = picAmbiguous;
                break;
            default:
                if (!matchLiteral(c))
                    return picError;
                break;
            }
            r = (r == picAmbiguous) ? picIncompleteNoFill : picIncomplete;
        }
        return r == picIncompleteNoFill ? picAmbiguous : picComplete;
    }

    // A typed blank as the last character stands for any literal, once per
    // alternative list; the mask's own character replaces what was typed.
    bool matchLiteral(QChar c)
    {
        if (at(m_mp) == QLatin1Char(';'))
            ++m_mp;
        const QChar literal = at(m_mp);
        const bool finalBlank = c == QLatin1Char(' ') && m_tp == m_text.size();
        if (upperAsciiOnly(literal) != upperAsciiOnly(c)) {
            if (!finalBlank || m_finalBlank)
                return false;
        } else if (finalBlank) {
            m_finalBlank = true;
        }
        store(literal);
        return true;
    }

    TqkPicResult MatchGroup(int term)
    {
        const int end = skipGroup(m_mp, term);
        ++m_mp;
        const TqkPicResult r = MatchAlternatives(end - 1);
        if (!isIncomplete(r))
            m_mp = end;
        return r;
    }

    TqkPicResult MatchRepetition(int term)
    {
        ++m_mp;
        int count = 0;
        while (isAsciiDigit(at(m_mp))) {
            count = count * 10 + at(m_mp).digitValue();
            if (count > qk::maxRepetitionCount)
                return picSyntax;
            ++m_mp;
        }
        if (m_mp > term)
            return picSyntax;
        const int start = m_mp;
        const int end = SkipElement(start, term);
        TqkPicResult r = picEmpty;
        if (count > 0) {
            for (int i = 0; i < count; ++i) {
                m_mp = start;
                r = MatchAlternatives(end);
                if (r == picEmpty)
                    return at(start) == QLatin1Char('[') ? picComplete : picIncomplete;
                if (!isComplete(r))
                    return r;
            }
        } else {
            int tpBefore = 0;
            do {
                m_mp = start;
                tpBefore = m_tp;
                r = MatchAlternatives(end);
            } while (m_tp != tpBefore && isComplete(r));
            if (r == picEmpty || r == picError)
                r = picAmbiguous;
        }
        m_mp = end;
        return r;
    }

    // A text that ended early is complete when all that is left of the range
    // may be left out.
    TqkPicResult CompleteIfOptionalRest(TqkPicResult r, int j, int term) const
    {
        if (!isIncomplete(r))
            return r;
        return onlyOptionalParts(j, term) ? picAmbiguous : r;
    }

    bool onlyOptionalParts(int j, int term) const
    {
        while (j < term) {
            const int next = skipOptionalPart(j, term);
            if (next < 0)
                return false;
            j = next;
        }
        return true;
    }

    // The position after the optional part at j, or -1 when the element at
    // j must be typed.
    int skipOptionalPart(int j, int term) const
    {
        switch (at(j).unicode()) {
        case '[':
            return skipGroup(j, term);
        case ',':
            return term;
        case '{':
            return groupHasOptionalAlternative(j, term) ? skipGroup(j, term) : -1;
        case '*':
            return skipOptionalRepetition(j, term);
        default:
            return -1;
        }
    }

    int skipOptionalRepetition(int j, int term) const
    {
        if (!isAsciiDigit(at(j + 1)))
            return SkipElement(j + 1, term);
        int k = j + 1;
        while (isAsciiDigit(at(k)))
            ++k;
        if (at(k) != QLatin1Char('['))
            return -1;
        const int end = skipGroup(k, term);
        return at(end - 1) == QLatin1Char(']') ? end : -1;
    }

    bool groupHasOptionalAlternative(int open, int term) const
    {
        const int close = skipGroup(open, term) - 1;
        if (at(close) != QLatin1Char('}'))
            return false;
        int start = open + 1;
        for (;;) {
            int end = start;
            while (end < close && at(end) != QLatin1Char(','))
                end = SkipElement(end, close);
            if (onlyOptionalParts(start, end))
                return true;
            if (end >= close)
                return false;
            start = end + 1;
        }
    }

    struct Outcome
    {
        TqkPicResult result;
        int mp;
        int tp;
        int textVersion;
    };

    const QString &m_mask;
    QString &m_text;
    int m_mp = 1;
    int m_tp = 1;
    bool m_finalBlank = false;
    // Counts every change to the text; a remembered outcome holds for one.
    int m_textVersion = 0;
    std::unordered_map<std::uint32_t, Outcome> m_outcomes;
};

bool closesOpenGroup(std::vector<QChar> &open, QChar closer)
{
    const QChar opener = closer == QLatin1Char(']') ? QLatin1Char('[') : QLatin1Char('{');
    if (open.empty() || open.back() != opener)
        return false;
    open.pop_back();
    return true;
}

// A repetition needs a count the matcher can hold and an element to repeat.
bool isRepetitionValid(const QString &mask, int &i)
{
    int count = 0;
    ++i;
    while (i < mask.size() && isAsciiDigit(mask[i])) {
        count = count * 10 + mask[i].digitValue();
        if (count > qk::maxRepetitionCount)
            return false;
        ++i;
    }
    if (i >= mask.size())
        return false;
    const QChar element = mask[i];
    if (element == QLatin1Char(',') || element == QLatin1Char(']') || element == QLatin1Char('}'))
        return false;
    --i;
    return true;
}

} // namespace

namespace qk {

bool isPictureLetter(QChar c)
{
    if ((c >= QLatin1Char('A') && c <= QLatin1Char('Z')) || (c >= QLatin1Char('a') && c <= QLatin1Char('z')))
        return true;
    if (c.unicode() < 128)
        return false;
    bool lossless = false;
    const QByteArray encoded = cp1252::encode(QString(c), &lossless);
    return lossless && encoded.size() == 1 && static_cast<unsigned char>(encoded[0]) > 128;
}

// Besides the original checks (not empty, no dangling ";" or "*", balanced
// brackets and braces) groups must nest properly, so that no group end can
// lie outside the mask or before its start.
bool CheckMaskSyntax(const QString &mask)
{
    if (mask.isEmpty() || mask.size() > maxMaskLength)
        return false;
    std::vector<QChar> open;
    for (int i = 0; i < mask.size(); ++i) {
        const QChar c = mask[i];
        if (c == QLatin1Char(';')) {
            if (++i >= mask.size())
                return false;
        } else if (c == QLatin1Char('[') || c == QLatin1Char('{')) {
            open.push_back(c);
        } else if (c == QLatin1Char(']') || c == QLatin1Char('}')) {
            if (!closesOpenGroup(open, c))
                return false;
        } else if (c == QLatin1Char('*')) {
            if (!isRepetitionValid(mask, i))
                return false;
        }
    }
    return open.empty();
}

} // namespace qk

TqkPictureValidator::TqkPictureValidator(const QString &mask, bool autoFill)
    : Options(autoFill ? voFill : 0), Mask(mask)
{
    QString empty;
    if (Picture(empty, false) != picEmpty)
        Status = 1;
}

bool TqkPictureValidator::IsValidInput(QString &text, bool suppressFill)
{
    const bool fill = (Options & voFill) != 0 && !suppressFill;
    return Picture(text, fill) != picError;
}

bool TqkPictureValidator::IsValid(const QString &text)
{
    QString copy = text;
    const TqkPicResult r = Picture(copy, false);
    return r == picComplete || r == picEmpty;
}

TqkPicResult TqkPictureValidator::Picture(QString &text, bool autoFill)
{
    if (!qk::CheckMaskSyntax(Mask))
        return picSyntax;
    if (text.isEmpty())
        return picEmpty;
    if (text.size() > qk::maxTextLength)
        return picError;
    return PictureMatcher(Mask, text).run(autoFill);
}

bool qkMaskAccepts(const QString &mask, const QString &text)
{
    if (text.isEmpty())
        return true;
    TqkPictureValidator validator(mask, false);
    QString copy = text;
    return validator.Picture(copy, false) == picComplete;
}
