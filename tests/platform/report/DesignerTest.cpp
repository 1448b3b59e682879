#include "ReportTestSupport.h"

#include "platform/report/DialogRunner.h"
#include "platform/report/LayoutBuilder.h"
#include "platform/report/LayoutDesigner.h"
#include "platform/report/LayoutFile.h"
#include "platform/report/api/ReportApi.h"
#include "support/RecordingUiServices.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTreeWidget>

using namespace report;

namespace {

class Designer : public EngineFixture
{
protected:
    int job = 0;

    void SetUp() override
    {
        EngineFixture::SetUp();
        job = LlJobOpen(0);
        LlDefineVariable(job, "Kunde_Name", "Meier GmbH");
        LlDefineVariableExt(job, "Barcode_Auftragnr_EAN13", "00|00000|12345", LL_BARCODE_EAN13, "");
        LlDefineFieldExt(job, "Kopf_Kunde_Name", "Meier GmbH", LL_TEXT | LL_TABLE_HEADERFIELD, "");
        LlDefineFieldExt(job, "ZahlFormatPreisF", "--,---,--&.##", LL_TEXT | LL_TABLE_FOOTERFIELD, "");
        LlDefineField(job, "Bezeichnung", "Schraube M6x40");
    }

    void TearDown() override
    {
        setDialogRunner(nullptr);
        LlJobClose(job);
        EngineFixture::TearDown();
    }
};

template <typename W>
W *child(QWidget &parent, const char *name)
{
    W *found = parent.findChild<W *>(QLatin1String(name));
    EXPECT_TRUE(found) << name;
    return found;
}

void mouse(QWidget *target, QEvent::Type type, QPointF at)
{
    QMouseEvent event(type, at, target->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

void drag(DesignCanvas *canvas, QPointF fromMm, QPointF toMm)
{
    mouse(canvas, QEvent::MouseButtonPress, canvas->toPixels(fromMm));
    mouse(canvas, QEvent::MouseMove, canvas->toPixels((fromMm + toMm) / 2));
    mouse(canvas, QEvent::MouseMove, canvas->toPixels(toMm));
    mouse(canvas, QEvent::MouseButtonRelease, canvas->toPixels(toMm));
}

QTreeWidgetItem *findName(QTreeWidget *tree, const QString &name)
{
    const QList<QTreeWidgetItem *> found = tree->findItems(name, Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? nullptr : found.first();
}

}

TEST_F(Designer, CreatesEditsAndSavesAListLayout)
{
    const QString path = dir.filePath("neu.lst");
    QString designed;
    setDialogRunner([&](QDialog &dialog) {
        auto &designer = dynamic_cast<LayoutDesigner &>(dialog);
        EXPECT_EQ(designer.windowTitle(), "Formular-Layout \"Rechnung\"  ");
        QTreeWidget *names = designer.nameList();
        QTreeWidgetItem *header = findName(names, "Kopf_Kunde_Name");
        QTreeWidgetItem *footer = findName(names, "ZahlFormatPreisF");
        QTreeWidgetItem *barcode = findName(names, "Barcode_Auftragnr_EAN13");
        EXPECT_TRUE(header && header->text(1).contains("Kopfzeile"));
        EXPECT_TRUE(footer && footer->text(1).contains("Fußzeile"));
        EXPECT_TRUE(barcode && barcode->text(1).contains("EAN13"));
        EXPECT_EQ(findName(names, "Kunde_Name")->text(2), "Meier GmbH");

        const int text = designer.addObject(ObjectKind::Text);
        child<QPlainTextEdit>(designer, "expression")->setPlainText("\"Kunde: \" + ");
        EXPECT_TRUE(child<QLabel>(designer, "problem")->text().startsWith("Fehler im Ausdruck"));
        child<QPlainTextEdit>(designer, "expression")->moveCursor(QTextCursor::End);
        designer.insertName("Kunde_Name");
        child<QDoubleSpinBox>(designer, "x")->setValue(20);
        child<QDoubleSpinBox>(designer, "y")->setValue(30);
        child<QComboBox>(designer, "align")->setCurrentIndex(2);
        EXPECT_EQ(designer.layout().objects.at(text).lines.at(0).source(), "\"Kunde: \" + Kunde_Name");
        EXPECT_TRUE(child<QLabel>(designer, "problem")->text().isEmpty());
        EXPECT_EQ(designer.layout().objects.at(text).align, Qt::AlignRight);

        const int code = designer.addObject(ObjectKind::Barcode);
        child<QPlainTextEdit>(designer, "expression")->setPlainText("Barcode_Auftragnr_EAN13");
        child<QComboBox>(designer, "symbology")->setCurrentIndex(0);
        const QRectF before = designer.layout().objects.at(code).rect;
        drag(designer.canvas(), before.center(), before.center() + QPointF(10, -20));
        EXPECT_NEAR(designer.layout().objects.at(code).rect.left(), before.left() + 10, 0.51);
        EXPECT_NEAR(designer.layout().objects.at(code).rect.top(), before.top() - 20, 0.51);
        EXPECT_NEAR(child<QDoubleSpinBox>(designer, "x")->value(), designer.layout().objects.at(code).rect.left(),
                    0.05);
        const QRectF moved = designer.layout().objects.at(code).rect;
        drag(designer.canvas(), moved.bottomRight(), moved.bottomRight() + QPointF(15, 5));
        EXPECT_NEAR(designer.layout().objects.at(code).rect.width(), moved.width() + 15, 0.51);
        EXPECT_NEAR(designer.layout().objects.at(code).rect.topLeft().x(), moved.left(), 1e-9);

        // Objects of the following pages are placed in the following-page view.
        const int following = designer.addObject(ObjectKind::Text);
        child<QComboBox>(designer, "appearance")->setCurrentIndex(int(Appearance::FollowingPages));
        EXPECT_TRUE(designer.canvas()->displayRect(following).isNull());
        child<QCheckBox>(designer, "followingPage")->setChecked(true);
        EXPECT_FALSE(designer.canvas()->displayRect(following).isNull());
        designer.canvas()->select(following);
        designer.removeSelected();
        child<QCheckBox>(designer, "followingPage")->setChecked(false);

        // The table's column list edits the expressions of its lines.
        designer.canvas()->select(designer.canvas()->tableIndex());
        auto *columns = child<QTableWidget>(designer, "columns");
        EXPECT_EQ(columns->rowCount(), 2);
        columns->item(1, 4)->setText("Bezeichnung");
        columns->item(1, 1)->setText("120");
        EXPECT_EQ(designer.layout().table->rows.at(1).columns.at(0).expression.source(), "Bezeichnung");
        EXPECT_DOUBLE_EQ(designer.layout().table->rows.at(1).columns.at(0).width, 120);
        designer.canvas()->grab();

        designed = layoutToText(designer.layout());
        designer.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Save)->click();
        return designer.result();
    });
    ASSERT_EQ(LlDefineLayout(job, nullptr, "Formular-Layout \"Rechnung\"  ",
                             LL_PROJECT_LIST | LL_FUNCTION_CREATE_IF_MISSING, path),
              0);
    Layout reloaded;
    ASSERT_EQ(loadLayout(path, reloaded), 0);
    EXPECT_EQ(layoutToText(reloaded), designed);
    EXPECT_EQ(reloaded.objects.size(), 2);

    // Opened again, the same layout comes back unchanged; cancelling the
    // changes is confirmed first.
    ui::ScopedRecordingUiServices user;
    user.queueAnswer(ui::IDYES);
    setDialogRunner([&](QDialog &dialog) {
        auto &designer = dynamic_cast<LayoutDesigner &>(dialog);
        EXPECT_EQ(layoutToText(designer.layout()), designed);
        designer.removeSelected();
        designer.canvas()->select(0);
        designer.removeSelected();
        designer.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Cancel)->click();
        return designer.result();
    });
    EXPECT_EQ(LlDefineLayout(job, nullptr, "x", LL_PROJECT_LIST, path), LL_ERR_USER_ABORTED);
    ASSERT_EQ(loadLayout(path, reloaded), 0);
    EXPECT_EQ(layoutToText(reloaded), designed);
    EXPECT_EQ(user.messages().size(), 1);
}

namespace {

// Types into a spin box as a user does: select all, the text, Enter.
void typeInto(QDoubleSpinBox *box, const QString &text)
{
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, text);
    QTest::keyClick(box, Qt::Key_Return);
}

}

