#include "lib/rich/qkriched.h"

#include "lib/rich/qkRichEditForm.h"
#include "lib/rich/qkRichParagraphDialog.h"
#include "lib/rich/qkRichTabDialog.h"

#include "lib/data/Qkintl.h"
#include "lib/edit/qkdbedit.h"
#include "lib/rich/qkRichFindDialogs.h"
#include "lib/rich/qkRichFontDialog.h"
#include "lib/rich/qkRichPopupMenu.h"
#include "platform/db/FieldClasses.h"
#include "platform/db/TDataLink.h"
#include "platform/db/TDataSet.h"
#include "platform/rtf/RtfDocument.h"
#include "platform/rtf/RtfReader.h"
#include "platform/rtf/RtfTokenizer.h"
#include "platform/rtf/RtfWriter.h"
#include "platform/runtime/Cp1252.h"
#include "platform/ui/Application.h"
#include "platform/ui/UiServices.h"

#include <QAbstractButton>
#include <QBuffer>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QGuiApplication>
#include <QImage>
#include <QMenu>
#include <QMimeData>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTextBlock>
#include <QTextDocumentFragment>
#include <QTextList>
#include <QtEndian>

namespace {

// Web, mail and file addresses as the old control marked them.
const QRegularExpression &urlPattern()
{
    static const QRegularExpression pattern(
        QStringLiteral(R"((?:(?:https?|ftp|file|news)://|mailto:|www\.)[^\s<>"]+[^\s<>".,;:!?)\]])"),
        QRegularExpression::CaseInsensitiveOption);
    return pattern;
}

// Memo fields hold text decoded from Windows-1252, which gives every byte
// back; blob fields hold the bytes themselves.
QByteArray fieldBytes(const TField &field)
{
    if (field.DataType() == ftMemo || field.DataType() == ftString)
        return cp1252::encode(field.AsString());
    return field.AsBytes();
}

void setFieldBytes(TField &field, const QByteArray &bytes)
{
    if (field.DataType() == ftMemo || field.DataType() == ftString)
        field.SetAsString(cp1252::decode(bytes));
    else
        field.SetAsBytes(bytes);
}

QString rtfMimeType()
{
    return QStringLiteral("text/rtf");
}

QByteArray littleEndianCount(quint32 count)
{
    QByteArray bytes(4, '\0');
    qToLittleEndian(count, bytes.data());
    return bytes;
}

} // namespace

TqkCustomRichEdit::TqkCustomRichEdit(QWidget *parent)
    : QTextEdit(parent), PrintJobName(ui::applicationTitle()), m_printMargins(new TqkPrintMargins(this)),
      m_screenPixelsPerInch(qkScreenPixelsPerInch())
{
    setAcceptRichText(true);
    rtf::registerOpaqueObjectPainter(*document());
    buildPopup();
    m_findDialog = new TqkFindDialog(this, false);
    m_replaceDialog = new TqkFindDialog(this, true);
    for (TqkFindDialog *dialog : {m_findDialog.data(), m_replaceDialog.data()}) {
        connect(dialog, &TqkFindDialog::Find, this, [this, dialog] {
            m_lastFindText = dialog->FindText();
            m_findDialog->SetFindText(m_lastFindText);
            FindNext();
        });
        connect(dialog, &QDialog::finished, this, [this, dialog] { DoCloseDialog(dialog); });
    }
    connect(m_replaceDialog, &TqkFindDialog::Replace, this, [this] {
        m_lastFindText = m_replaceDialog->FindText();
        ReplaceNext();
    });
    connect(this, &QTextEdit::textChanged, this, &TqkCustomRichEdit::updateLinks);
    SetLeftTextOffset(m_leftTextOffset);
}

TqkCustomRichEdit::~TqkCustomRichEdit()
{
    disconnect(this, nullptr, this, nullptr);
}

void TqkCustomRichEdit::setUserSpeedButton(int index, QAbstractButton *button)
{
    m_userSpeedButtons[index] = button;
    if (button)
        button->hide();
}

void TqkCustomRichEdit::SetAutoURLDetect(bool on)
{
    m_autoUrlDetect = on;
    updateLinks();
}

void TqkCustomRichEdit::SetEditWidth(TqkRichEditWidth width)
{
    m_editWidth = width;
    updateEditingRectangle();
}

