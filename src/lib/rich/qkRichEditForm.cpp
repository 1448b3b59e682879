#include "lib/rich/qkRichEditForm.h"

#include "lib/data/Qkintl.h"
#include "lib/edit/Qkdbcomb.h"
#include "lib/rich/qkKeyLocks.h"
#include "lib/rich/qkRichColors.h"
#include "lib/rich/qkRichPrint.h"
#include "lib/rich/qkRulerPanel.h"
#include "lib/rich/qkriched.h"
#include "platform/db/TField.h"
#include "platform/rtf/RtfDocument.h"
#include "platform/ui/Application.h"
#include "platform/ui/UiServices.h"

#include <QActionGroup>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QSaveFile>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QTextList>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWidgetAction>

namespace {

// The captions' filter ("name|patterns|name|patterns", patterns apart by
// ";") as the file dialogs take it; a pattern matches in either case.
QString fileFilter()
{
    const QStringList parts = qkIntl().RichEdit->MenuLabels->FileFilter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns;
        for (const QString &pattern : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts))
            patterns << pattern.trimmed() << pattern.trimmed().toLower();
        patterns.removeDuplicates();
        const QString name = parts[i].section(QLatin1Char('('), 0, 0).trimmed();
        filters << QStringLiteral("%1 (%2)").arg(name, patterns.join(QLatin1Char(' ')));
    }
    return filters.join(QStringLiteral(";;"));
}

QString shortHint(const QString &hint)
{
    return hint.section(QLatin1Char('|'), 0, 0).trimmed();
}

// The style buttons show the first letter of their name, drawn in their
// style, so that the letters follow the captions.
QIcon letterIcon(const QString &name, const QFont &base, bool bold, bool italic, bool underline)
{
    QPixmap picture(32, 32);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    QFont font = base;
    font.setPixelSize(22);
    font.setBold(bold);
    font.setItalic(italic);
    font.setUnderline(underline);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(picture.rect(), Qt::AlignCenter, name.left(1).toUpper());
    return QIcon(picture);
}

// Alignment and bullet buttons: lines of text as they stand in the paragraph.
QIcon linesIcon(Qt::Alignment alignment, bool bullet)
{
    QPixmap picture(32, 32);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setPen(QPen(Qt::black, 2));
    const int widths[] = {24, 16, 24, 12};
    for (int line = 0; line < 4; ++line) {
        const int y = 7 + line * 6;
        const int width = bullet ? 18 : widths[line];
        const int left = bullet                          ? 11
                         : alignment == Qt::AlignRight   ? 28 - width
                         : alignment == Qt::AlignHCenter ? 16 - width / 2
                                                         : 4;
        painter.drawLine(left, y, left + width, y);
        if (bullet)
            painter.drawEllipse(QPointF(6, y), 1.5, 1.5);
    }
    return QIcon(picture);
}

// One line of the colour menu: a 40-pixel swatch of the colour and the
// action's text, highlighted under the mouse.
class ColorItem : public QWidget
{
public:
    ColorItem(const QColor &color, QWidgetAction &action) : m_color(color), m_action(action)
    {
        setMouseTracking(true);
        setAttribute(Qt::WA_Hover);
    }

    QSize sizeHint() const override
    {
        const QFontMetrics metrics(font());
        return {metrics.horizontalAdvance(m_action.text()) + 45 + 6, metrics.height() + 2 + 4};
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        // The item under the mouse or reached by the arrow keys.
        const auto *menu = qobject_cast<const QMenu *>(parentWidget());
        const bool hot = underMouse() || (menu && menu->activeAction() == &m_action);
        painter.fillRect(rect(), palette().color(hot ? QPalette::Highlight : QPalette::Button));
        const QRect box(3, 2, 40, height() - 4);
        painter.fillRect(box, m_color);
        painter.setPen(palette().color(QPalette::Mid));
        painter.drawRect(box.adjusted(0, 0, -1, -1));
        painter.setPen(palette().color(hot ? QPalette::HighlightedText : QPalette::WindowText));
        painter.drawText(rect().adjusted(box.right() + 4, 0, 0, 0), Qt::AlignVCenter | Qt::TextSingleLine,
                         m_action.text());
    }
    void mouseReleaseEvent(QMouseEvent *) override
    {
        m_action.trigger();
        for (QWidget *menu = parentWidget(); menu; menu = menu->parentWidget())
            if (auto *owner = qobject_cast<QMenu *>(menu)) {
                owner->close();
                break;
            }
    }

private:
    QColor m_color;
    QWidgetAction &m_action;
};

QAction *addTo(QMenu *menu, QAction *action)
{
    menu->addAction(action);
    return action;
}

void showFileError(const QString &text)
{
    ui::services().messageBox(text, ui::applicationTitle(), ui::MsgIcon::Stop, ui::MsgButtons::Ok);
}

int ask(const QString &text, ui::MsgButtons buttons)
{
    return ui::services().messageBox(text, ui::applicationTitle(), ui::MsgIcon::Question, buttons);
}

