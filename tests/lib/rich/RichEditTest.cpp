#include "lib/data/Qkintl.h"
#include "lib/rich/qkRichFindDialogs.h"
#include "lib/rich/qkriched.h"
#include "platform/rtf/RtfDocument.h"
#include "support/RecordingUiServices.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QCheckBox>
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QtEndian>

#include <gtest/gtest.h>

#include <memory>

namespace {

class RichEdit : public testing::Test
{
protected:
    ui::ScopedRecordingUiServices user;
    TqkCustomRichEdit edit;

    void select(int start, int length)
    {
        QTextCursor cursor(edit.document());
        cursor.setPosition(start);
        cursor.setPosition(start + length, QTextCursor::KeepAnchor);
        edit.setTextCursor(cursor);
    }
    int selectionStart() const { return edit.textCursor().selectionStart(); }
    void clickButton(QWidget &dialog, const QString &text)
    {
        for (QPushButton *button : dialog.findChildren<QPushButton *>()) {
            if (button->text() == text) {
                QTest::mouseClick(button, Qt::LeftButton);
                return;
            }
        }
        FAIL() << "no button " << text.toStdString();
    }
    // Replace All from the start, as the user runs it in the replace dialog.
    void replaceAll(const QString &find, const QString &replacement)
    {
        select(0, 0);
        edit.Replace();
        TqkFindDialog &dialog = *edit.ReplaceDialog();
        dialog.SetFindText(find);
        dialog.findChildren<QLineEdit *>().at(1)->setText(replacement);
        clickButton(dialog, QStringLiteral("&Alle ersetzen"));
    }
};

TEST_F(RichEdit, LinesAreParagraphs)
{
    TqkRichEditStrings &lines = edit.Lines();
    EXPECT_EQ(lines.GetCount(), 0);
    lines.Add(QStringLiteral("eins"));
    lines.Add(QStringLiteral("drei"));
    lines.Insert(1, QStringLiteral("zwei"));
    EXPECT_EQ(lines.GetCount(), 3);
    EXPECT_EQ(lines.Text(), QStringLiteral("eins\r\nzwei\r\ndrei\r\n"));
    lines.Put(2, QStringLiteral("DREI"));
    lines.Put(7, QStringLiteral("nirgends"));
    lines.Put(-1, QStringLiteral("nirgends"));
    lines.Delete(0);
    EXPECT_EQ(lines.Get(0), QStringLiteral("zwei"));
    EXPECT_EQ(lines.Get(1), QStringLiteral("DREI"));
    EXPECT_EQ(lines.GetCount(), 2);
    lines.Insert(9, QStringLiteral("weit hinten"));
    EXPECT_EQ(lines.GetCount(), 2);
}

TEST_F(RichEdit, StoredDataIsACountedBlockOfRichText)
{
    edit.Lines().SetTextStr(QStringLiteral("Grüße\n{Klammern}"));
    const QByteArray data = edit.Data();
    ASSERT_GE(data.size(), 4);
    EXPECT_EQ(qFromLittleEndian<quint32>(data.constData()), quint32(data.size() - 4));
    EXPECT_TRUE(data.mid(4).startsWith("{\\rtf1\\ansi"));

    TqkCustomRichEdit loaded;
    loaded.BeginReadState();
    EXPECT_EQ(loaded.RichEditVersion(), 1);
    loaded.SetPlainText(true);
    loaded.SetData(data);
    EXPECT_FALSE(loaded.PlainText());
    EXPECT_TRUE(loaded.TextReadFromDescription());
    EXPECT_EQ(loaded.toPlainText(), QStringLiteral("Grüße\n{Klammern}"));
    EXPECT_EQ(loaded.property("RichEditVersion").toInt(), 2);
    EXPECT_EQ(loaded.RichEditVersion(), 2);

    // A count larger than the block reads only what the block holds.
    TqkCustomRichEdit shortBlock;
    shortBlock.SetData(QByteArray("\xff\xff\x00\x00{\\rtf1 kurz}", 16));
    EXPECT_EQ(shortBlock.toPlainText(), QStringLiteral("kurz"));
}

TEST_F(RichEdit, MemoryStreamGrowsInWholeSteps)
{
    TqkRichMemoryStream stream;
    stream.write(QByteArray(10, 'x'));
    EXPECT_EQ(stream.Capacity(), TqkRichMemoryStream::growthStep);
    stream.write(QByteArray(TqkRichMemoryStream::growthStep, 'y'));
    EXPECT_EQ(stream.Capacity(), 2 * TqkRichMemoryStream::growthStep);
    stream.seek(5);
    EXPECT_EQ(stream.read(7), QByteArray("xxxxxyy"));
    stream.SetCapacity(0);
    EXPECT_EQ(stream.Capacity(), 0);
}

TEST_F(RichEdit, LoadingPlainTextAndCuttingAfterTheFirstParagraph)
{
    const QByteArray rich = "{\\rtf1{\\fonttbl{\\f0 Arial;}}\\pard eins\\par{\\b zwei}\\par}";
    QBuffer buffer;
    buffer.setData(rich);
    buffer.open(QIODevice::ReadOnly);
    edit.StreamIn(buffer, true, false);
    EXPECT_EQ(edit.toPlainText(), QStringLiteral("eins"));

    QBuffer plain;
    plain.setData("erste\nzweite\rdritte");
    plain.open(QIODevice::ReadOnly);
    edit.StreamIn(plain, false, false);
    EXPECT_EQ(edit.Lines().GetCount(), 3);
    EXPECT_EQ(edit.Lines().Get(2), QStringLiteral("dritte"));
    EXPECT_TRUE(edit.LoadProblems().isEmpty());
}

TEST_F(RichEdit, FindWrapsOnceAndStopsWhereTheDialogOpened)
{
    edit.setPlainText(QStringLiteral("ab ab ab ab"));
    select(6, 0);
    edit.Find();
    TqkFindDialog &dialog = *edit.FindDialog();
    dialog.SetFindText(QStringLiteral("ab"));
    QList<int> found;
    for (int i = 0; i < 5; ++i) {
        clickButton(dialog, QStringLiteral("&Weitersuchen"));
        found << selectionStart();
        EXPECT_EQ(user.messageTexts().size(), i == 4 ? 1 : 0) << i;
    }
    EXPECT_EQ(found, (QList<int>{9, 0, 3, 6, 6}));
    EXPECT_EQ(user.messageTexts(), QStringList{QStringLiteral("No more matches found")});
    // The search starts over after the message.
    clickButton(dialog, QStringLiteral("&Weitersuchen"));
    EXPECT_EQ(selectionStart(), 9);
    dialog.close();
}

TEST_F(RichEdit, FindTakesTheSelectionUnlessItHoldsALineBreak)
{
    edit.setPlainText(QStringLiteral("Wort\nzweite Zeile Wort"));
    select(0, 4);
    edit.Find();
    EXPECT_EQ(edit.FindDialog()->FindText(), QStringLiteral("Wort"));
    clickButton(*edit.FindDialog(), QStringLiteral("&Weitersuchen"));
    EXPECT_EQ(selectionStart(), 18);
    select(0, 8);
    edit.Find();
    EXPECT_EQ(edit.FindDialog()->FindText(), QStringLiteral("Wort"));
    edit.FindDialog()->findChildren<QCheckBox *>().at(1)->setChecked(true);
    edit.FindDialog()->SetFindText(QStringLiteral("wort"));
    clickButton(*edit.FindDialog(), QStringLiteral("&Weitersuchen"));
    EXPECT_EQ(user.messageTexts().size(), 1);
}

TEST_F(RichEdit, ReplaceAllWithALongerTextEndsAfterTheLastOriginalMatch)
{
    edit.setPlainText(QStringLiteral("x a x a x aa"));
    select(4, 0);
    edit.Replace();
    TqkFindDialog &dialog = *edit.ReplaceDialog();
    dialog.SetFindText(QStringLiteral("x"));
    const QList<QLineEdit *> fields = dialog.findChildren<QLineEdit *>();
    fields.at(1)->setText(QStringLiteral("xyz"));
    clickButton(dialog, QStringLiteral("&Alle ersetzen"));
    EXPECT_EQ(edit.toPlainText(), QStringLiteral("xyz a xyz a xyz aa"));
    EXPECT_EQ(user.messageTexts().size(), 1);
    // Adjacent matches are all replaced.
    user.clear();
    edit.setPlainText(QStringLiteral("aaaa"));
    select(0, 0);
    edit.Replace();
    dialog.SetFindText(QStringLiteral("a"));
    fields.at(1)->setText(QStringLiteral("b"));
    clickButton(dialog, QStringLiteral("&Alle ersetzen"));
    EXPECT_EQ(edit.toPlainText(), QStringLiteral("bbbb"));
}

QStringList visibleItems(QMenu &menu)
{
    emit menu.aboutToShow();
    QStringList items;
    for (QAction *action : menu.actions()) {
        if (action->isVisible())
            items << (action->isSeparator() ? QStringLiteral("-") : action->text());
    }
    return items;
}

TEST_F(RichEdit, PopupMenuFollowsTheOptionsAndTheReadOnlyState)
{
    QMenu &menu = *edit.PopupMenu();
    EXPECT_EQ(edit.PopupOptionBits(), 0x3F8F);
    EXPECT_EQ(visibleItems(menu),
              (QStringList{"&Edit", "-", "Cu&t", "&Copy", "&Paste", "-", "&Font", "&Bullet Style", "P&aragraph",
                           "&Tabs", "-", "Fin&d", "&Replace", "-", "Insert &Object..."}));
    edit.OleOptions = reoDisableOLE;
    EXPECT_EQ(visibleItems(menu).mid(10), (QStringList{"-", "Fin&d", "&Replace"}));
    edit.setReadOnly(true);
    EXPECT_EQ(visibleItems(menu), (QStringList{"&View", "-", "Cu&t", "&Copy", "&Paste", "-", "Fin&d"}));
    edit.setReadOnly(false);
    edit.SetPopupOptions(rpoPopupBold | rpoPopupFind);
    EXPECT_EQ(visibleItems(menu), (QStringList{"B&old", "-", "Fin&d"}));
    EXPECT_EQ(edit.PopupOptions(), rpoPopupBold | rpoPopupFind);

    edit.setPlainText(QStringLiteral("fett"));
    select(0, 4);
    menu.findChild<QAction *>(QStringLiteral("rpoPopupBold"))->trigger();
    emit menu.aboutToShow();
    EXPECT_TRUE(menu.findChild<QAction *>(QStringLiteral("rpoPopupBold"))->isChecked());
}

TEST_F(RichEdit, DetectedAddressesOpenOnAClickUnlessTheHandlerTakesThem)
{
    edit.resize(400, 200);
    edit.show();
    edit.setPlainText(QStringLiteral("Siehe www.beispiel.de und mehr."));
    edit.SetAutoURLDetect(true);
    ASSERT_EQ(edit.extraSelections().size(), 1);
    EXPECT_EQ(edit.extraSelections().first().cursor.selectedText(), QStringLiteral("www.beispiel.de"));
    QTextCursor inside(edit.document());
    inside.setPosition(10);
    const QPoint at = edit.cursorRect(inside).center();
    QTest::mouseClick(edit.viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(user.openedUrls(), QStringList{QStringLiteral("www.beispiel.de")});
    edit.OnURLOpen = [](QObject *, const QString &, bool &useDefault) { useDefault = false; };
    QTest::mouseClick(edit.viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(user.openedUrls().size(), 1);
    edit.SetAutoURLDetect(false);
    EXPECT_TRUE(edit.extraSelections().isEmpty());
    EXPECT_FALSE(edit.toHtml().contains(QStringLiteral("href")));
}

// The offscreen platform has no clipboard; the mime data the control
// hands to it and takes from it are checked directly.
class ClipboardEdit : public TqkCustomRichEdit
{
public:
    using TqkCustomRichEdit::createMimeDataFromSelection;
    using TqkCustomRichEdit::insertFromMimeData;
};

TEST_F(RichEdit, CopyAndPasteCarryRichTextAsRtf)
{
    ClipboardEdit source;
    source.setPlainText(QStringLiteral("normal fett"));
    QTextCursor word(source.document());
    word.setPosition(7);
    word.setPosition(11, QTextCursor::KeepAnchor);
    source.setTextCursor(word);
    source.ToggleBold();
    const std::unique_ptr<QMimeData> copied(source.createMimeDataFromSelection());
    ASSERT_TRUE(copied->hasFormat(QStringLiteral("text/rtf")));
    EXPECT_TRUE(copied->data(QStringLiteral("text/rtf")).contains(" fett\\par"));
    EXPECT_EQ(copied->text(), QStringLiteral("fett"));
    ClipboardEdit target;
    target.setPlainText(QStringLiteral("[]"));
    QTextCursor between(target.document());
    between.setPosition(1);
    target.setTextCursor(between);
    target.insertFromMimeData(copied.get());
    EXPECT_EQ(target.toPlainText(), QStringLiteral("[fett]"));
    QTextCursor inside(target.document());
    inside.setPosition(3);
    EXPECT_EQ(inside.charFormat().fontWeight(), QFont::Bold);
}

TEST_F(RichEdit, InsertedPicturesAreWrittenWithTheirOwnBytes)
{
    QTemporaryDir folder;
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    const QString path = folder.filePath(QStringLiteral("bild.png"));
    ASSERT_TRUE(picture.save(path));
    QFile notAPicture(folder.filePath(QStringLiteral("text.png")));
    ASSERT_TRUE(notAPicture.open(QIODevice::WriteOnly));
    notAPicture.write("kein Bild");
    notAPicture.close();
    EXPECT_FALSE(edit.InsertPicture(notAPicture.fileName()));
    ASSERT_TRUE(edit.InsertPicture(path));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(edit.StreamOut().contains("\\pngblip\\picw4\\pich4\\picwgoal60\\pichgoal60\r\n"
                                          + file.readAll().toHex().left(128)));
}

TEST_F(RichEdit, BulletHangsTheFirstLineAndIsWrittenAsTheOldControlDid)
{
    edit.setPlainText(QStringLiteral("Punkt"));
    QTextBlockFormat withTab = edit.textCursor().blockFormat();
    rtf::setTabStops(withTab, {QTextOption::Tab(96, QTextOption::LeftTab)});
    edit.textCursor().setBlockFormat(withTab);
    edit.SetBullet(true);
    const QTextBlockFormat format = edit.textCursor().blockFormat();
    EXPECT_DOUBLE_EQ(format.leftMargin(), 48);
    EXPECT_DOUBLE_EQ(format.textIndent(), 0);
    EXPECT_DOUBLE_EQ(rtf::firstLineIndent(format), -48);
    EXPECT_TRUE(edit.StreamOut().contains("{\\*\\pn\\pnlvlblt"));
    edit.SetBullet(false);
    EXPECT_EQ(edit.textCursor().currentList(), nullptr);
    EXPECT_FALSE(edit.StreamOut().contains("\\pnlvlblt"));
    EXPECT_DOUBLE_EQ(edit.textCursor().blockFormat().textIndent(), -48);
    // The tab stop stays on its place through both changes.
    EXPECT_TRUE(edit.StreamOut().contains("\\li720\\tx1440\\")) << edit.StreamOut().toStdString();
}

// Every bullet of a loaded list is drawn at its paragraph's size, the first
// one too: the same ink beside each paragraph.
TEST_F(RichEdit, BulletsOfALoadedListAreDrawnAlike)
{
    const QByteArray list =
        "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset2 Symbol;}}\\pard{\\pntext\\f1\\'b7\\tab}"
        "{\\*\\pn\\pnlvlblt\\pnf1\\pnindent0{\\pntxtb\\'b7}}\\fi-720\\li720\\f0\\fs40 Eins\\par"
        "{\\pntext\\f1\\'b7\\tab}Zwei\\par{\\pntext\\f1\\'b7\\tab}Drei";
    edit.resize(400, 300);
    edit.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&edit));
    for (const QByteArray &end : {QByteArray("\\par}"), QByteArray("}")}) {
        QByteArray rtf = list + end;
        QBuffer stream(&rtf);
        stream.open(QIODevice::ReadOnly);
        edit.StreamIn(stream, false, false);
        const QImage shot = edit.viewport()->grab().toImage();
        QList<int> inks;
        for (QTextBlock block = edit.document()->firstBlock(); block.isValid(); block = block.next()) {
            const QRectF lines = edit.document()->documentLayout()->blockBoundingRect(block);
            int ink = 0;
            for (int y = int(lines.top()); y < int(lines.bottom()); ++y) {
                for (int x = 0; x < 40; ++x)
                    ink += qGray(shot.pixel(x, y)) < 128;
            }
            inks << ink;
        }
        ASSERT_EQ(inks.size(), 3) << end.toStdString();
        EXPECT_GT(inks[0], 0) << end.toStdString();
        EXPECT_EQ(inks, QList<int>(3, inks[0])) << end.toStdString();
    }
}

} // namespace