void TqkCustomRichEdit::SetWordWrap(bool wrap)
{
    m_wordWrap = wrap;
    updateEditingRectangle();
}

void TqkCustomRichEdit::SetPaperSize(int code)
{
    m_paperSize = code;
    if (m_editWidth == rewPrinterSize)
        updateEditingRectangle();
}

void TqkCustomRichEdit::SetLandscape(bool landscape)
{
    m_landscape = landscape;
    if (m_editWidth == rewPrinterSize)
        updateEditingRectangle();
}

// The text starts at the offset itself, where the ruler has its zero: the
// document keeps no margin of its own.
void TqkCustomRichEdit::SetLeftTextOffset(int pixels)
{
    m_leftTextOffset = pixels;
    document()->setDocumentMargin(0);
    setViewportMargins(pixels, 2, 0, 0);
}

QByteArray TqkCustomRichEdit::Data()
{
    const QByteArray text = StreamOut();
    return littleEndianCount(quint32(text.size())) + text;
}

// A block shorter than its count loads what it holds; it never reads
// past its end.
void TqkCustomRichEdit::SetData(const QByteArray &block)
{
    const quint32 count = block.size() >= 4 ? qFromLittleEndian<quint32>(block.constData()) : 0;
    m_plainText = false;
    loadBytes(block.mid(4, qsizetype(std::min<quint32>(count, quint32(std::max<qsizetype>(0, block.size() - 4))))),
              false, false);
    m_textFromDescription = true;
}

void TqkCustomRichEdit::DoURLOpen(const QString &url, bool &useDefault)
{
    if (OnURLOpen)
        OnURLOpen(this, url, useDefault);
    if (!useDefault)
        return;
    const ui::BusyCursor busy;
    ui::services().openUrl(url);
}

int TqkCustomRichEdit::FindText(const QString &text, int start, int length, TqkSearchTypes options)
{
    QTextDocument::FindFlags flags;
    if (options & stMatchCase)
        flags |= QTextDocument::FindCaseSensitively;
    if (options & stWholeWord)
        flags |= QTextDocument::FindWholeWords;
    const QTextCursor found = document()->find(text, start, flags);
    if (found.isNull() || found.selectionEnd() > start + length)
        return -1;
    return found.selectionStart();
}

void TqkCustomRichEdit::StreamIn(QIODevice &stream, bool cutAfterFirstParagraph, bool inSelection)
{
    loadBytes(stream.readAll(), cutAfterFirstParagraph, inSelection);
}