// Hints in the captions object are "Short | long"; the tool tip takes the
// short part, the status bar the long one.
QString longHint(const QString &hint)
{
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    return bar < 0 ? hint : hint.mid(bar + 1).trimmed();
}

// The window edits in a new instance of the caller's own class, so that a
// derived control's behaviour holds in the window too.
TqkCustomRichEdit *innerControlLike(const TqkCustomRichEdit &source, QWidget *parent)
{
    QObject *made = source.metaObject()->newInstance(Q_ARG(QWidget *, parent));
    if (auto *edit = qobject_cast<TqkCustomRichEdit *>(made))
        return edit;
    delete made;
    return new TqkCustomRichEdit(parent);
}

} // namespace

TqkRichEditForm::TqkRichEditForm(TqkCustomRichEdit &source, QWidget *parent)
    : QDialog(parent), m_source(source), m_richEdit(innerControlLike(source, this)), m_ruler(new TqkRulerPanel(this)),
      m_menuBar(new QMenuBar(this)), m_toolBar(new QToolBar(this)), m_formatBar(new QToolBar(this)),
      m_statusBar(new QStatusBar(this)), m_hintPanel(new QLabel), m_capsPanel(new QLabel), m_numPanel(new QLabel),
      m_fontName(new TqkDBComboBox), m_fontSize(new TqkDBComboBox)
{
    const ui::BusyCursor busy;
    setObjectName(QStringLiteral("TqkRichEditForm"));
    setWindowTitle(source.EditorCaption);
    m_richEdit->setObjectName(QStringLiteral("RichEdit1"));
    m_richEdit->setTabChangesFocus(false);
    m_richEdit->SetPopupOptions(rpoPopupCut | rpoPopupCopy | rpoPopupPaste | rpoPopupFont | rpoPopupBullet
                                | rpoPopupParagraph);
    m_richEdit->setFont(source.font());
    m_richEdit->SetMeasurementUnits(source.MeasurementUnits());
    m_richEdit->PrintMargins()->Assign(*source.PrintMargins());
    m_richEdit->SetPaperSize(source.PaperSize());
    m_richEdit->SetLandscape(source.Landscape());
    m_richEdit->SetEditWidth(source.EditWidth());
    m_richEdit->EditorOptions = source.EditorOptions;
    m_richEdit->setReadOnly(source.GetReadOnly());
    m_richEdit->SetRichEditVersion(source.RichEditVersion());
    m_richEdit->SetMaxLength(source.MaxLength());
    m_richEdit->SetAutoURLDetect(source.AutoURLDetect());
    m_richEdit->OnURLOpen = source.OnURLOpen;
    m_richEdit->OnInitDialog = source.OnInitDialog;
    m_ruler->SetRichEdit(m_richEdit);
    m_ruler->SizeToPage();
    m_ruler->setFixedHeight(qkScreenPixelsPerInch() > 96 ? 27 : 25);
    buildMenus();
    buildToolBar();
    buildFormatBar();
    m_hintPanel->setMinimumWidth(300);
    m_statusBar->addWidget(m_hintPanel, 1);
    m_capsPanel->setObjectName(QStringLiteral("CapsPanel"));
    m_numPanel->setObjectName(QStringLiteral("NumPanel"));
    for (QLabel *panel : {m_capsPanel, m_numPanel}) {
        panel->setMinimumWidth(32);
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        m_statusBar->addPermanentWidget(panel);
    }
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->setMenuBar(m_menuBar);
    for (QWidget *part :
         {static_cast<QWidget *>(m_toolBar), static_cast<QWidget *>(m_formatBar), static_cast<QWidget *>(m_ruler)})
        layout->addWidget(part);
    layout->addWidget(m_richEdit, 1);
    layout->addWidget(m_statusBar);
    source.CopyTo(*m_richEdit);
    m_richEdit->document()->setModified(false);
    m_richEdit->SetLeftTextOffset(6);
    QTextCursor caret = m_richEdit->textCursor();
    caret.setPosition(std::min(source.textCursor().position(), m_richEdit->document()->characterCount() - 1));
    m_richEdit->setTextCursor(caret);
    fillFonts();
    takeUserButtons();
    applyOptions();
    const TqkFormPosition &position = source.EditorPosition;
    resize(position.Width > 0 ? position.Width : 640 * qkScreenPixelsPerInch() / 96,
           position.Height > 0 ? position.Height : 480 * qkScreenPixelsPerInch() / 96);
    placeWindow(position);
    connect(m_richEdit, &QTextEdit::cursorPositionChanged, this, &TqkRichEditForm::UpdateState);
    connect(m_richEdit, &QTextEdit::selectionChanged, this, &TqkRichEditForm::UpdateState);
    connect(m_richEdit, &QTextEdit::textChanged, this, &TqkRichEditForm::UpdateState);
    source.DoCreateDialog(this);
    UpdateState();
    showKeyStates();
}

TqkRichEditForm::~TqkRichEditForm()
{
    returnUserButtons();
}