// German users type decimal commas; a value that would put the element off
// the page is refused with a message and the element stays where it was.
TEST_F(Designer, NumbersAreGermanAndAnElementNeverLeavesThePageUnnoticed)
{
    ui::ScopedRecordingUiServices user;
    LayoutDesigner designer(newLayout(Layout::Type::List), dir.filePath("neu.lst"), Definitions{}, Definitions{},
                            nullptr, "Liste");
    designer.show();
    const int text = designer.addObject(ObjectKind::Text);
    auto *x = child<QDoubleSpinBox>(designer, "x");
    typeInto(x, "25,5");
    EXPECT_DOUBLE_EQ(designer.layout().objects.at(text).rect.left(), 25.5);
    EXPECT_EQ(x->text(), "25,5 mm");
    EXPECT_TRUE(user.messages().isEmpty());

    const struct
    {
        const char *box;
        const char *typed;
    } offPage[] = {{"x", "255"}, {"y", "290"}, {"width", "200"}, {"height", "300"}, {"x", "-3"}};
    for (const auto &c : offPage) {
        user.clear();
        const QRectF before = designer.layout().objects.at(text).rect;
        typeInto(child<QDoubleSpinBox>(designer, c.box), c.typed);
        EXPECT_EQ(designer.layout().objects.at(text).rect, before) << c.box << " " << c.typed;
        ASSERT_EQ(user.messages().size(), 1) << c.box << " " << c.typed;
        EXPECT_TRUE(user.messages().at(0).text.contains("außerhalb der Seite (210 x 297 mm)"));
        const QMap<QString, double> shown = {
            {"x", before.left()}, {"y", before.top()}, {"width", before.width()}, {"height", before.height()}};
        EXPECT_DOUBLE_EQ(child<QDoubleSpinBox>(designer, c.box)->value(), shown.value(c.box));
    }

    // A point is the decimal comma in every number box, never a thousands point.
    for (const auto &[box, point] : {std::pair{"x", "1.5"}, {"width", "20.5"}, {"fontSize", "8.5"}, {"pen", "0.3"}})
        typeInto(child<QDoubleSpinBox>(designer, box), point);
    const LayoutObject &entered = designer.layout().objects.at(text);
    EXPECT_EQ(QList<double>({entered.rect.left(), entered.rect.width(), entered.font.size, entered.pen}),
              QList<double>({1.5, 20.5, 8.5, 0.3}));

    designer.canvas()->select(designer.canvas()->tableIndex());
    auto *columns = child<QTableWidget>(designer, "columns");
    columns->item(1, 1)->setText("120,5");
    EXPECT_DOUBLE_EQ(designer.layout().table->rows.at(1).columns.at(0).width, 120.5);
    designer.canvas()->select(designer.canvas()->tableIndex());
    EXPECT_EQ(columns->item(1, 1)->text(), "120,5");
    user.clear();
    for (const char *typed : {"12a", "0", "1.234,5"}) {
        columns->item(1, 1)->setText(typed);
        EXPECT_EQ(columns->item(1, 1)->text(), "120,5") << typed;
    }
    EXPECT_DOUBLE_EQ(designer.layout().table->rows.at(1).columns.at(0).width, 120.5);
    EXPECT_EQ(user.messages().size(), 3);
    EXPECT_EQ(user.messageTexts().filter("Bei „Breite“ ist nur eine Zahl möglich.").size(), 2);
}

