#pragma once

#include <QDialog>
#include <QFont>
#include <QPointer>

#include <functional>

class QPlainTextEdit;
class QPushButton;
class QWidget;
class TDataSource;
class TFieldDataLink;
class TqkMemoDlg;

using TqkOnInitMemoDlgEvent = std::function<void(TqkMemoDlg *dialog)>;
using TqkMemoUserButtonEvent = std::function<void(TqkMemoDlg *dialog, QPlainTextEdit *memo)>;

// Edits one memo field of a data source in a modal window.
class TqkMemoDialog : public QObject
{
    Q_OBJECT

public:
    explicit TqkMemoDialog(QObject *owner = nullptr);

    TDataSource *DataSource() const;
    void SetDataSource(TDataSource *source);
    QString DataField() const;
    void SetDataField(const QString &fieldName);
    QFont Font() const { return m_font; }
    void SetFont(const QFont &font) { m_font = font; }
    int MemoAttributes() const { return m_memoAttributes; }
    void SetMemoAttributes(int attributes) { m_memoAttributes = attributes; }
    QString Caption() const { return m_caption; }
    void SetCaption(const QString &caption) { m_caption = caption; }
    int DlgLeft() const { return m_dlgLeft; }
    void SetDlgLeft(int left) { m_dlgLeft = left; }
    int DlgTop() const { return m_dlgTop; }
    void SetDlgTop(int top) { m_dlgTop = top; }
    int DlgWidth() const { return m_dlgWidth; }
    void SetDlgWidth(int width) { m_dlgWidth = width; }
    int DlgHeight() const { return m_dlgHeight; }
    void SetDlgHeight(int height) { m_dlgHeight = height; }
    QString UserButton1Caption;
    QString UserButton2Caption;
    TqkOnInitMemoDlgEvent OnInitDialog;
    TqkOnInitMemoDlgEvent OnCloseDialog;
    TqkMemoUserButtonEvent OnUserButton1Click;
    TqkMemoUserButtonEvent OnUserButton2Click;

    // True when the user closed the window with OK.
    bool Execute();

private:
    TFieldDataLink *m_link;
    QFont m_font;
    int m_memoAttributes;
    QString m_caption;
    int m_dlgLeft = 0;
    int m_dlgTop = 0;
    int m_dlgWidth = 561;
    int m_dlgHeight = 396;
};

// The memo window: the text, optional user buttons and OK / Cancel, laid out
// so that German captions are never cut.
class TqkMemoDlg : public QDialog
{
    Q_OBJECT

public:
    TqkMemoDlg(TqkMemoDialog *owner, bool editable, QWidget *parent = nullptr);

    QPlainTextEdit *Memo() const { return m_memo; }
    QPushButton *OkButton() const { return m_ok; }
    QPushButton *CancelButton() const { return m_cancel; }
    QPushButton *UserButton1() const { return m_user1; }
    QPushButton *UserButton2() const { return m_user2; }

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void reject() override;

private:
    QPushButton *addUserButton(QWidget *panel, const QString &caption, const TqkMemoUserButtonEvent &handler);
    bool keepOpenOnCancel();
    void applyRectangle(int left, int top, int width, int height);

    TqkMemoDialog *m_owner;
    QPlainTextEdit *m_memo;
    QPushButton *m_ok;
    QPushButton *m_cancel;
    QPushButton *m_user1 = nullptr;
    QPushButton *m_user2 = nullptr;
    bool m_firstShow = true;
};

bool ExecuteMemoDialog(QWidget *activeForm, TqkMemoDialog *memoDialog, bool editable);