// The caller's own buttons stand in the tool bar after a separator while
// the window is open. They sit in a holder of their own: the tool bar's
// action would delete a widget handed to it directly.
void TqkRichEditForm::takeUserButtons()
{
    const bool flat = m_source.EditorOptions.testFlag(reoFlatButtons);
    QHBoxLayout *row = nullptr;
    for (QAbstractButton *button : {m_source.UserSpeedButton1(), m_source.UserSpeedButton2()}) {
        if (!button)
            continue;
        if (!row) {
            auto *holder = new QWidget;
            holder->setObjectName(QStringLiteral("UserButtons"));
            row = new QHBoxLayout(holder);
            row->setContentsMargins(0, 0, 0, 0);
            m_toolBar->addSeparator();
            m_toolBar->addWidget(holder);
        }
        m_userButtons.append({button, button->parentWidget()});
        row->addWidget(button);
        if (auto *tool = qobject_cast<QToolButton *>(button))
            tool->setAutoRaise(flat);
        button->show();
    }
}

// They go back where they stood, hidden, before the holder goes.
void TqkRichEditForm::returnUserButtons()
{
    for (const UserButton &user : std::as_const(m_userButtons)) {
        if (!user.button)
            continue;
        user.button->hide();
        user.button->setParent(user.parent);
    }
    m_userButtons.clear();
}

// A stored Left or Top of 0 or less centres the window in the work area in
// that direction only.
void TqkRichEditForm::placeWindow(const TqkFormPosition &position)
{
    const QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    const QRect work = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    const QSize size = frameGeometry().size();
    const int left = position.Left > 0 ? position.Left : work.left() + (work.width() - size.width()) / 2;
    const int top = position.Top > 0 ? position.Top : work.top() + (work.height() - size.height()) / 2;
    move(left, top);
}