void TqkCustomRichEdit::loadBytes(const QByteArray &bytes, bool cutAfterFirstParagraph, bool inSelection)
{
    const bool wasStreaming = m_streaming;
    m_streaming = true;
    const auto restore = qScopeGuard([this, wasStreaming] { m_streaming = wasStreaming; });
    QByteArray text = rtf::normaliseLineEnds(bytes);
    if (cutAfterFirstParagraph)
        text = rtf::cutAfterFirstParagraph(text);
    m_loadProblems.clear();
    const auto asPlainText = [&text] {
        return cp1252::decode(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    };
    if (m_plainText) {
        if (inSelection)
            textCursor().insertText(asPlainText());
        else
            setPlainText(asPlainText());
        return;
    }
    if (inSelection) {
        QTextCursor cursor = textCursor();
        m_loadProblems = rtf::insertRtf(text, cursor).problems;
        return;
    }
    const rtf::ReadResult result = rtf::readRtf(text, *document());
    if (!result.isRichText)
        setPlainText(asPlainText());
    m_loadProblems = result.problems;
}

QByteArray TqkCustomRichEdit::StreamOut() const
{
    if (m_plainText)
        return cp1252::encode(m_lines.Text());
    return rtf::writeRtf(*document());
}

void TqkCustomRichEdit::LoadFromField(TField *field)
{
    if (!field)
        return;
    loadBytes(fieldBytes(*field), true, false);
    forgetLoadedMemo();
}

void TqkCustomRichEdit::SaveToField(TField &field) const
{
    setFieldBytes(field, StreamOut());
}

void TqkCustomRichEdit::CopyTo(QTextEdit &target)
{
    const ui::BusyCursor busy;
    const bool wasStreaming = m_streaming;
    m_streaming = true;
    const auto restore = qScopeGuard([this, wasStreaming] { m_streaming = wasStreaming; });
    auto *richTarget = qobject_cast<TqkCustomRichEdit *>(&target);
    TField *field = GetField();
    if (field && !IsLoaded() && richTarget) {
        richTarget->loadBytes(fieldBytes(*field), false, false);
        return;
    }
    if (auto *dbSelf = qobject_cast<TqkDBRichEdit *>(this); dbSelf && field && !IsLoaded())
        dbSelf->LoadMemo();
    TqkRichMemoryStream stream;
    m_lines.SaveToStream(stream);
    stream.seek(0);
    if (richTarget)
        richTarget->Lines().LoadFromStream(stream);
    else
        rtf::readRtf(stream.readAll(), *target.document());
}

void TqkCustomRichEdit::SetSelectionFont(const QString &name, double size, const QColor &color, bool bold, bool italic,
                                         bool underline, bool strikeOut)
{
    QTextCharFormat format;
    format.setFontFamilies({name.left(31)});
    format.setFontPointSize(size);
    format.setForeground(color);
    format.setFontWeight(bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(italic);
    format.setFontUnderline(underline);
    format.setFontStrikeOut(strikeOut);
    mergeCurrentCharFormat(format);
}

// A bullet paragraph hangs its first line out by 720 twips, as the old
// control's bullets did.
void TqkCustomRichEdit::SetBullet(bool on)
{
    BeginEdit();
    QTextCursor cursor = textCursor();
    if (!on) {
        if (QTextList *list = cursor.currentList())
            list->remove(cursor.block());
        QTextBlockFormat format = cursor.blockFormat();
        const double firstLine = rtf::firstLineIndent(format);
        format.setObjectIndex(-1);
        format.clearProperty(rtf::BulletProperty);
        rtf::setFirstLineIndent(format, firstLine);
        cursor.setBlockFormat(format);
        return;
    }
    QTextBlockFormat format = cursor.blockFormat();
    const double start = format.leftMargin() + rtf::firstLineIndent(format);
    format.setProperty(rtf::BulletProperty, true);
    rtf::setIndents(format, start + rtf::fromTwips(720), rtf::fromTwips(-720));
    cursor.setBlockFormat(format);
    if (!cursor.currentList()) {
        QTextListFormat listFormat;
        listFormat.setStyle(QTextListFormat::ListDisc);
        listFormat.setIndent(0);
        cursor.createList(listFormat);
    }
}

void TqkCustomRichEdit::ChangeParagraphs(const std::function<void(QTextBlockFormat &)> &change)
{
    BeginEdit();
    const QTextCursor selection = textCursor();
    QTextCursor cursor(document());
    cursor.beginEditBlock();
    for (QTextBlock block = document()->findBlock(selection.selectionStart());
         block.isValid() && block.position() <= selection.selectionEnd(); block = block.next()) {
        QTextBlockFormat format = block.blockFormat();
        change(format);
        cursor.setPosition(block.position());
        cursor.setBlockFormat(format);
    }
    cursor.endEditBlock();
}

void TqkCustomRichEdit::SetSelProtected(bool on)
{
    BeginEdit();
    QTextCharFormat format;
    format.setProperty(rtf::ProtectedProperty, on);
    mergeCurrentCharFormat(format);
}

void TqkCustomRichEdit::CutToClipboard()
{
    const QTextCursor cursor = textCursor();
    if (!cursor.hasSelection() || isReadOnly() || !MayChange({cursor.selectionStart(), cursor.selectionEnd(), 0}))
        return;
    BeginEdit();
    cut();
}

void TqkCustomRichEdit::ClearSelection()
{
    QTextCursor cursor = textCursor();
    if (!cursor.hasSelection() || isReadOnly() || !MayChange({cursor.selectionStart(), cursor.selectionEnd(), 0}))
        return;
    BeginEdit();
    cursor.removeSelectedText();
}

int TqkCustomRichEdit::textLength() const
{
    return document()->characterCount() - 1;
}

bool TqkCustomRichEdit::touchesProtectedText(const TextChange &change) const
{
    // New text takes the format of the character before it.
    if (change.start == change.end) {
        QTextCursor at(document());
        at.setPosition(change.start);
        return at.charFormat().boolProperty(rtf::ProtectedProperty);
    }
    for (QTextBlock block = document()->findBlock(change.start); block.isValid() && block.position() < change.end;
         block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const bool inside =
                fragment.position() < change.end && fragment.position() + fragment.length() > change.start;
            if (inside && fragment.charFormat().boolProperty(rtf::ProtectedProperty))
                return true;
        }
    }
    return false;
}

bool TqkCustomRichEdit::MayChange(const TextChange &change)
{
    bool allowed = true;
    if (touchesProtectedText(change)) {
        allowed = false;
        if (OnProtectChange)
            OnProtectChange(this, change.start, change.end, allowed);
    }
    if (allowed && m_maxLength > 0 && change.inserted > 0)
        allowed = textLength() - (change.end - change.start) + change.inserted <= m_maxLength;
    if (!allowed)
        ui::services().beep();
    return allowed;
}

// What a key would change in the text, judged as QTextEdit handles it.
std::optional<TqkCustomRichEdit::TextChange> TqkCustomRichEdit::keyChange(const QKeyEvent &event) const
{
    if (isReadOnly())
        return std::nullopt;
    const QTextCursor cursor = textCursor();
    const auto removing = [&cursor](QTextCursor::MoveOperation reach) -> std::optional<TextChange> {
        QTextCursor range = cursor;
        if (!range.hasSelection())
            range.movePosition(reach, QTextCursor::KeepAnchor);
        if (!range.hasSelection())
            return std::nullopt;
        return TextChange{range.selectionStart(), range.selectionEnd(), 0};
    };
    const auto inserting = [&cursor](int length) {
        return TextChange{cursor.selectionStart(), cursor.selectionEnd(), length};
    };
    const int key = event.key();
    if (event.matches(QKeySequence::Cut))
        return cursor.hasSelection() ? removing(QTextCursor::NoMove) : std::nullopt;
    if (event.matches(QKeySequence::Delete))
        return removing(QTextCursor::NextCharacter);
    if (event.matches(QKeySequence::DeleteEndOfWord))
        return removing(QTextCursor::EndOfWord);
    if (event.matches(QKeySequence::DeleteStartOfWord))
        return removing(QTextCursor::StartOfWord);
    if (event.matches(QKeySequence::DeleteEndOfLine))
        return removing(QTextCursor::EndOfLine);
    if (key == Qt::Key_Backspace && !(event.modifiers() & ~Qt::ShiftModifier))
        return removing(QTextCursor::PreviousCharacter);
    if (key == Qt::Key_Return || key == Qt::Key_Enter || (key == Qt::Key_Tab && !tabChangesFocus()))
        return inserting(1);
    const QString text = event.text();
    const bool control =
        event.modifiers().testFlag(Qt::ControlModifier) && !event.modifiers().testFlag(Qt::AltModifier);
    if (!text.isEmpty() && text.at(0).isPrint() && !control)
        return inserting(int(text.size()));
    return std::nullopt;
}

void TqkCustomRichEdit::keyPressEvent(QKeyEvent *event)
{
    if (const std::optional<TextChange> change = keyChange(*event); change && !MayChange(*change))
        return;
    QTextEdit::keyPressEvent(event);
}

void TqkCustomRichEdit::inputMethodEvent(QInputMethodEvent *event)
{
    const QTextCursor cursor = textCursor();
    const TextChange change{cursor.selectionStart(), cursor.selectionEnd(), int(event->commitString().size())};
    if (!isReadOnly() && change.inserted > 0 && !MayChange(change))
        return;
    QTextEdit::inputMethodEvent(event);
}

void TqkCustomRichEdit::ToggleBold()
{
    BeginEdit();
    setFontWeight(currentCharFormat().fontWeight() > QFont::Medium ? QFont::Normal : QFont::Bold);
}

void TqkCustomRichEdit::ToggleItalic()
{
    BeginEdit();
    setFontItalic(!currentCharFormat().fontItalic());
}

void TqkCustomRichEdit::ToggleUnderline()
{
    BeginEdit();
    setFontUnderline(!currentCharFormat().fontUnderline());
}

// A plain picture on the clipboard is refused, as the old control could
// not take bitmaps; text and rich text are taken.
bool TqkCustomRichEdit::CanPaste() const
{
    const QMimeData *mime = QGuiApplication::clipboard()->mimeData();
    if (!mime)
        return false;
    return mime->hasText() || mime->hasHtml() || mime->hasFormat(rtfMimeType());
}

bool TqkCustomRichEdit::InsertObject()
{
    if (OleOptions.testFlag(reoDisableOLE))
        return false;
    const QString path =
        QFileDialog::getOpenFileName(this, tr("Objekt einfügen"), QString(), tr("Bilder (*.png *.jpg *.jpeg)"));
    return !path.isEmpty() && InsertPicture(path);
}

bool TqkCustomRichEdit::InsertPicture(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    const QImage image = QImage::fromData(bytes);
    if (image.isNull())
        return false;
    BeginEdit();
    const QString name = QStringLiteral("inserted-%1").arg(QDateTime::currentMSecsSinceEpoch());
    document()->addResource(QTextDocument::ImageResource, QUrl(name), bytes);
    QTextImageFormat format;
    format.setName(name);
    format.setWidth(image.width());
    format.setHeight(image.height());
    textCursor().insertImage(format);
    return true;
}

void TqkCustomRichEdit::Find()
{
    openSearchDialog(*m_findDialog);
}

void TqkCustomRichEdit::Replace()
{
    openSearchDialog(*m_replaceDialog);
}

void TqkCustomRichEdit::openSearchDialog(TqkFindDialog &dialog)
{
    const QString selected = textCursor().selectedText();
    const bool usable =
        !selected.isEmpty() && !selected.contains(QChar::ParagraphSeparator) && !selected.contains(QLatin1Char('\r'));
    dialog.SetFindText(usable ? selected : m_lastFindText);
    m_wrapped = false;
    m_searchLimit = textCursor().selectionStart();
    DoCreateDialog(&dialog);
    DoInitDialog(&dialog);
    dialog.show();
}

void TqkCustomRichEdit::FontDialog()
{
    const QTextCharFormat current = currentCharFormat();
    const QColor color = current.hasProperty(QTextFormat::ForegroundBrush) ? current.foreground().color()
                                                                           : palette().color(QPalette::Text);
    TqkRichFontDialog dialog(current.font(), color, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const QFont font = dialog.SelectedFont();
    BeginEdit();
    SetSelectionFont(font.family(), font.pointSizeF(), dialog.SelectedColor(), font.bold(), font.italic(),
                     font.underline(), font.strikeOut());
}

bool TqkCustomRichEdit::Execute()
{
    return qkRunRichEditForm(*this);
}

void TqkCustomRichEdit::ParagraphDialog()
{
    qkRunParagraphDialog(*this);
}

void TqkCustomRichEdit::TabDialog()
{
    qkRunTabDialog(*this);
}

void TqkCustomRichEdit::FindNext()
{
    searchStep(*m_findDialog, false);
}

void TqkCustomRichEdit::ReplaceNext()
{
    searchStep(*m_replaceDialog, true);
}

// Searches run forward from the caret, wrap once to the start and stop
// where the dialog was opened. A replacement moves that stop by the
// length difference once the search has wrapped, so replace-all ends after
// the last match that stood before it began.
void TqkCustomRichEdit::searchStep(TqkFindDialog &dialog, bool replacing)
{
    const QString findText = m_lastFindText;
    if (findText.isEmpty())
        return;
    for (;;) {
        TqkSearchTypes options;
        options.setFlag(stMatchCase, dialog.Options().testFlag(frMatchCase));
        options.setFlag(stWholeWord, dialog.Options().testFlag(frWholeWord));
        int searchFrom = textCursor().selectionStart() + 1;
        if (replacing) {
            QTextCursor cursor = textCursor();
            const int caret = cursor.selectionStart();
            const int replacement = int(dialog.ReplaceText().length());
            if (FindText(findText, caret, textLength(), options) == caret
                && cursor.selectionEnd() - caret == findText.length()
                && MayChange({caret, cursor.selectionEnd(), replacement})) {
                if (m_wrapped)
                    m_searchLimit += replacement - findText.length();
                BeginEdit();
                cursor.insertText(dialog.ReplaceText());
                setTextCursor(cursor);
                searchFrom = cursor.position();
            }
        }
        int found = FindText(findText, searchFrom, textLength(), options);
        if (m_wrapped && found > m_searchLimit)
            found = -1;
        if (!m_wrapped && found < 0 && textCursor().selectionStart() > 0) {
            found = FindText(findText, 0, textLength(), options);
            if (found > m_searchLimit)
                found = -1;
            m_wrapped = true;
        }
        if (found < 0) {
            ui::services().messageBox(qkIntl().UserMessages->LocateNoMoreMatches, ui::applicationTitle(),
                                      ui::MsgIcon::Information, ui::MsgButtons::Ok);
            m_searchLimit = textCursor().selectionStart();
            m_wrapped = false;
            return;
        }
        QTextCursor match(document());
        match.setPosition(found);
        match.setPosition(found + int(findText.length()), QTextCursor::KeepAnchor);
        setTextCursor(match);
        if (!dialog.Options().testFlag(frReplaceAll))
            return;
    }
}

void TqkCustomRichEdit::DoInitDialog(QWidget *dialog)
{
    if (OnInitDialog)
        OnInitDialog(dialog);
}

void TqkCustomRichEdit::DoCloseDialog(QWidget *dialog)
{
    if (OnCloseDialog)
        OnCloseDialog(dialog);
}

void TqkCustomRichEdit::DoCreateDialog(QWidget *dialog)
{
    if (OnCreateDialog)
        OnCreateDialog(dialog);
}

void TqkCustomRichEdit::buildPopup()
{
    m_popup = new QMenu(this);
    qkRichPopup::build(*m_popup, *this);
    connect(m_popup, &QMenu::aboutToShow, this, &TqkCustomRichEdit::updatePopup);
}

void TqkCustomRichEdit::updatePopup()
{
    qkRichPopup::update(*m_popup, *this);
}

void TqkCustomRichEdit::contextMenuEvent(QContextMenuEvent *event)
{
    m_popup->exec(event->globalPos());
}

void TqkCustomRichEdit::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && !linkAt(event->position().toPoint()).isEmpty())
        m_linkPressed = true;
    QTextEdit::mousePressEvent(event);
}

