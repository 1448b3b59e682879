#pragma once

#include <QDialog>
#include <QHash>
#include <QList>
#include <QPointer>

class QAbstractButton;
class QAction;
class QLabel;
class QMenu;
class QMenuBar;
class QStatusBar;
class QToolBar;
class QToolButton;
class TqkCustomRichEdit;
class TqkDBComboBox;
class TqkFormPosition;
class TqkRulerPanel;

// The editor window a rich text control opens over its text: menus, tool bar,
// format bar, ruler, an inner control and a status bar.
class TqkRichEditForm : public QDialog
{
    Q_OBJECT

public:
    explicit TqkRichEditForm(TqkCustomRichEdit &source, QWidget *parent = nullptr);
    ~TqkRichEditForm() override;

    TqkCustomRichEdit *RichEdit1() const { return m_richEdit; }
    TqkRulerPanel *Ruler() const { return m_ruler; }
    TqkDBComboBox *FontNameCombo() const { return m_fontName; }
    TqkDBComboBox *FontSizeCombo() const { return m_fontSize; }
    QMenu *ColorMenu() const { return m_colorMenu; }
    QToolButton *ColorButton() const { return m_colorButton; }
    QToolBar *ToolBar() const { return m_toolBar; }
    QToolBar *FormatBar() const { return m_formatBar; }
    QStatusBar *StatusBar() const { return m_statusBar; }
    // The window's commands by their menu or button name ("Bold", "Undo", ...).
    QAction *Command(const QString &name) const { return m_commands.value(name); }

    void UpdateState();
    void done(int result) override;

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;

private:
    QAction *command(const QString &name, const QString &caption, const QString &hint, const QKeySequence &keys = {});
    void buildMenus();
    void buildToolBar();
    void buildFormatBar();
    void buildColorMenu();
    void applyOptions();
    void placeWindow(const TqkFormPosition &position);
    void takeUserButtons();
    void returnUserButtons();
    void fillFonts();
    void loadFile();
    void saveFileAs();
    void printText();
    void pageSetup();
    void newText();
    void setAlignment(Qt::Alignment alignment);
    void fontNameChosen(bool accept);
    void fontSizeChosen(bool accept);
    void showKeyStates();
    bool closeQuestion();

    TqkCustomRichEdit &m_source;
    TqkCustomRichEdit *m_richEdit;
    TqkRulerPanel *m_ruler;
    QMenuBar *m_menuBar;
    QToolBar *m_toolBar;
    QToolBar *m_formatBar;
    QStatusBar *m_statusBar;
    QLabel *m_hintPanel;
    QLabel *m_capsPanel;
    QLabel *m_numPanel;
    TqkDBComboBox *m_fontName;
    TqkDBComboBox *m_fontSize;
    QMenu *m_colorMenu = nullptr;
    QToolButton *m_colorButton = nullptr;
    QHash<QString, QAction *> m_commands;
    struct UserButton
    {
        QPointer<QAbstractButton> button;
        QPointer<QWidget> parent;
    };
    QList<UserButton> m_userButtons;
    bool m_closing = false;
};

// Opens the window over the control's text; true when it was closed with OK.
bool qkRunRichEditForm(TqkCustomRichEdit &source);