QAction *TqkRichEditForm::command(const QString &name, const QString &caption, const QString &hint,
                                  const QKeySequence &keys)
{
    auto *action = new QAction(caption, this);
    action->setObjectName(name);
    action->setShortcut(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    if (m_source.EditorOptions.testFlag(reoShowHints)) {
        action->setToolTip(shortHint(hint));
        action->setStatusTip(longHint(hint));
    }
    m_commands.insert(name, action);
    addAction(action);
    return action;
}

void TqkRichEditForm::buildMenus()
{
    const TqkRichEditMenuLabels &m = *qkIntl().RichEdit->MenuLabels;
    const TqkDBRichEditIntl &h = *qkIntl().RichEdit;
    TqkCustomRichEdit *edit = m_richEdit;
    QMenu *file = m_menuBar->addMenu(m.FileCaption);
    connect(addTo(file, command(QStringLiteral("Load"), m.LoadCaption, h.LoadButtonHint)), &QAction::triggered, this,
            &TqkRichEditForm::loadFile);
    connect(addTo(file, command(QStringLiteral("SaveAs"), m.SaveAsCaption, h.SaveAsButtonHint)), &QAction::triggered,
            this, &TqkRichEditForm::saveFileAs);
    connect(addTo(file, command(QStringLiteral("SaveExit"), m.SaveExitCaption, h.SaveExitHint,
                                QKeySequence(Qt::CTRL | Qt::Key_S))),
            &QAction::triggered, this, &QDialog::accept);
    m_commands.insert(QStringLiteral("FileSeparator1"), file->addSeparator());
    connect(addTo(file, command(QStringLiteral("Print"), m.PrintCaption, h.PrintButtonHint,
                                QKeySequence(Qt::CTRL | Qt::Key_P))),
            &QAction::triggered, this, &TqkRichEditForm::printText);
    connect(addTo(file, command(QStringLiteral("PageSetup"), m.PageSetupCaption, h.PageSetupHint)), &QAction::triggered,
            this, &TqkRichEditForm::pageSetup);
    m_commands.insert(QStringLiteral("FileSeparator2"), file->addSeparator());
    connect(addTo(file, command(QStringLiteral("Exit"), m.ExitCaption, h.ExitHint)), &QAction::triggered, this,
            &QDialog::reject);

    QMenu *editMenu = m_menuBar->addMenu(m.EditCaption);
    connect(addTo(editMenu,
                  command(QStringLiteral("Undo"), m.UndoCaption, h.UndoButtonHint, QKeySequence(Qt::CTRL | Qt::Key_Z))),
            &QAction::triggered, edit, &QTextEdit::undo);
    connect(
        addTo(editMenu, command(QStringLiteral("Redo"), m.RedoCaption, QString(), QKeySequence(Qt::CTRL | Qt::Key_Y))),
        &QAction::triggered, edit, &QTextEdit::redo);
    editMenu->addSeparator();
    connect(addTo(editMenu,
                  command(QStringLiteral("Cut"), m.CutCaption, h.CutButtonHint, QKeySequence(Qt::CTRL | Qt::Key_X))),
            &QAction::triggered, edit, &TqkCustomRichEdit::CutToClipboard);
    connect(addTo(editMenu,
                  command(QStringLiteral("Copy"), m.CopyCaption, h.CopyButtonHint, QKeySequence(Qt::CTRL | Qt::Key_C))),
            &QAction::triggered, edit, &QTextEdit::copy);
    connect(addTo(editMenu, command(QStringLiteral("Paste"), m.PasteCaption, h.PasteButtonHint,
                                    QKeySequence(Qt::CTRL | Qt::Key_V))),
            &QAction::triggered, edit, &QTextEdit::paste);
    connect(addTo(editMenu, command(QStringLiteral("Clear"), m.ClearCaption, h.ClearHint)), &QAction::triggered, edit,
            &TqkCustomRichEdit::ClearSelection);
    connect(addTo(editMenu, command(QStringLiteral("SelectAll"), m.SelectallCaption, h.SelectAllHint,
                                    QKeySequence(Qt::CTRL | Qt::Key_A))),
            &QAction::triggered, edit, &QTextEdit::selectAll);
    editMenu->addSeparator();
    connect(addTo(editMenu,
                  command(QStringLiteral("Find"), m.FindCaption, h.FindButtonHint, QKeySequence(Qt::CTRL | Qt::Key_F))),
            &QAction::triggered, edit, &TqkCustomRichEdit::Find);
    connect(addTo(editMenu,
                  command(QStringLiteral("FindNext"), m.FindNextCaption, h.FindNextHint, QKeySequence(Qt::Key_F3))),
            &QAction::triggered, edit, &TqkCustomRichEdit::FindNext);
    connect(addTo(editMenu, command(QStringLiteral("Replace"), m.ReplaceCaption, h.ReplaceHint,
                                    QKeySequence(Qt::CTRL | Qt::Key_H))),
            &QAction::triggered, edit, &TqkCustomRichEdit::Replace);

    QMenu *view = m_menuBar->addMenu(m.ViewCaption);
    m_commands.insert(QStringLiteral("ViewMenu"), view->menuAction());
    const auto toggle = [this, view](const QString &name, const QString &caption, const QString &hint, QWidget *bar) {
        QAction *action = addTo(view, command(name, caption, hint));
        action->setCheckable(true);
        action->setChecked(true);
        connect(action, &QAction::toggled, bar, &QWidget::setVisible);
    };
    toggle(QStringLiteral("ViewToolbar"), m.ToolbarCaption, h.ToolbarHint, m_toolBar);
    toggle(QStringLiteral("ViewFormatBar"), m.FormatBarCaption, h.FormatBarHint, m_formatBar);
    toggle(QStringLiteral("ViewStatusBar"), m.ViewStatusBarCaption, h.ViewStatusBarHint, m_statusBar);
    toggle(QStringLiteral("ViewRuler"), m.RulerCaption, QString(), m_ruler);

    QMenu *insert = m_menuBar->addMenu(m.InsertCaption);
    m_commands.insert(QStringLiteral("InsertMenu"), insert->menuAction());
    connect(addTo(insert, command(QStringLiteral("InsertObject"), m.InsertObjectCaption, h.InsertObjectHint)),
            &QAction::triggered, edit, &TqkCustomRichEdit::InsertObject);

    QMenu *format = m_menuBar->addMenu(m.FormatCaption);
    m_commands.insert(QStringLiteral("FormatMenu"), format->menuAction());
    connect(addTo(format, command(QStringLiteral("Font"), m.FontCaption, h.FontHint)), &QAction::triggered, edit,
            [this] {
                m_richEdit->FontDialog();
                UpdateState();
            });
    QAction *bulletStyle =
        addTo(format, command(QStringLiteral("BulletStyle"), m.BulletStyleCaption, h.BulletButtonHint));
    bulletStyle->setCheckable(true);
    connect(bulletStyle, &QAction::triggered, this, [this](bool on) {
        m_richEdit->SetBullet(on);
        UpdateState();
    });
    connect(addTo(format, command(QStringLiteral("Paragraph"), m.ParagraphCaption, h.ParagraphHint)),
            &QAction::triggered, this, [this] {
                m_richEdit->ParagraphDialog();
                m_ruler->PlaceMarkers();
            });
    connect(addTo(format, command(QStringLiteral("Tabs"), m.TabsCaption, h.TabsHint)), &QAction::triggered, edit,
            &TqkCustomRichEdit::TabDialog);
}

void TqkRichEditForm::buildToolBar()
{
    const TqkDBRichEditIntl &h = *qkIntl().RichEdit;
    QStyle *look = style();
    QAction *newText = command(QStringLiteral("New"), shortHint(h.NewButtonHint), h.NewButtonHint);
    newText->setIcon(look->standardIcon(QStyle::SP_FileIcon));
    connect(newText, &QAction::triggered, this, &TqkRichEditForm::newText);
    m_toolBar->addAction(newText);
    m_commands.value(QStringLiteral("Load"))->setIcon(look->standardIcon(QStyle::SP_DialogOpenButton));
    m_commands.value(QStringLiteral("SaveAs"))->setIcon(look->standardIcon(QStyle::SP_DialogSaveButton));
    for (const char *name : {"Load", "SaveAs", "Print", "Find", "Cut", "Copy", "Undo", "Paste", "Redo"})
        m_toolBar->addAction(m_commands.value(QLatin1String(name)));
    const auto glyph = [this](const char *name, const QString &fallback) {
        QAction *action = m_commands.value(QLatin1String(name));
        action->setIcon(QIcon::fromTheme(
            QLatin1String(name) == QLatin1String("Print") ? QStringLiteral("document-print") : fallback));
        if (action->icon().isNull())
            action->setIconText(action->text().remove(QLatin1Char('&')));
    };
    glyph("Print", QString());
    glyph("Find", QStringLiteral("edit-find"));
    glyph("Cut", QStringLiteral("edit-cut"));
    glyph("Copy", QStringLiteral("edit-copy"));
    glyph("Undo", QStringLiteral("edit-undo"));
    glyph("Paste", QStringLiteral("edit-paste"));
    glyph("Redo", QStringLiteral("edit-redo"));
    m_toolBar->setToolButtonStyle(Qt::ToolButtonFollowStyle);
}

void TqkRichEditForm::buildFormatBar()
{
    const TqkDBRichEditIntl &h = *qkIntl().RichEdit;
    m_fontName->Sorted = true;
    m_fontName->DropDownCount = 20;
    m_fontName->setMinimumWidth(160);
    m_fontName->setToolTip(shortHint(h.FontNameComboHint));
    m_fontName->OnCloseUp = [this](QObject *, bool accept) { fontNameChosen(accept); };
    m_fontSize->SetItems(
        {"8", "9", "10", "11", "12", "14", "16", "18", "20", "22", "24", "26", "28", "36", "48", "72"});
    m_fontSize->setMaximumWidth(60);
    m_fontSize->setToolTip(shortHint(h.FontSizeComboHint));
    m_fontSize->OnCloseUp = [this](QObject *, bool accept) { fontSizeChosen(accept); };
    // A name or size typed and confirmed with Enter counts like one chosen
    // from the list.
    m_fontName->installEventFilter(this);
    m_fontSize->installEventFilter(this);
    m_formatBar->addWidget(m_fontName);
    m_formatBar->addWidget(m_fontSize);
    m_formatBar->addSeparator();
    const auto styleButton = [this](const QString &name, const QString &hint, auto apply, QKeySequence keys) {
        QAction *action = command(name, shortHint(hint), hint, keys);
        action->setCheckable(true);
        action->setIcon(letterIcon(shortHint(hint), font(), name == QLatin1String("Bold"),
                                   name == QLatin1String("Italic"), name == QLatin1String("Underline")));
        connect(action, &QAction::triggered, this, [this, apply](bool on) {
            QTextCharFormat format;
            apply(format, on);
            m_richEdit->BeginEdit();
            m_richEdit->mergeCurrentCharFormat(format);
            m_richEdit->setFocus();
        });
        m_formatBar->addAction(action);
    };
    styleButton(
        QStringLiteral("Bold"), h.BoldButtonHint,
        [](QTextCharFormat &f, bool on) { f.setFontWeight(on ? QFont::Bold : QFont::Normal); },
        QKeySequence(Qt::CTRL | Qt::Key_B));
    styleButton(
        QStringLiteral("Underline"), h.UnderlineButtonHint, [](QTextCharFormat &f, bool on) { f.setFontUnderline(on); },
        QKeySequence(Qt::CTRL | Qt::Key_U));
    styleButton(
        QStringLiteral("Italic"), h.ItalicButtonHint, [](QTextCharFormat &f, bool on) { f.setFontItalic(on); },
        QKeySequence(Qt::CTRL | Qt::Key_I));
    m_formatBar->addSeparator();
    auto *alignments = new QActionGroup(this);
    const auto alignButton = [this, alignments](const QString &name, const QString &hint, Qt::Alignment alignment) {
        QAction *action = command(name, shortHint(hint), hint);
        action->setIcon(linesIcon(alignment, false));
        action->setCheckable(true);
        action->setActionGroup(alignments);
        connect(action, &QAction::triggered, this, [this, alignment] { setAlignment(alignment); });
        m_formatBar->addAction(action);
    };
    alignButton(QStringLiteral("Left"), h.LeftButtonHint, Qt::AlignLeft);
    alignButton(QStringLiteral("Center"), h.CenterButtonHint, Qt::AlignHCenter);
    alignButton(QStringLiteral("Right"), h.RightButtonHint, Qt::AlignRight);
    m_formatBar->addSeparator();
    QAction *bullet = command(QStringLiteral("Bullet"), shortHint(h.BulletButtonHint), h.BulletButtonHint);
    bullet->setIcon(linesIcon(Qt::AlignLeft, true));
    bullet->setCheckable(true);
    connect(bullet, &QAction::triggered, this, [this](bool on) {
        m_richEdit->SetBullet(on);
        UpdateState();
    });
    m_formatBar->addAction(bullet);
    buildColorMenu();
}

void TqkRichEditForm::buildColorMenu()
{
    m_colorMenu = new QMenu(this);
    m_colorMenu->setObjectName(QStringLiteral("ColorMenu"));
    QList<TqkNamedColor> colors = qkRichColors();
    colors.append(
        {qkIntl().RichEdit->MenuLabels->AutomaticCaption, qkColorValue(m_richEdit->palette().color(QPalette::Text))});
    for (const auto &[name, value] : colors) {
        auto *item = new QWidgetAction(m_colorMenu);
        item->setText(name);
        item->setData(value);
        item->setDefaultWidget(new ColorItem(qkStoredColor(value), *item));
        m_colorMenu->addAction(item);
        connect(item, &QAction::triggered, this, [this, value = value] {
            QTextCharFormat format;
            format.setForeground(qkStoredColor(value));
            m_richEdit->BeginEdit();
            m_richEdit->mergeCurrentCharFormat(format);
            m_colorButton->setIcon(qkColorSwatch(qkStoredColor(value), QSize(40, 12)));
        });
    }
    m_colorButton = new QToolButton;
    m_colorButton->setObjectName(QStringLiteral("ColorButton"));
    m_colorButton->setIcon(qkColorSwatch(Qt::red, QSize(40, 12)));
    m_colorButton->setMenu(m_colorMenu);
    m_colorButton->setPopupMode(QToolButton::InstantPopup);
    m_formatBar->addWidget(m_colorButton);
}

void TqkRichEditForm::fillFonts()
{
    QStringList families = QFontDatabase::families();
    m_fontName->SetItems(families);
}

void TqkRichEditForm::applyOptions()
{
    const bool readOnly = m_richEdit->isReadOnly();
    // A read-only text keeps Print, Page Setup, Hints, Insert Object, Close on
    // Escape and Flat Buttons.
    const TqkRichEditOptions readingOptions =
        reoShowPrint | reoShowPageSetup | reoShowHints | reoShowInsertObject | reoCloseOnEscape | reoFlatButtons;
    const TqkRichEditOptions options = readOnly ? m_source.EditorOptions & readingOptions : m_source.EditorOptions;
    const auto show = [this](const QString &name, bool on) {
        if (QAction *action = m_commands.value(name))
            action->setVisible(on);
    };
    const auto has = [options](TqkRichEditOption option) { return options.testFlag(option); };
    show(QStringLiteral("Load"), has(reoShowLoad));
    show(QStringLiteral("SaveAs"), has(reoShowSaveAs));
    show(QStringLiteral("Print"), has(reoShowPrint));
    show(QStringLiteral("PageSetup"), has(reoShowPageSetup));
    show(QStringLiteral("SaveExit"), has(reoShowSaveExit));
    show(QStringLiteral("FileSeparator1"), has(reoShowLoad) || has(reoShowSaveExit));
    show(QStringLiteral("FileSeparator2"), has(reoShowPrint) || has(reoShowPageSetup));
    const bool insertObject = has(reoShowInsertObject) && !m_source.OleOptions.testFlag(reoDisableOLE) && !readOnly;
    show(QStringLiteral("InsertMenu"), insertObject);
    show(QStringLiteral("ViewMenu"), !readOnly);
    show(QStringLiteral("FormatMenu"), !readOnly);
    show(QStringLiteral("New"), !readOnly);
    const auto bar = [this, &show](const QString &name, QWidget *widget, bool on) {
        widget->setVisible(on);
        m_commands.value(name)->setChecked(on);
        show(name, !m_richEdit->isReadOnly());
    };
    bar(QStringLiteral("ViewStatusBar"), m_statusBar, has(reoShowStatusBar) && !readOnly);
    bar(QStringLiteral("ViewFormatBar"), m_formatBar, has(reoShowFormatBar) && !readOnly);
    bar(QStringLiteral("ViewToolbar"), m_toolBar, has(reoShowToolBar) && !readOnly);
    bar(QStringLiteral("ViewRuler"), m_ruler, has(reoShowRuler) && !readOnly);
    // Without flat buttons the bars' buttons stand raised and their
    // separators go.
    const bool flat = m_source.EditorOptions.testFlag(reoFlatButtons);
    for (QToolBar *toolBar : {m_toolBar, m_formatBar}) {
        for (QAction *action : toolBar->actions()) {
            if (action->isSeparator())
                action->setVisible(flat);
        }
        for (QToolButton *button : toolBar->findChildren<QToolButton *>())
            button->setAutoRaise(flat);
    }
}

void TqkRichEditForm::UpdateState()
{
    const QTextCharFormat format = m_richEdit->currentCharFormat();
    const bool editable = !m_richEdit->isReadOnly();
    const bool selection = m_richEdit->textCursor().hasSelection();
    const bool hasText = !m_richEdit->document()->isEmpty();
    const auto set = [this](const QString &name, auto apply) {
        if (QAction *action = m_commands.value(name))
            apply(*action);
    };
    set(QStringLiteral("Bold"), [&](QAction &a) { a.setChecked(format.fontWeight() >= QFont::Bold); });
    set(QStringLiteral("Italic"), [&](QAction &a) { a.setChecked(format.fontItalic()); });
    set(QStringLiteral("Underline"), [&](QAction &a) { a.setChecked(format.fontUnderline()); });
    const bool bullet = m_richEdit->textCursor().blockFormat().boolProperty(rtf::BulletProperty)
                        || m_richEdit->textCursor().currentList();
    set(QStringLiteral("Bullet"), [&](QAction &a) { a.setChecked(bullet); });
    set(QStringLiteral("BulletStyle"), [&](QAction &a) { a.setChecked(bullet); });
    const Qt::Alignment alignment = m_richEdit->alignment() & Qt::AlignHorizontal_Mask;
    set(alignment == Qt::AlignRight     ? QStringLiteral("Right")
        : alignment == Qt::AlignHCenter ? QStringLiteral("Center")
                                        : QStringLiteral("Left"),
        [](QAction &a) { a.setChecked(true); });
    const QString family = format.fontFamilies().toStringList().value(0, m_richEdit->font().family());
    if (!m_fontName->hasFocus()) {
        m_fontName->setText(family);
        QPalette palette = m_fontName->palette();
        palette.setColor(QPalette::Text, m_fontName->Items().contains(family) ? Qt::black : Qt::red);
        m_fontName->setPalette(palette);
    }
    if (!m_fontSize->hasFocus()) {
        const double size = format.fontPointSize() > 0 ? format.fontPointSize() : m_richEdit->font().pointSizeF();
        m_fontSize->setText(QString::number(size));
    }
    set(QStringLiteral("Paste"), [&](QAction &a) { a.setEnabled(editable && m_richEdit->CanPaste()); });
    set(QStringLiteral("Undo"), [&](QAction &a) { a.setEnabled(m_richEdit->document()->isUndoAvailable()); });
    set(QStringLiteral("Redo"), [&](QAction &a) { a.setEnabled(m_richEdit->document()->isRedoAvailable()); });
    set(QStringLiteral("Cut"), [&](QAction &a) { a.setEnabled(selection && editable); });
    set(QStringLiteral("Clear"), [&](QAction &a) { a.setEnabled(selection && editable); });
    set(QStringLiteral("Copy"), [&](QAction &a) { a.setEnabled(selection); });
    for (const char *name : {"SelectAll", "Find"})
        set(QLatin1String(name), [&](QAction &a) { a.setEnabled(hasText); });
    set(QStringLiteral("FindNext"), [&](QAction &a) { a.setEnabled(m_richEdit->HasFindText()); });
    set(QStringLiteral("Replace"), [&](QAction &a) { a.setEnabled(hasText && editable); });
    m_ruler->PlaceMarkers();
}

void TqkRichEditForm::setAlignment(Qt::Alignment alignment)
{
    m_richEdit->BeginEdit();
    m_richEdit->setAlignment(alignment);
    UpdateState();
}

void TqkRichEditForm::fontNameChosen(bool accept)
{
    const QString name = m_fontName->text();
    if (accept && !name.isEmpty() && name != m_richEdit->currentCharFormat().fontFamilies().toStringList().value(0)) {
        QTextCharFormat format;
        format.setFontFamilies({name});
        m_richEdit->BeginEdit();
        m_richEdit->mergeCurrentCharFormat(format);
    }
    m_richEdit->setFocus();
}

void TqkRichEditForm::fontSizeChosen(bool accept)
{
    bool ok = false;
    const double size = m_fontSize->text().toDouble(&ok);
    if (accept && ok && size > 0 && size <= 1638) {
        QTextCharFormat format;
        format.setFontPointSize(size);
        m_richEdit->BeginEdit();
        m_richEdit->mergeCurrentCharFormat(format);
    }
    m_richEdit->setFocus();
}

void TqkRichEditForm::loadFile()
{
    const QString name = QFileDialog::getOpenFileName(this, QString(), QString(), fileFilter());
    if (name.isEmpty())
        return;
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly)) {
        showFileError(QStringLiteral("Die Datei %1 kann nicht gelesen werden.").arg(name));
        return;
    }
    m_richEdit->Lines().LoadFromStream(file);
    m_richEdit->setFocus();
    UpdateState();
}