// The user brings no more than MaxLength characters in, by keys or by
// pasting; a paste is cut to what fits, in one step to undo.
TEST_F(RichEdit, MaxLengthBoundsWhatTheUserTypesAndPastes)
{
    edit.SetMaxLength(10);
    edit.setPlainText(QStringLiteral("12345678"));
    edit.moveCursor(QTextCursor::End);
    const auto paste = [this](const QString &text) {
        QGuiApplication::clipboard()->setText(text);
        QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
    };
    struct Case
    {
        std::function<void()> act;
        QString text;
        int beeps;
    } cases[] = {
        {[&] { QTest::keyClicks(&edit, QStringLiteral("abc")); }, "12345678ab", 1},
        {[&] { QTest::keyClick(&edit, Qt::Key_Return); }, "12345678ab", 2},
        {[&] { select(0, 3), QTest::keyClicks(&edit, QStringLiteral("x")); }, "x45678ab", 2},
        {[&] { edit.moveCursor(QTextCursor::End), paste(QStringLiteral("LANG")); }, "x45678abLA", 3},
        {[&] { paste(QStringLiteral("L")); }, "x45678abLA", 4},
        {[&] { edit.undo(); }, "x45678ab", 4},
        {[&] { replaceAll(QStringLiteral("ab"), QStringLiteral("abcde")); }, "x45678ab", 5},
        {[&] { replaceAll(QStringLiteral("ab"), QStringLiteral("abcd")); }, "x45678abcd", 5},
        {[&] { edit.setPlainText("ab ab"), replaceAll(QStringLiteral("ab"), QStringLiteral("abcdefgh")); }, "ab ab", 7},
        {[&] { replaceAll(QStringLiteral("ab"), QStringLiteral("abcd")); }, "abcd abcd", 7},
    };
    for (const Case &c : cases) {
        c.act();
        EXPECT_EQ(edit.toPlainText(), c.text);
        EXPECT_EQ(user.beeps(), c.beeps) << c.text.toStdString();
    }
}