void TqkCustomRichEdit::mouseReleaseEvent(QMouseEvent *event)
{
    QTextEdit::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton || !m_linkPressed)
        return;
    m_linkPressed = false;
    const QString url = linkAt(event->position().toPoint());
    if (url.isEmpty())
        return;
    bool useDefault = true;
    DoURLOpen(url, useDefault);
}

QMimeData *TqkCustomRichEdit::createMimeDataFromSelection() const
{
    const QTextDocumentFragment fragment = textCursor().selection();
    auto *mime = new QMimeData;
    mime->setText(fragment.toPlainText());
    mime->setHtml(fragment.toHtml());
    QTextDocument selection;
    QTextCursor(&selection).insertFragment(fragment);
    mime->setData(rtfMimeType(), rtf::writeRtf(selection));
    return mime;
}

bool TqkCustomRichEdit::canInsertFromMimeData(const QMimeData *source) const
{
    return source->hasFormat(rtfMimeType()) || QTextEdit::canInsertFromMimeData(source);
}

// Pasted text that does not fit within MaxLength is cut at its end, in
// the same step to undo.
void TqkCustomRichEdit::insertFromMimeData(const QMimeData *source)
{
    QTextCursor cursor = textCursor();
    const int start = cursor.selectionStart();
    if (!MayChange({start, cursor.selectionEnd(), 1}))
        return;
    cursor.beginEditBlock();
    if (source->hasFormat(rtfMimeType())) {
        cursor.removeSelectedText();
        rtf::insertRtf(source->data(rtfMimeType()), cursor);
        setTextCursor(cursor);
    } else {
        QTextEdit::insertFromMimeData(source);
    }
    const int excess = m_maxLength > 0 ? textLength() - m_maxLength : 0;
    if (excess > 0) {
        QTextCursor overflow = textCursor();
        const int end = overflow.position();
        overflow.setPosition(std::max(start, end - excess));
        overflow.setPosition(end, QTextCursor::KeepAnchor);
        overflow.removeSelectedText();
        ui::services().beep();
    }
    cursor.endEditBlock();
}

