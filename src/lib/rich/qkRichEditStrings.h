#pragma once

#include "platform/runtime/Exceptions.h"

#include <QByteArray>
#include <QIODevice>
#include <QStringList>

class TqkCustomRichEdit;

class EStreamError : public Exception
{
public:
    using Exception::Exception;
};

// The control's lines: one per paragraph.
class TqkRichEditStrings
{
public:
    explicit TqkRichEditStrings(TqkCustomRichEdit &control) : m_control(control) {}

    QString Get(int index) const;
    int GetCount() const;
    void Put(int index, const QString &text);
    void Insert(int index, const QString &text);
    void Add(const QString &text) { Insert(GetCount(), text); }
    void Delete(int index);
    void Clear();
    QString Text() const;
    // Change notifications stay off while the text is set.
    void SetTextStr(const QString &text);
    void AddStrings(const QStringList &lines);
    void SetUpdateState(bool updating);
    // Rich text, or plain text when the control is in plain-text mode.
    void LoadFromStream(QIODevice &stream);
    void SaveToStream(QIODevice &stream) const;

private:
    TqkCustomRichEdit &m_control;
};

// A memory stream that grows in 128 KB steps, so large rich texts are not
// reallocated for every block written into it.
class TqkRichMemoryStream : public QIODevice
{
    Q_OBJECT

public:
    static constexpr qsizetype growthStep = 131072;

    explicit TqkRichMemoryStream(QObject *parent = nullptr);
    qsizetype Capacity() const { return m_capacity; }
    void SetCapacity(qsizetype capacity);
    const QByteArray &Memory() const { return m_data; }
    bool isSequential() const override { return false; }
    qint64 size() const override { return m_data.size(); }

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *data, qint64 maxSize) override;

private:
    QByteArray m_data;
    qsizetype m_capacity = 0;
};