// Protected text stays as it is unless OnProtectChange allows the change;
// text typed on its end would be protected too, text before it is free.
TEST_F(RichEdit, ProtectedTextChangesOnlyWhenTheHandlerAllows)
{
    QByteArray rtf = "{\\rtf1\\ansi Anfang \\protect FEST\\protect0  Ende\\par}";
    QBuffer stream(&rtf);
    stream.open(QIODevice::ReadOnly);
    edit.StreamIn(stream, false, false);
    QList<std::pair<int, int>> asked;
    bool allow = false;
    edit.OnProtectChange = [&](QObject *, int start, int end, bool &allowChange) {
        asked.append({start, end});
        allowChange = allow;
    };
    struct Case
    {
        int from, to; // the selection the key works on
        Qt::Key key;
        QString text;
        QList<std::pair<int, int>> asked;
    } cases[] = {
        {9, 9, Qt::Key_X, "Anfang FEST Ende", {{9, 9}}},
        {11, 11, Qt::Key_Backspace, "Anfang FEST Ende", {{10, 11}}},
        {5, 9, Qt::Key_Delete, "Anfang FEST Ende", {{5, 9}}},
        {11, 11, Qt::Key_X, "Anfang FEST Ende", {{11, 11}}},
        {7, 7, Qt::Key_X, "Anfang xFEST Ende", {}},
        {13, 13, Qt::Key_Delete, "Anfang xFEST nde", {}},
    };
    for (const Case &c : cases) {
        asked.clear();
        select(c.from, c.to - c.from);
        QTest::keyClick(&edit, c.key);
        EXPECT_EQ(edit.toPlainText(), c.text) << c.from;
        EXPECT_EQ(asked, c.asked) << c.from;
    }
    for (const bool allowed : {false, true}) {
        allow = allowed;
        select(8, 4);
        edit.CutToClipboard();
    }
    EXPECT_EQ(edit.toPlainText(), QStringLiteral("Anfang x nde"));
    allow = false;
    select(0, 1);
    edit.SetSelProtected(true);
    QTest::keyClick(&edit, Qt::Key_Delete);
    EXPECT_EQ(edit.toPlainText(), QStringLiteral("Anfang x nde"));
    EXPECT_EQ(user.beeps(), 6);

    // Replacing asks as typing does, for the protected match only.
    rtf = "{\\rtf1\\ansi Text \\protect FEST\\protect0  FEST\\par}";
    stream.close();
    stream.open(QIODevice::ReadOnly);
    edit.StreamIn(stream, false, false);
    for (const auto &[allowed, text] : {std::pair{false, "Text FEST frei"}, std::pair{true, "Text frei frei"}}) {
        allow = allowed;
        asked.clear();
        replaceAll(QStringLiteral("FEST"), QStringLiteral("frei"));
        EXPECT_EQ(edit.toPlainText(), QString::fromLatin1(text));
        EXPECT_EQ(asked, (QList<std::pair<int, int>>{{5, 9}}));
    }
    EXPECT_EQ(user.beeps(), 7);
}