void TqkRichEditForm::saveFileAs()
{
    QFileDialog dialog(this);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(fileFilter());
    dialog.setDefaultSuffix(QStringLiteral("rtf"));
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString name = dialog.selectedFiles().constFirst();
    if (QFileInfo::exists(name)
        && ask(QString(qkIntl().UserMessages->RichEditOverwriteWarning).replace(QStringLiteral("%s"), name),
               ui::MsgButtons::YesNoCancel)
               != ui::IDYES)
        return;
    QSaveFile file(name);
    if (file.open(QIODevice::WriteOnly)) {
        m_richEdit->Lines().SaveToStream(file);
        if (file.commit())
            return;
    }
    showFileError(QStringLiteral("Die Datei %1 kann nicht geschrieben werden.").arg(name));
}

// The print dialog opens on the program's current printer (the built-in
// PDF printer as its file); the copies chosen there print in one job.
void TqkRichEditForm::printText()
{
    QPrinter printer(QPrinter::HighResolution);
    m_richEdit->PrepareForPrinting(printer, m_source.PrintJobName);
    QPrintDialog dialog(&printer, this);
    dialog.setObjectName(QStringLiteral("PrintDialog"));
    if (dialog.exec() != QDialog::Accepted)
        return;
    const int copies = std::max(1, printer.copyCount());
    printer.setCopyCount(1);
    if (!m_richEdit->PrintTo(printer, m_source.PrintJobName, copies))
        ui::services().messageBox(QStringLiteral("Der Text konnte nicht gedruckt werden."), ui::applicationTitle(),
                                  ui::MsgIcon::Warning, ui::MsgButtons::Ok);
}