void TqkCustomRichEdit::resizeEvent(QResizeEvent *event)
{
    QTextEdit::resizeEvent(event);
    if (m_editWidth == rewWindowSize)
        updateEditingRectangle();
}

// Addresses are marked as extra selections, so detecting them never
// changes the document or the rich text written from it.
void TqkCustomRichEdit::updateLinks()
{
    QList<ExtraSelection> links;
    if (m_autoUrlDetect) {
        const QString text = document()->toPlainText();
        for (auto it = urlPattern().globalMatch(text); it.hasNext();) {
            const QRegularExpressionMatch match = it.next();
            ExtraSelection link;
            link.cursor = QTextCursor(document());
            link.cursor.setPosition(int(match.capturedStart()));
            link.cursor.setPosition(int(match.capturedEnd()), QTextCursor::KeepAnchor);
            link.format.setForeground(QColor(Qt::blue));
            link.format.setFontUnderline(true);
            links << link;
        }
    }
    setExtraSelections(links);
}

QString TqkCustomRichEdit::linkAt(const QPoint &position) const
{
    const int at = cursorForPosition(position).position();
    for (const ExtraSelection &link : extraSelections()) {
        if (at >= link.cursor.selectionStart() && at < link.cursor.selectionEnd())
            return link.cursor.selectedText();
    }
    return QString();
}

