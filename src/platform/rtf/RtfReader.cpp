#include "platform/rtf/RtfReader.h"

#include "platform/rtf/RtfCharacterState.h"
#include "platform/rtf/RtfDocument.h"
#include "platform/rtf/RtfTokenizer.h"
#include "platform/runtime/Cp1252.h"

#include <QColor>
#include <QHash>
#include <QImage>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>

#include <array>
#include <functional>
#include <memory>
#include <vector>

namespace rtf {

namespace {

enum class Destination { Body, FontTable, ColorTable, Skip, Pn };

struct GroupState
{
    CharacterState chars;
    Destination destination = Destination::Body;
    int unicodeSkip = 1;
    bool starred = false;
};

struct ParagraphState
{
    Qt::Alignment alignment = Qt::AlignLeft;
    int leftIndent = 0;
    int rightIndent = 0;
    int firstIndent = 0;
    int spaceBefore = 0;
    int spaceAfter = 0;
    int lineSpacing = 0;
    bool lineMultiple = false;
    QList<QTextOption::Tab> tabs;
    QTextOption::TabType nextTabType = QTextOption::LeftTab;
    bool bullet = false;
};

struct FontEntry
{
    QString name;
    bool symbol = false;
};

struct Picture
{
    QByteArray data;
    QByteArray kind;
    int width = 0;
    int height = 0;
    int widthGoal = 0;
    int heightGoal = 0;
    int scaleX = 100;
    int scaleY = 100;
};

const std::array<ushort, 256> &cp1252Table()
{
    static const std::array<ushort, 256> table = [] {
        std::array<ushort, 256> result{};
        QByteArray all(256, '\0');
        for (int i = 0; i < 256; ++i)
            all[i] = char(i);
        const QString decoded = cp1252::decode(all);
        for (int i = 0; i < 256; ++i)
            result[i] = decoded.at(i).unicode();
        return result;
    }();
    return table;
}

QString specialCharacter(QByteArrayView word)
{
    static const QHash<QByteArray, QChar> characters = {
        {"tab", QChar('\t')},       {"line", QChar::LineSeparator}, {"emdash", QChar(0x2014)},
        {"endash", QChar(0x2013)},  {"bullet", QChar(0x2022)},      {"lquote", QChar(0x2018)},
        {"rquote", QChar(0x2019)},  {"ldblquote", QChar(0x201C)},   {"rdblquote", QChar(0x201D)},
        {"emspace", QChar(0x2003)}, {"enspace", QChar(0x2002)},     {"qmspace", QChar(0x2005)},
    };
    const auto found = characters.constFind(word.toByteArray());
    return found == characters.cend() ? QString() : QString(*found);
}

class Reader
{
public:
    Reader(QByteArrayView input, QTextCursor &cursor) : m_input(input), m_tokens(input), m_cursor(cursor) {}

    ReadResult run();

private:
    GroupState &state() { return m_groups.back(); }
    void openGroup(const Token &open);
    void closeGroup();
    void controlWord(const Token &token);
    bool bodyWord(QByteArrayView word, bool hasParameter, int parameter);
    bool characterWord(QByteArrayView word, bool hasParameter, int parameter);
    bool paragraphWord(QByteArrayView word, bool hasParameter, int parameter);
    void controlSymbol(const Token &token);
    void text(QByteArrayView bytes);
    void appendByte(uchar byte);
    void appendText(const QString &text);
    void endParagraph();
    void startContent();
    void flush();
    void formatParagraph(const CharacterState &mark);
    QTextCharFormat charFormat(const CharacterState &chars) const;
    QTextBlockFormat blockFormat() const;
    void readPicture(qsizetype groupStart);
    void keepOpaque(qsizetype groupStart);
    void keepOpaqueRange(qsizetype groupStart, qsizetype groupEnd, QSizeF size);
    QSizeF objectSize(qsizetype groupStart, qsizetype groupEnd) const;
    void problem(const QString &text);