// A paper or label size that cannot hold the layout, or cannot be drawn,
// is refused like an element off the page: said, and not taken. Label
// tapes of a few millimetres are taken; labels are counted whole.
TEST_F(Designer, APageOrLabelThatCannotHoldTheLayoutIsRefused)
{
    ui::ScopedRecordingUiServices user;
    const Layout list = newLayout(Layout::Type::List);
    Layout labels = newLayout(Layout::Type::Label);
    labels.objects.append(textObject("Adresse", {5, 5, 60, 25}, {"Kunde_Name"}));
    Layout tape = newLayout(Layout::Type::Label);
    tape.objects.append(textObject("Inhalt", {1, 1, 40, 4}, {"Bezeichnung"}));
    const struct
    {
        const Layout *start;
        const char *box;
        const char *typed;
        const char *said; // empty: taken
    } cases[] = {
        {&list, "pageWidth", "0", "Die Papierbreite muss größer als 0 mm sein."},
        {&list, "pageHeight", "9,9", "„Tabelle“ außerhalb der Seite (210 x 9,9 mm)"},
        {&list, "pageWidth", "150", "„Tabelle“ außerhalb der Seite (150 x 297 mm)"},
        {&list, "pageWidth", "250", ""},
        {&labels, "labelWidth", "0", "Die Etikettbreite muss größer als 0 mm sein."},
        {&labels, "labelWidth", "50", "„Adresse“ außerhalb des Etiketts (50 x 37 mm)"},
        {&labels, "columns", "4", "Etiketten außerhalb des Bogens (210 x 297 mm)"},
        {&labels, "columns", "2,5", "Bei „Spalten“ ist nur eine ganze Zahl ab 1 möglich."},
        {&labels, "columns", "2.5", "Bei „Spalten“ ist nur eine ganze Zahl ab 1 möglich."},
        {&labels, "rows", "0", "Bei „Zeilen“ ist nur eine ganze Zahl ab 1 möglich."},
        {&labels, "rows", "3", ""},
        {&labels, "pageHeight", "200", "Etiketten außerhalb des Bogens (210 x 200 mm)"},
        {&labels, "labelHeight", "30", ""},
        {&tape, "labelHeight", "6", ""},
        {&tape, "labelHeight", "9", ""},
        {&tape, "labelHeight", "12", ""},
        {&tape, "labelHeight", "4,5", "„Inhalt“ außerhalb des Etiketts (70 x 4,5 mm)"},
    };
    for (const auto &c : cases) {
        user.clear();
        LayoutDesigner designer(*c.start, dir.filePath("neu.lst"), Definitions{}, Definitions{}, nullptr, "Seite");
        designer.show();
        auto *box = child<QDoubleSpinBox>(designer, c.box);
        const double before = box->value();
        typeInto(box, c.typed);
        const bool refused = *c.said != 0;
        // Enter confirmed the value; it neither saved nor closed the designer.
        EXPECT_TRUE(designer.isVisible()) << c.box << " " << c.typed;
        EXPECT_EQ(user.messageTexts().join('|').contains(QString::fromUtf8(c.said)), true) << c.box << c.typed;
        EXPECT_EQ(user.messages().size(), refused ? 1 : 0) << c.box << " " << c.typed;
        EXPECT_EQ(layoutToText(designer.layout()) == layoutToText(*c.start), refused) << c.box << " " << c.typed;
        EXPECT_EQ(box->value() == before, refused) << c.box << " " << c.typed;
    }
}