TqkDBRichEdit::TqkDBRichEdit(QWidget *parent) : TqkCustomRichEdit(parent), m_link(std::make_unique<TFieldDataLink>())
{
    OleOptions = reoAdjustPopupMenu;
    m_link->OnDataChange = [this] { dataChange(); };
    m_link->OnEditingChange = [this] { editingChange(); };
    m_link->OnUpdateData = [this] { UpdateData(); };
    connect(this, &QTextEdit::textChanged, this, &TqkDBRichEdit::textChange);
}

TqkDBRichEdit::~TqkDBRichEdit()
{
    disconnect(this, nullptr, this, nullptr);
    m_link->OnDataChange = nullptr;
    m_link->OnEditingChange = nullptr;
    m_link->OnUpdateData = nullptr;
    m_link->SetDataSource(nullptr);
}

QString TqkDBRichEdit::DataField() const
{
    return m_link->FieldName();
}

// A control bound to a field stays read-only until its link has decided.
void TqkDBRichEdit::SetDataField(const QString &name)
{
    if (!name.isEmpty())
        setReadOnly(true);
    m_link->SetFieldName(name);
    if (name.isEmpty())
        setReadOnly(GetReadOnly());
}

TDataSource *TqkDBRichEdit::DataSource() const
{
    return m_link->DataSource();
}