// The right indent keeps its value: taking it back from the marker would
// cut it to the scale's ticks at every set-up.
void TqkRichEditForm::pageSetup()
{
    if (!TqkPageSetupDialog(*m_richEdit, this).Execute())
        return;
    if (m_richEdit->EditWidth() == rewPrinterSize) {
        m_ruler->SizeToPage();
        m_ruler->PlaceMarkers();
    } else {
        m_richEdit->updateEditingRectangle();
    }
}

void TqkRichEditForm::newText()
{
    if (ask(qkIntl().UserMessages->RichEditClearWarning, ui::MsgButtons::OkCancel) != ui::IDOK)
        return;
    m_richEdit->clear();
    m_richEdit->document()->setModified(true);
    UpdateState();
}

void TqkRichEditForm::showKeyStates()
{
    const TqkDBRichEditIntl &h = *qkIntl().RichEdit;
    const keyLocks::State locks = keyLocks::current();
    m_capsPanel->setText(locks.capsLock ? h.CAPLockCaption : QString());
    m_numPanel->setText(locks.numLock ? h.NUMLockCaption : QString());
}

// The status bar's first panel shows the long hint of what is under the
// mouse, as the window's own hint handler did.
bool TqkRichEditForm::event(QEvent *event)
{
    if (event->type() == QEvent::StatusTip) {
        m_hintPanel->setText(static_cast<QStatusTipEvent *>(event)->tip());
        return true;
    }
    return QDialog::event(event);
}