TEST_F(Designer, CancelAsksBeforeChangesAreThrownAway)
{
    ui::ScopedRecordingUiServices user;
    LayoutDesigner designer(newLayout(Layout::Type::List), dir.filePath("neu.lst"), Definitions{}, Definitions{},
                            nullptr, "Liste");
    designer.show();
    auto *cancel = designer.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Cancel);
    designer.addObject(ObjectKind::Line);
    user.queueAnswer(ui::IDNO);
    QTest::mouseClick(cancel, Qt::LeftButton);
    ASSERT_EQ(user.messages().size(), 1);
    EXPECT_EQ(user.messages().at(0).buttons, ui::MsgButtons::YesNo);
    EXPECT_TRUE(designer.isVisible());
    user.queueAnswer(ui::IDYES);
    QTest::keyClick(&designer, Qt::Key_Escape);
    EXPECT_EQ(user.messages().size(), 2);
    EXPECT_FALSE(designer.isVisible());
    EXPECT_EQ(designer.result(), QDialog::Rejected);

    // Unchanged, it closes without a question.
    LayoutDesigner unchanged(newLayout(Layout::Type::List), dir.filePath("neu.lst"), Definitions{}, Definitions{},
                             nullptr, "Liste");
    unchanged.show();
    user.clear();
    QTest::mouseClick(unchanged.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Cancel), Qt::LeftButton);
    EXPECT_TRUE(user.messages().isEmpty());
    EXPECT_FALSE(unchanged.isVisible());
}