    QByteArrayView m_input;
    Tokenizer m_tokens;
    QTextCursor &m_cursor;
    std::vector<GroupState> m_groups;
    ParagraphState m_paragraph;
    std::vector<FontEntry> m_fonts;
    QHash<int, int> m_fontSlots;
    int m_currentFontNumber = -1;
    int m_defaultFont = 0;
    std::vector<QColor> m_colors;
    QColor m_pendingColor;
    bool m_colorHasComponent = false;
    QString m_pending;
    CharacterState m_pendingChars;
    int m_skipCount = 0;
    bool m_needBlock = false;
    QTextList *m_list = nullptr;
    int m_pictureCount = 0;
    int m_paragraphCount = 0;
    bool m_stopped = false;
    ReadResult m_result;
};

ReadResult Reader::run()
{
    if (!looksLikeRtf(m_input))
        return m_result;
    m_result.isRichText = true;
    if (m_input.size() > maxInputSize) {
        problem(QStringLiteral("Der Text ist zu groß; nur die ersten %1 MB wurden gelesen.")
                    .arg(maxInputSize / (1024 * 1024)));
        m_input = m_input.first(maxInputSize);
        m_tokens = Tokenizer(m_input);
    }
    m_cursor.beginEditBlock();
    while (!m_stopped) {
        const Token token = m_tokens.next();
        if (token.kind == TokenKind::End)
            break;
        if (token.kind == TokenKind::Broken) {
            problem(QStringLiteral("Der Text endet mitten in einem Steuerwort oder Binärblock."));
            break;
        }
        if (token.kind == TokenKind::GroupOpen) {
            openGroup(token);
        } else if (token.kind == TokenKind::GroupClose) {
            closeGroup();
            if (m_groups.empty())
                break;
        } else if (m_groups.empty()) {
            continue;
        } else if (token.kind == TokenKind::ControlWord) {
            controlWord(token);
        } else if (token.kind == TokenKind::ControlSymbol) {
            controlSymbol(token);
        } else if (token.kind == TokenKind::Text) {
            text(token.word);
        }
    }
    if (!m_groups.empty())
        problem(
            QStringLiteral("Der Text ist unvollständig: %1 Gruppen wurden nicht geschlossen.").arg(m_groups.size()));
    flush();
    if (!m_needBlock)
        formatParagraph(m_pendingChars);
    m_cursor.endEditBlock();
    return m_result;
}

void Reader::problem(const QString &text)
{
    if (!m_result.problems.contains(text))
        m_result.problems.append(text);
}

void Reader::openGroup(const Token &open)
{
    if (m_groups.size() >= size_t(maxGroupDepth)) {
        problem(QStringLiteral("Die Gruppen sind zu tief verschachtelt; die inneren wurden übersprungen."));
        if (!m_tokens.skipGroup())
            problem(QStringLiteral("Der Text ist unvollständig."));
        return;
    }
    if (m_groups.empty()) {
        m_groups.push_back(GroupState());
        return;
    }
    const bool skipping = state().destination != Destination::Body;
    Tokenizer peek = m_tokens;
    Token first = peek.next();
    if (first.kind == TokenKind::ControlSymbol && first.symbol == '*')
        first = peek.next();
    if (!skipping && first.kind == TokenKind::ControlWord) {
        if (first.word == "object") {
            keepOpaque(open.start);
            return;
        }
        if (first.word == "pict") {
            m_tokens = peek;
            readPicture(open.start);
            return;
        }
        if (first.word == "nonshppict") {
            m_tokens.skipGroup();
            return;
        }
    }
    m_groups.push_back(m_groups.back());
    state().starred = false;
}

void Reader::closeGroup()
{
    if (m_groups.empty())
        return;
    m_groups.pop_back();
}

void Reader::controlWord(const Token &token)
{
    const QByteArrayView word = token.word;
    GroupState &group = state();
    const bool starred = group.starred;
    group.starred = false;
    if (word == "fonttbl") {
        group.destination = Destination::FontTable;
        return;
    }
    if (word == "colortbl") {
        group.destination = Destination::ColorTable;
        m_pendingColor = QColor();
        m_colorHasComponent = false;
        return;
    }
    if (word == "pn") {
        group.destination = Destination::Pn;
        return;
    }
    if (word == "shppict")
        return;
    if (word == "stylesheet" || word == "info" || word == "pntext" || word == "header" || word == "footer"
        || word == "headerl" || word == "headerr" || word == "footerl" || word == "footerr" || word == "footnote"
        || word == "field" || word == "fldinst" || (starred && group.destination != Destination::Pn)) {
        group.destination = Destination::Skip;
        return;
    }
    switch (group.destination) {
    case Destination::Skip:
        return;
    case Destination::FontTable:
        if (word == "f" && token.hasParameter) {
            m_currentFontNumber = token.parameter;
            if (!m_fontSlots.contains(token.parameter)) {
                m_fontSlots.insert(token.parameter, int(m_fonts.size()));
                m_fonts.push_back(FontEntry());
            }
        } else if (word == "fcharset" && m_currentFontNumber >= 0) {
            m_fonts[size_t(m_fontSlots.value(m_currentFontNumber))].symbol = token.parameter == 2;
        }
        return;
    case Destination::ColorTable: {
        const int component = std::clamp(token.parameter, 0, 255);
        if (word == "red")
            m_pendingColor.setRgb(component, m_pendingColor.green(), m_pendingColor.blue());
        else if (word == "green")
            m_pendingColor.setRgb(m_pendingColor.red(), component, m_pendingColor.blue());
        else if (word == "blue")
            m_pendingColor.setRgb(m_pendingColor.red(), m_pendingColor.green(), component);
        else
            return;
        m_colorHasComponent = true;
        return;
    }
    case Destination::Pn:
        if (word == "pnlvlblt")
            m_paragraph.bullet = true;
        return;
    case Destination::Body:
        bodyWord(word, token.hasParameter, token.parameter);
        return;
    }
}

bool Reader::bodyWord(QByteArrayView word, bool hasParameter, int parameter)
{
    if (word == "par") {
        endParagraph();
        return true;
    }
    if (word == "deff") {
        m_defaultFont = parameter;
        return true;
    }
    if (word == "u" && hasParameter) {
        appendText(QString(QChar(ushort(parameter < 0 ? parameter + 65536 : parameter))));
        m_skipCount = state().unicodeSkip;
        return true;
    }
    if (word == "uc") {
        state().unicodeSkip = std::clamp(parameter, 0, 16);
        return true;
    }
    const QString special = specialCharacter(word);
    if (!special.isEmpty()) {
        appendText(special);
        return true;
    }
    return characterWord(word, hasParameter, parameter) || paragraphWord(word, hasParameter, parameter);
}

bool Reader::characterWord(QByteArrayView word, bool hasParameter, int parameter)
{
    CharacterState &chars = state().chars;
    const bool on = !hasParameter || parameter != 0;
    if (word == "plain")
        chars = CharacterState();
    else if (word == "f")
        chars.font = parameter;
    else if (word == "fs")
        chars.halfPoints = hasParameter && parameter > 0 ? std::min(parameter, 3276) : 24;
    else if (word == "b")
        chars.bold = on;
    else if (word == "i")
        chars.italic = on;
    else if (word == "ul")
        chars.underline = on;
    else if (word == "ulnone")
        chars.underline = false;
    else if (word == "strike")
        chars.strike = on;
    else if (word == "protect")
        chars.protect = on;
    else if (word == "cf")
        chars.foreground = std::max(0, parameter);
    else if (word == "highlight" || word == "cb")
        chars.background = std::max(0, parameter);
    else
        return false;
    return true;
}

// Indents, spacing, tab positions and object sizes beyond the widest page
// (22 inches) only make the layout work for nothing, for minutes on end.
constexpr int widestPage = 22 * 1440;

int onPage(int twips)
{
    return std::clamp(twips, -widestPage, widestPage);
}

// A picture's or object's size in twips, held to the widest page; a stored
// size may be as large as the number type holds, so it is scaled in
// floating point.
QSizeF sizeOnPage(double widthTwips, double heightTwips)
{
    return QSizeF(fromTwips(std::clamp(widthTwips, 0.0, double(widestPage))),
                  fromTwips(std::clamp(heightTwips, 0.0, double(widestPage))));
}

bool Reader::paragraphWord(QByteArrayView word, bool hasParameter, int parameter)
{
    ParagraphState &paragraph = m_paragraph;
    if (word == "pard")
        paragraph = ParagraphState();
    else if (word == "ql")
        paragraph.alignment = Qt::AlignLeft;
    else if (word == "qr")
        paragraph.alignment = Qt::AlignRight;
    else if (word == "qc")
        paragraph.alignment = Qt::AlignHCenter;
    else if (word == "qj")
        paragraph.alignment = Qt::AlignJustify;
    else if (word == "li")
        paragraph.leftIndent = onPage(parameter);
    else if (word == "ri")
        paragraph.rightIndent = onPage(parameter);
    else if (word == "fi")
        paragraph.firstIndent = onPage(parameter);
    else if (word == "sb")
        paragraph.spaceBefore = std::max(0, onPage(parameter));
    else if (word == "sa")
        paragraph.spaceAfter = std::max(0, onPage(parameter));
    else if (word == "sl")
        paragraph.lineSpacing = hasParameter ? onPage(parameter) : 0;
    else if (word == "slmult")
        paragraph.lineMultiple = hasParameter && parameter == 1;
    else if (word == "tqr")
        paragraph.nextTabType = QTextOption::RightTab;
    else if (word == "tqc")
        paragraph.nextTabType = QTextOption::CenterTab;
    else if (word == "tqdec")
        paragraph.nextTabType = QTextOption::DelimiterTab;
    else if (word == "tx") {
        if (paragraph.tabs.size() < maxTabStops)
            paragraph.tabs.append(QTextOption::Tab(fromTwips(std::max(0, onPage(parameter))), paragraph.nextTabType));
        paragraph.nextTabType = QTextOption::LeftTab;
    } else
        return false;
    return true;
}

void Reader::controlSymbol(const Token &token)
{
    GroupState &group = state();
    if (token.symbol == '*') {
        group.starred = true;
        return;
    }
    if (token.symbol == '\'') {
        if (!token.hasParameter)
            return;
        if (group.destination == Destination::FontTable) {
            text(QByteArray(1, char(token.parameter)));
            return;
        }
        if (group.destination == Destination::Body)
            appendByte(uchar(token.parameter));
        return;
    }
    if (group.destination != Destination::Body)
        return;
    switch (token.symbol) {
    case '\\':
    case '{':
    case '}':
        appendByte(uchar(token.symbol));
        break;
    case '~':
        appendText(QString(QChar(0x00A0)));
        break;
    case '-':
        appendText(QString(QChar(0x00AD)));
        break;
    case '_':
        appendText(QString(QChar(0x2011)));
        break;
    case '\r':
    case '\n':
        endParagraph();
        break;
    case '\t':
        appendText(QStringLiteral("\t"));
        break;
    default:
        break;
    }
}

void Reader::text(QByteArrayView bytes)
{
    GroupState &group = state();
    if (group.destination == Destination::FontTable) {
        if (m_currentFontNumber < 0)
            return;
        FontEntry &font = m_fonts[size_t(m_fontSlots.value(m_currentFontNumber))];
        const qsizetype end = bytes.indexOf(';');
        font.name += cp1252::decode(bytes.first(end < 0 ? bytes.size() : end).toByteArray());
        if (end >= 0) {
            font.name = font.name.trimmed();
            m_currentFontNumber = -1;
        }
        return;
    }
    if (group.destination == Destination::ColorTable) {
        for (const char c : bytes) {
            if (c != ';')
                continue;
            m_colors.push_back(m_colorHasComponent ? m_pendingColor : QColor());
            m_pendingColor = QColor(0, 0, 0);
            m_colorHasComponent = false;
        }
        return;
    }
    if (group.destination != Destination::Body)
        return;
    for (const char c : bytes)
        appendByte(uchar(c));
}

void Reader::appendByte(uchar byte)
{
    if (m_skipCount > 0) {
        --m_skipCount;
        return;
    }
    const int font = state().chars.font < 0 ? m_defaultFont : state().chars.font;
    const auto slot = m_fontSlots.constFind(font);
    const bool symbol = slot != m_fontSlots.cend() && m_fonts[size_t(*slot)].symbol;
    startContent();
    if (!(m_pendingChars == state().chars))
        flush();
    m_pendingChars = state().chars;
    m_pending += QChar(symbol ? ushort(0xF000 | byte) : cp1252Table()[byte]);
}

void Reader::appendText(const QString &text)
{
    if (m_skipCount > 0) {
        --m_skipCount;
        return;
    }
    startContent();
    if (!(m_pendingChars == state().chars))
        flush();
    m_pendingChars = state().chars;
    m_pending += text;
}

void Reader::startContent()
{
    if (!m_needBlock)
        return;
    flush();
    m_cursor.insertBlock();
    m_needBlock = false;
}

void Reader::flush()
{
    if (m_pending.isEmpty())
        return;
    m_cursor.insertText(m_pending, charFormat(m_pendingChars));
    m_pending.clear();
}

// The paragraph mark takes the characters' format where it stands; Qt
// draws a paragraph's bullet in it, so every bullet of a list is sized by
// its own paragraph, the first one too. The last paragraph may end
// without a mark and is formatted all the same.
void Reader::formatParagraph(const CharacterState &mark)
{
    m_cursor.setBlockFormat(blockFormat());
    m_cursor.setBlockCharFormat(charFormat(mark));
    if (!m_paragraph.bullet) {
        m_list = nullptr;
    } else if (m_list) {
        m_list->add(m_cursor.block());
    } else {
        QTextListFormat listFormat;
        listFormat.setStyle(QTextListFormat::ListDisc);
        listFormat.setIndent(0);
        m_list = m_cursor.createList(listFormat);
    }
}

void Reader::endParagraph()
{
    if (++m_paragraphCount > maxParagraphs) {
        problem(QStringLiteral("Der Text hat mehr als %1 Absätze; der Rest wurde nicht gelesen.").arg(maxParagraphs));
        m_stopped = true;
        return;
    }
    startContent();
    flush();
    formatParagraph(state().chars);
    m_needBlock = true;
}

QTextCharFormat Reader::charFormat(const CharacterState &chars) const
{
    QTextCharFormat format;
    const auto slot = m_fontSlots.constFind(chars.font < 0 ? m_defaultFont : chars.font);
    if (slot != m_fontSlots.cend()) {
        const FontEntry &font = m_fonts[size_t(*slot)];
        format.setFontFamilies({font.name});
        if (font.symbol)
            format.setProperty(SymbolCharsetProperty, true);
    }
    format.setFontPointSize(chars.halfPoints / 2.0);
    format.setFontWeight(chars.bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(chars.italic);
    format.setFontUnderline(chars.underline);
    format.setFontStrikeOut(chars.strike);
    if (chars.protect)
        format.setProperty(ProtectedProperty, true);
    const auto color = [this](int index) {
        return index > 0 && size_t(index) < m_colors.size() ? m_colors[size_t(index)] : QColor();
    };
    if (color(chars.foreground).isValid())
        format.setForeground(color(chars.foreground));
    if (color(chars.background).isValid())
        format.setBackground(color(chars.background));
    return format;
}

QTextBlockFormat Reader::blockFormat() const
{
    const ParagraphState &paragraph = m_paragraph;
    QTextBlockFormat format;
    format.setAlignment(paragraph.alignment);
    format.setLeftMargin(fromTwips(paragraph.leftIndent));
    format.setRightMargin(fromTwips(paragraph.rightIndent));
    format.setTopMargin(fromTwips(paragraph.spaceBefore));
    format.setBottomMargin(fromTwips(paragraph.spaceAfter));
    if (paragraph.lineMultiple && paragraph.lineSpacing > 0)
        format.setLineHeight(paragraph.lineSpacing * 100.0 / 240.0, QTextBlockFormat::ProportionalHeight);
    else if (paragraph.lineSpacing > 0)
        format.setLineHeight(fromTwips(paragraph.lineSpacing), QTextBlockFormat::MinimumHeight);
    else if (paragraph.lineSpacing < 0)
        format.setLineHeight(fromTwips(-double(paragraph.lineSpacing)), QTextBlockFormat::FixedHeight);
    if (paragraph.bullet)
        format.setProperty(BulletProperty, true);
    setFirstLineIndent(format, fromTwips(paragraph.firstIndent));
    setTabStops(format, paragraph.tabs);
    return format;
}

void Reader::readPicture(qsizetype groupStart)
{
    Picture picture;
    int depth = 1;
    bool hexHigh = true;
    int hexByte = 0;
    while (depth > 0) {
        const Token token = m_tokens.next();
        if (token.kind == TokenKind::End || token.kind == TokenKind::Broken) {
            problem(QStringLiteral("Ein Bild endet vor dem Ende seiner Gruppe."));
            return;
        }
        if (token.kind == TokenKind::GroupOpen) {
            if (!m_tokens.skipGroup())
                return;
        } else if (token.kind == TokenKind::GroupClose) {
            --depth;
        } else if (token.kind == TokenKind::Binary) {
            picture.data += token.word.toByteArray();
        } else if (token.kind == TokenKind::Text) {
            for (const char c : token.word) {
                const int digit = hexDigit(c);
                if (digit < 0)
                    continue;
                hexByte = hexHigh ? digit << 4 : hexByte | digit;
                if (!hexHigh)
                    picture.data += char(hexByte);
                hexHigh = !hexHigh;
            }
        } else if (token.kind == TokenKind::ControlWord) {
            const QByteArrayView word = token.word;
            const int value = std::max(0, token.parameter);
            if (word == "pngblip" || word == "jpegblip" || word == "emfblip" || word == "wmetafile"
                || word == "dibitmap" || word == "wbitmap")
                picture.kind = word.toByteArray();
            else if (word == "picw")
                picture.width = value;
            else if (word == "pich")
                picture.height = value;
            else if (word == "picwgoal")
                picture.widthGoal = value;
            else if (word == "pichgoal")
                picture.heightGoal = value;
            else if (word == "picscalex")
                picture.scaleX = std::clamp(value, 1, 1000);
            else if (word == "picscaley")
                picture.scaleY = std::clamp(value, 1, 1000);
        }
    }
    const QSizeF goal = sizeOnPage(double(picture.widthGoal) * picture.scaleX / 100.0,
                                   double(picture.heightGoal) * picture.scaleY / 100.0);
    if (picture.kind != "pngblip" && picture.kind != "jpegblip") {
        keepOpaqueRange(groupStart, m_tokens.position(), goal);
        return;
    }
    const QImage image = QImage::fromData(picture.data);
    if (image.isNull()) {
        problem(QStringLiteral("Ein Bild konnte nicht gelesen werden."));
        return;
    }
    startContent();
    flush();
    const QString name = QStringLiteral("rtf-picture-%1").arg(++m_pictureCount);
    m_cursor.document()->addResource(QTextDocument::ImageResource, QUrl(name), picture.data);
    QTextImageFormat format;
    format.setName(name);
    const QSizeF size = goal.isEmpty() ? QSizeF(image.size()) : goal;
    format.setWidth(size.width());
    format.setHeight(size.height());
    m_cursor.insertImage(format);
}

void Reader::keepOpaque(qsizetype groupStart)
{
    if (!m_tokens.skipGroup()) {
        problem(QStringLiteral("Ein eingebettetes Objekt endet vor dem Ende seiner Gruppe."));
        return;
    }
    keepOpaqueRange(groupStart, m_tokens.position(), objectSize(groupStart, m_tokens.position()));
}

void Reader::keepOpaqueRange(qsizetype groupStart, qsizetype groupEnd, QSizeF size)
{
    startContent();
    flush();
    insertOpaqueGroup(m_cursor, m_input.sliced(groupStart, groupEnd - groupStart).toByteArray(), size);
}

// The first size words of an object group give its size as the old control
// showed it.
QSizeF Reader::objectSize(qsizetype groupStart, qsizetype groupEnd) const
{
    Tokenizer tokens(m_input.first(groupEnd));
    tokens.seek(groupStart);
    int width = 0;
    int height = 0;
    for (Token token = tokens.next(); token.kind != TokenKind::End && token.kind != TokenKind::Broken;
         token = tokens.next()) {
        if (token.kind != TokenKind::ControlWord)
            continue;
        if ((token.word == "objw" || token.word == "picwgoal") && width == 0)
            width = std::max(0, token.parameter);
        else if ((token.word == "objh" || token.word == "pichgoal") && height == 0)
            height = std::max(0, token.parameter);
        if (width > 0 && height > 0)
            break;
    }
    return sizeOnPage(width, height);
}

} // namespace

bool looksLikeRtf(QByteArrayView bytes)
{
    qsizetype start = 0;
    while (start < bytes.size() && QChar::isSpace(uchar(bytes[start])))
        ++start;
    return bytes.sliced(start).startsWith("{\\rtf");
}

ReadResult insertRtf(QByteArrayView richText, QTextCursor &cursor)
{
    return Reader(richText, cursor).run();
}

// Loading a document is no step a user undoes: without the undo record of
// every insertion the document holds little more than its text and formats.
ReadResult readRtf(QByteArrayView richText, QTextDocument &document)
{
    document.clear();
    const bool undo = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);
    const std::unique_ptr<QTextDocument, std::function<void(QTextDocument *)>> restore(
        &document, [undo](QTextDocument *loaded) { loaded->setUndoRedoEnabled(undo); });
    QTextCursor cursor(&document);
    return insertRtf(richText, cursor);
}

} // namespace rtf