bool TqkRichEditForm::eventFilter(QObject *watched, QEvent *event)
{
    auto *combo = qobject_cast<TqkDBComboBox *>(watched);
    if ((combo == m_fontName || combo == m_fontSize) && event->type() == QEvent::KeyPress && !combo->IsDroppedDown()) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (combo == m_fontName)
                fontNameChosen(true);
            else
                fontSizeChosen(true);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TqkRichEditForm::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        if (m_richEdit->isReadOnly() || m_source.EditorOptions.testFlag(reoCloseOnEscape))
            reject();
        else
            m_richEdit->undo();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TqkRichEditForm::keyReleaseEvent(QKeyEvent *event)
{
    showKeyStates();
    QDialog::keyReleaseEvent(event);
}

// Closing other than with OK asks before changes are thrown away.
bool TqkRichEditForm::closeQuestion()
{
    if (!m_richEdit->document()->isModified())
        return true;
    const int answer = ask(qkIntl().UserMessages->RichEditExitWarning, ui::MsgButtons::YesNoCancel);
    if (answer == ui::IDYES) {
        m_closing = true;
        QDialog::done(Accepted);
        return false;
    }
    return answer == ui::IDNO;
}

void TqkRichEditForm::done(int result)
{
    if (m_closing || (result != Accepted && !closeQuestion()))
        return;
    QDialog::done(result);
}

bool qkRunRichEditForm(TqkCustomRichEdit &source)
{
    TqkRichEditForm form(source, source.window());
    source.DoInitDialog(&form);
    const bool accepted = form.exec() == QDialog::Accepted;
    TqkCustomRichEdit &inner = *form.RichEdit1();
    if (accepted && inner.document()->isModified()) {
        source.BeginEdit();
        // A blob field takes the text straight from the window: a bound control
        // that never loaded its memo (a grid's hidden one) would write nothing.
        // Another field takes nothing: its text is not the window's rich text.
        // Marked modified, it would write its display text back on posting.
        TField *field = source.GetField();
        if (!field || field->IsBlob()) {
            inner.CopyTo(source);
            if (field)
                inner.SaveToField(*field);
            source.document()->setModified(true);
        }
        source.DoCloseDialog(&form);
    } else if (!accepted) {
        source.DoCloseDialog(&form);
    }
    if (accepted) {
        source.PrintMargins()->Assign(*inner.PrintMargins());
        source.SetPaperSize(inner.PaperSize());
        source.SetLandscape(inner.Landscape());
    }
    inner.clear();
    return accepted;
}