// In the design view the block after the table stands where the longest
// table that leaves it room would end: above the page footer.
TEST_F(Designer, TheClosingBlockIsShownAboveThePageFooter)
{
    Layout layout = newLayout(Layout::Type::List);
    layout.marginBottom = 27;
    layout.table->rect = QRectF(20, 124, 175, 140);
    layout.objects.append(textObject("Fusszeile", {20, 275, 170, 10}, {"\"Fuß\""}, FontSpec{}));
    layout.objects.append(
        textObject("Gruss", {20, 20, 175, 16}, {"\"Gruß\""}, FontSpec{}, Qt::AlignLeft, Appearance::AfterTable));
    LayoutDesigner designer(layout, dir.filePath("neu.lst"), Definitions{}, Definitions{}, nullptr, "Liste");
    const QString shots = qEnvironmentVariable("TINTLEN_SCREENSHOTS");
    if (!shots.isEmpty())
        designer.grab().save(shots + QStringLiteral("/designer.png"));
    const QRectF closing = designer.canvas()->displayRect(1);
    EXPECT_LE(closing.bottom(), layout.printableBottom() + 1e-9);
    EXPECT_FALSE(closing.intersects(designer.canvas()->displayRect(0)));
    EXPECT_DOUBLE_EQ(closing.top(), layout.printableBottom() - 36 + 20);
}

TEST_F(Designer, CreatesALabelSheet)
{
    const QString path = dir.filePath("etikett.lbl");
    setDialogRunner([&](QDialog &dialog) {
        auto &designer = dynamic_cast<LayoutDesigner &>(dialog);
        EXPECT_EQ(designer.layout().type, Layout::Type::Label);
        EXPECT_FALSE(designer.findChild<QPushButton *>("Tabelle"));
        designer.findChild<QPushButton *>("Text")->click();
        child<QPlainTextEdit>(designer, "expression")->setPlainText("Kunde_Name");
        EXPECT_LE(designer.layout().objects.at(0).rect.right(), designer.layout().sheet.labelWidth);
        child<QDoubleSpinBox>(designer, "columns")->setValue(2);
        child<QDoubleSpinBox>(designer, "labelWidth")->setValue(99);
        EXPECT_EQ(designer.canvas()->width(), int(99 * designer.canvas()->pixelsPerMm()) + 1);
        return designer.save() ? int(QDialog::Accepted) : int(QDialog::Rejected);
    });
    ASSERT_EQ(LlDefineLayout(job, nullptr, "Etikett", LL_PROJECT_LABEL | LL_FUNCTION_CREATE_IF_MISSING, path), 0);
    ASSERT_EQ(LlPrintStart(job, LL_PROJECT_LABEL, path, LL_PRINT_NORMAL, 0), 0);
    ASSERT_EQ(LlPrint(job), 0);
    LlPrintEnd(job, 0);
    ASSERT_EQ(recording->pages.size(), 1);
    EXPECT_EQ(recording->pages.at(0).texts(), QStringList{"Meier GmbH"});
    Layout saved;
    ASSERT_EQ(loadLayout(path, saved), 0);
    EXPECT_EQ(saved.sheet.columns, 2);
    EXPECT_DOUBLE_EQ(saved.sheet.labelWidth, 99);
}