void TqkDBRichEdit::SetDataSource(TDataSource *source)
{
    m_link->SetDataSource(source);
}

void TqkDBRichEdit::SetAutoDisplay(bool on)
{
    m_autoDisplay = on;
    if (on)
        LoadMemo();
}

bool TqkDBRichEdit::ReadOnly() const
{
    return m_ownReadOnly;
}

void TqkDBRichEdit::SetReadOnly(bool readOnly)
{
    m_ownReadOnly = readOnly;
    if (!GetField())
        setReadOnly(readOnly);
    m_link->SetReadOnly(readOnly);
}

TField *TqkDBRichEdit::GetField() const
{
    return m_link->Field();
}

bool TqkDBRichEdit::isBlobField() const
{
    return GetField() && GetField()->IsBlob();
}

bool TqkDBRichEdit::GetReadOnly() const
{
    if (!GetField() && DataField().isEmpty())
        return isReadOnly();
    const TField *field = GetField();
    return m_link->ReadOnly() || !field || !field->CanModify();
}

void TqkDBRichEdit::LoadMemo()
{
    TField *field = GetField();
    if (!isBlobField() || m_memoLoaded)
        return;
    const ui::BusyCursor busy;
    const bool wasStreaming = m_streaming;
    m_streaming = true;
    const auto restore = qScopeGuard([this, wasStreaming] { m_streaming = wasStreaming; });
    m_memoLoaded = true;
    loadBytes(fieldBytes(*field), false, false);
    if (!LoadProblems().isEmpty())
        ui::services().messageBox(
            tr("Der formatierte Text im Feld „%1“ ist beschädigt; geladen wurde, was lesbar war.\n%2")
                .arg(field->DisplayLabel(), LoadProblems().join(QLatin1Char('\n'))),
            ui::applicationTitle(), ui::MsgIcon::Warning, ui::MsgButtons::Ok);
    if (field->AsString().isEmpty()) {
        QTextCursor cursor(document());
        QTextBlockFormat format;
        format.setAlignment(Qt::AlignLeft);
        cursor.setBlockFormat(format);
        QTextCharFormat chars;
        chars.setForeground(QColor(Qt::black));
        setCurrentCharFormat(chars);
    }
    editingChange();
    document()->setModified(false);
}

