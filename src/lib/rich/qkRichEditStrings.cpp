#include "lib/rich/qkRichEditStrings.h"

#include "lib/rich/qkriched.h"

#include <QSignalBlocker>
#include <QTextBlock>
#include <QTextCursor>

#include <cstring>
#include <new>

namespace {

QTextBlock blockAt(const TqkCustomRichEdit &control, int index)
{
    return index < 0 ? QTextBlock() : control.document()->findBlockByNumber(index);
}

} // namespace

QString TqkRichEditStrings::Get(int index) const
{
    return blockAt(m_control, index).text();
}

int TqkRichEditStrings::GetCount() const
{
    const QTextDocument *document = m_control.document();
    const int count = document->blockCount();
    return document->lastBlock().length() <= 1 ? count - 1 : count;
}

void TqkRichEditStrings::Put(int index, const QString &text)
{
    const QTextBlock block = blockAt(m_control, index);
    if (!block.isValid())
        return;
    QTextCursor cursor(block);
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    cursor.insertText(text);
}

// Past the last line the text goes behind the line before it, and only
// when that line holds text, as the old control did.
void TqkRichEditStrings::Insert(int index, const QString &text)
{
    const QTextBlock block = blockAt(m_control, index);
    if (block.isValid()) {
        QTextCursor cursor(block);
        cursor.insertText(text);
        cursor.insertBlock();
        return;
    }
    const QTextBlock previous = blockAt(m_control, index - 1);
    if (!previous.isValid() || previous.length() <= 1)
        return;
    QTextCursor cursor(previous);
    cursor.movePosition(QTextCursor::EndOfBlock);
    cursor.insertBlock();
    cursor.insertText(text);
}

void TqkRichEditStrings::Delete(int index)
{
    const QTextBlock block = blockAt(m_control, index);
    if (!block.isValid())
        return;
    QTextCursor cursor(block);
    if (block.next().isValid()) {
        cursor.setPosition(block.next().position(), QTextCursor::KeepAnchor);
    } else if (block.previous().isValid()) {
        cursor.setPosition(block.position() - 1);
        cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    } else {
        cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    }
    cursor.removeSelectedText();
}

void TqkRichEditStrings::Clear()
{
    m_control.clear();
}

QString TqkRichEditStrings::Text() const
{
    QStringList lines;
    for (int i = 0; i < GetCount(); ++i)
        lines << Get(i);
    return lines.isEmpty() ? QString() : lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

// The control's own change signal stays quiet; the document still tells
// the view, which must lay the new text out.
void TqkRichEditStrings::SetTextStr(const QString &text)
{
    const QSignalBlocker blocker(&m_control);
    m_control.setPlainText(text);
}

void TqkRichEditStrings::AddStrings(const QStringList &lines)
{
    const QSignalBlocker blocker(&m_control);
    for (const QString &line : lines)
        Add(line);
}

void TqkRichEditStrings::SetUpdateState(bool updating)
{
    m_control.setUpdatesEnabled(!updating);
    if (!updating) {
        m_control.viewport()->update();
        emit m_control.textChanged();
    }
}

void TqkRichEditStrings::LoadFromStream(QIODevice &stream)
{
    m_control.StreamIn(stream, false, false);
}

void TqkRichEditStrings::SaveToStream(QIODevice &stream) const
{
    stream.write(m_control.StreamOut());
}

TqkRichMemoryStream::TqkRichMemoryStream(QObject *parent) : QIODevice(parent)
{
    open(QIODevice::ReadWrite);
}

void TqkRichMemoryStream::SetCapacity(qsizetype capacity)
{
    if (capacity > 0)
        capacity = (capacity + growthStep - 1) / growthStep * growthStep;
    if (capacity == m_capacity)
        return;
    try {
        if (capacity == 0)
            m_data = QByteArray();
        else
            m_data.reserve(capacity);
    } catch (const std::bad_alloc &) {
        throw EStreamError(QStringLiteral("Expandieren des Speicher-Stream wegen Speichermangel nicht möglich"));
    }
    m_capacity = capacity;
}

qint64 TqkRichMemoryStream::readData(char *data, qint64 maxSize)
{
    const qint64 available = std::max<qint64>(0, m_data.size() - pos());
    const qint64 count = std::min(maxSize, available);
    if (count > 0)
        std::memcpy(data, m_data.constData() + pos(), size_t(count));
    return count;
}

qint64 TqkRichMemoryStream::writeData(const char *data, qint64 maxSize)
{
    const qint64 end = pos() + maxSize;
    if (end > m_capacity)
        SetCapacity(end);
    if (end > m_data.size())
        m_data.resize(end);
    std::memcpy(m_data.data() + pos(), data, size_t(maxSize));
    return maxSize;
}