TEST_F(Designer, MissingOrForeignLayoutsAreNotOpened)
{
    setDialogRunner([](QDialog &) {
        ADD_FAILURE() << "the designer must not open";
        return int(QDialog::Rejected);
    });
    EXPECT_EQ(LlDefineLayout(job, nullptr, "x", LL_PROJECT_LIST, dir.filePath("fehlt.lst")), LL_ERR_LAYOUT);
    QFile foreign(dir.filePath("alt.lst"));
    ASSERT_TRUE(foreign.open(QIODevice::WriteOnly));
    foreign.write(QByteArray("\x00\x01\x02LL binary", 12));
    foreign.close();
    EXPECT_EQ(LlDefineLayout(job, nullptr, "x", LL_PROJECT_LIST | LL_FUNCTION_CREATE_IF_MISSING, foreign.fileName()),
              LL_ERR_LAYOUT);
}

// The designer opens within a 1024x768 screen with its buttons whole.
TEST_F(Designer, FitsASmallScreenWithItsButtonsWhole)
{
    const QSize small(1024, 768);
    for (const auto &[name, kind] :
         {std::pair{"klein.lst", LL_PROJECT_LIST}, std::pair{"klein.lbl", LL_PROJECT_LABEL}}) {
        setDialogRunner([&](QDialog &dialog) {
            dialog.show();
            QApplication::processEvents();
            EXPECT_LE(dialog.width(), small.width()) << name;
            EXPECT_LE(dialog.height(), small.height()) << name;
            EXPECT_LE(dialog.minimumSizeHint().width(), small.width()) << name;
            EXPECT_LE(dialog.minimumSizeHint().height(), small.height()) << name;
            const QPushButton *save = dialog.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Save);
            const QRect inDialog(save->mapTo(&dialog, QPoint(0, 0)), save->size());
            EXPECT_TRUE(dialog.rect().contains(inDialog)) << name;
            return int(QDialog::Rejected);
        });
        LlDefineLayout(job, nullptr, "Formular", kind | LL_FUNCTION_CREATE_IF_MISSING, dir.filePath(name));
    }
}

TEST_F(Designer, ALayoutThatCannotBeSavedIsReportedAndTheDesignerStays)
{
    ui::ScopedRecordingUiServices user;
    LayoutDesigner designer(Layout{}, dir.filePath("entfernt/liste.lst"), Definitions{}, Definitions{}, nullptr,
                            "Liste");
    EXPECT_FALSE(designer.save());
    ASSERT_EQ(user.messages().size(), 1);
    EXPECT_EQ(user.messages().at(0).icon, ui::MsgIcon::Warning);
    EXPECT_EQ(user.messages().at(0).buttons, ui::MsgButtons::Ok);
    EXPECT_FALSE(user.messages().at(0).text.isEmpty());
    EXPECT_FALSE(QFile::exists(dir.filePath("entfernt/liste.lst")));
}