void TqkDBRichEdit::dataChange()
{
    const bool wasStreaming = m_streaming;
    m_streaming = true;
    const auto restore = qScopeGuard([this, wasStreaming] { m_streaming = wasStreaming; });
    TField *field = GetField();
    if (!field) {
        clear();
    } else if (isBlobField()) {
        if (!m_autoDisplay && (!m_link->Editing() || !m_memoLoaded)) {
            setPlainText(QStringLiteral("(%1)").arg(field->DisplayLabel()));
            m_memoLoaded = false;
        } else if (!(m_hasSnapshot && m_snapshot == field->AsString())) {
            m_memoLoaded = false;
            if (isVisible())
                LoadMemo();
        }
    } else {
        // Text already shown stays, and with it the caret the user types at.
        const QString text = m_focused && m_link->Editing() ? field->Text() : field->DisplayText();
        if (text != toPlainText())
            setPlainText(text);
        m_memoLoaded = true;
    }
    viewport()->update();
}

void TqkDBRichEdit::editingChange()
{
    setReadOnly(!(m_link->Editing() && m_memoLoaded));
}

void TqkDBRichEdit::UpdateData()
{
    TField *field = GetField();
    if (!field || !document()->isModified() || !m_memoLoaded)
        return;
    if (field->IsBlob())
        setFieldBytes(*field, StreamOut());
    else
        field->SetAsString(toPlainText());
}

void TqkDBRichEdit::BeginEdit()
{
    if (m_link->Editing())
        return;
    if (isBlobField()) {
        m_snapshot = GetField()->AsString();
        m_hasSnapshot = true;
    }
    m_link->Edit();
    m_hasSnapshot = false;
    m_snapshot.clear();
}

void TqkDBRichEdit::textChange()
{
    if (!m_memoLoaded || m_streaming || isReadOnly())
        return;
    BeginEdit();
    m_link->Modified();
}

void TqkDBRichEdit::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    const bool pasteKey = (key == Qt::Key_Insert && modifiers == Qt::ShiftModifier)
                          || (key == Qt::Key_V && modifiers == Qt::ControlModifier);
    const bool cutKey = key == Qt::Key_X && modifiers == Qt::ControlModifier;
    if (key == Qt::Key_F2 && PopupOptions().testFlag(rpoPopupEdit)) {
        Execute();
        return;
    }
    if (pasteKey && !CanPaste())
        return;
    if (GetField() && !m_memoLoaded) {
        // Only what would type waits for the memo; the other keys scroll
        // what is shown or go on to the window.
        if (key == Qt::Key_Return || key == Qt::Key_Enter)
            LoadMemo();
        if (event->text().isEmpty())
            TqkCustomRichEdit::keyPressEvent(event);
        return;
    }
    // Without a field there is nothing to reset: Escape goes on to the window.
    if (key == Qt::Key_Escape && GetField()) {
        m_link->Reset();
        return;
    }
    const bool printable =
        !event->text().isEmpty() && event->text().at(0) >= QLatin1Char(' ') && !(modifiers & Qt::ControlModifier);
    if (printable && !qkFieldAcceptsChar(GetField(), event->text().at(0))) {
        ui::services().beep();
        return;
    }
    const bool modifying = printable || pasteKey || cutKey || key == Qt::Key_Delete || key == Qt::Key_Backspace
                           || key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Tab;
    if (GetField() && modifying)
        BeginEdit();
    TqkCustomRichEdit::keyPressEvent(event);
}

void TqkDBRichEdit::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (GetField() && !m_memoLoaded) {
        LoadMemo();
        return;
    }
    TqkCustomRichEdit::mouseDoubleClickEvent(event);
}

void TqkDBRichEdit::focusInEvent(QFocusEvent *event)
{
    m_focused = true;
    TqkCustomRichEdit::focusInEvent(event);
    refreshFieldText();
}

void TqkDBRichEdit::focusOutEvent(QFocusEvent *event)
{
    TqkCustomRichEdit::focusOutEvent(event);
    m_link->UpdateRecord();
    m_focused = false;
    refreshFieldText();
}

// A field that is not a blob shows its edit text while focused and its
// display text otherwise.
void TqkDBRichEdit::refreshFieldText()
{
    if (GetField() && !isBlobField())
        m_link->Reset();
}

void TqkDBRichEdit::showEvent(QShowEvent *event)
{
    TqkCustomRichEdit::showEvent(event);
    if (m_autoDisplay && !m_memoLoaded)
        LoadMemo();
}