// A name the job never defined is named while the expression is typed and
// again on saving, where keeping it is the user's choice; a name defined as
// a field counts in the table, not on the page.
TEST_F(Designer, NamesTheJobNeverDefinedAreNamedWhileTypingAndOnSaving)
{
    ui::ScopedRecordingUiServices user;
    const QString path = dir.filePath("namen.lst");
    setDialogRunner([&](QDialog &dialog) {
        auto &designer = dynamic_cast<LayoutDesigner &>(dialog);
        auto *problem = child<QLabel>(designer, "problem");
        designer.addObject(ObjectKind::Text);
        const struct
        {
            const char *typed;
            const char *shown;
        } typing[] = {
            {"\"Rechnung Nummer \" + Kunde_Name + \" \" + Gibtsnicht", "Unbekannte Namen:\n„Text 1“: Gibtsnicht"},
            {"Bezeichnung + steuer1", "Unbekannte Namen:\n„Text 1“: Bezeichnung, steuer1"},
            {"Kunde_Name + ZahlFormatPreisF", "Unbekannte Namen:\n„Text 1“: ZahlFormatPreisF"},
            {"Kunde_Name", ""},
        };
        for (const auto &t : typing) {
            child<QPlainTextEdit>(designer, "expression")->setPlainText(QString::fromUtf8(t.typed));
            EXPECT_EQ(problem->text(), QString::fromUtf8(t.shown)) << t.typed;
        }
        designer.canvas()->select(designer.canvas()->tableIndex());
        child<QTableWidget>(designer, "columns")->item(1, 4)->setText("Bezeichnung + steuer1");
        EXPECT_EQ(problem->text(), "Unbekannte Namen:\n„Tabelle, Datenzeile 2“: steuer1");

        user.queueAnswer(ui::IDNO);
        EXPECT_FALSE(designer.save());
        EXPECT_FALSE(QFile::exists(path));
        user.queueAnswer(ui::IDYES);
        EXPECT_TRUE(designer.save());
        return designer.result();
    });
    LlDefineLayout(job, nullptr, "Rechnung", LL_PROJECT_LIST | LL_FUNCTION_CREATE_IF_MISSING, path);
    ASSERT_EQ(user.messages().size(), 2);
    EXPECT_EQ(user.messages().at(0).buttons, ui::MsgButtons::YesNo);
    EXPECT_TRUE(user.messages().at(0).text.contains("„Tabelle, Datenzeile 2“: steuer1"));
    EXPECT_TRUE(QFile::exists(path));
}

// The designer opens an empty layout file as a new layout and a damaged one
// of ours on what could be read, after saying so; a file that is not ours,
// or from a newer version, is left untouched and the reason told.
TEST_F(Designer, DamagedLayoutsOpenOnWhatCouldBeReadOthersSayWhyNot)
{
    const QString sound = layoutToText(newLayout(Layout::Type::List))
                              .replace("[Table]", "[Text]\nName=Titel\nRect=20;20;100;10\nLine=Kunde_Name\n[Table]");
    const struct
    {
        const char *what;
        QByteArray bytes;
        int objects;      // read; -1: the designer does not open
        const char *said; // a warning before the designer, or why it cannot open
    } cases[] = {
        {"empty", "", 0, ""},
        {"cut short", sound.left(sound.indexOf("Line=") + 10).toUtf8(), 1, "Die Layoutdatei ist unvollständig"},
        {"a line garbled", QString(sound).replace("Rect=20;20;100;10", "Rect=20;x").toUtf8(), 1,
         "Zeile 8: 4 Zahlen erwartet"},
        {"a section unknown", QString(sound).replace("[Text]", "[Kreis]").toUtf8(), 0, "Unbekannter Abschnitt"},
        {"foreign", QByteArray("\x00\x01\x02LL binary", 12), -1, "keine Layoutdatei"},
        {"newer", QString(sound).replace("TintlenLayout 1", "TintlenLayout 7").toUtf8(), -1, "neueren Programmversion"},
    };
    for (const auto &c : cases) {
        ui::ScopedRecordingUiServices user;
        QFile file(dir.filePath(QStringLiteral("%1.lst").arg(c.what)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(c.bytes);
        file.close();
        int objects = -1;
        setDialogRunner([&](QDialog &dialog) {
            objects = int(dynamic_cast<LayoutDesigner &>(dialog).layout().objects.size());
            return int(QDialog::Rejected);
        });
        const int result =
            LlDefineLayout(job, nullptr, "x", LL_PROJECT_LIST | LL_FUNCTION_CREATE_IF_MISSING, file.fileName());
        EXPECT_EQ(result, c.objects < 0 ? LL_ERR_LAYOUT : LL_ERR_USER_ABORTED) << c.what;
        EXPECT_EQ(objects, c.objects) << c.what;
        const QString said = c.objects < 0 ? LlGetErrorText(job) : user.messageTexts().join('|');
        EXPECT_TRUE(said.contains(QString::fromUtf8(c.said)) && said.isEmpty() == !*c.said) << said.toStdString();
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), c.bytes) << c.what;
        file.close();
    }
}
