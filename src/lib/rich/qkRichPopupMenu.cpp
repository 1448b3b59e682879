#include "lib/rich/qkRichPopupMenu.h"

#include "lib/data/Qkintl.h"
#include "lib/rich/qkriched.h"

#include <QMenu>
#include <QTextList>
#include <QtAlgorithms>

#include <array>

namespace qkRichPopup {

namespace {

constexpr int optionCount = 14;
constexpr std::array<const char *, optionCount> optionNames = {
    "rpoPopupEdit",   "rpoPopupCut",       "rpoPopupCopy",    "rpoPopupPaste",       "rpoPopupBold",
    "rpoPopupItalic", "rpoPopupUnderline", "rpoPopupFont",    "rpoPopupBullet",      "rpoPopupParagraph",
    "rpoPopupTabs",   "rpoPopupFind",      "rpoPopupReplace", "rpoPopupInsertObject"};
// The separator that follows each of these options.
constexpr std::array<TqkRichEditPopupOption, 5> separatorAfter = {rpoPopupEdit, rpoPopupPaste, rpoPopupUnderline,
                                                                  rpoPopupTabs, rpoPopupReplace};

// The members in their order, which is the order of their bits.
TqkRichEditPopupOption optionAt(int index)
{
    return TqkRichEditPopupOption(1 << index);
}

// The members from first to last, both included.
TqkRichEditPopupOptions range(TqkRichEditPopupOption first, TqkRichEditPopupOption last)
{
    return TqkRichEditPopupOptions::fromInt((int(last) << 1) - int(first));
}

QAction *item(QMenu &menu, TqkRichEditPopupOption option)
{
    return menu.findChild<QAction *>(QLatin1String(optionNames[size_t(qCountTrailingZeroBits(uint(option)))]));
}

QAction *separator(QMenu &menu, int index)
{
    return menu.findChild<QAction *>(QStringLiteral("separator%1").arg(index));
}

void run(TqkCustomRichEdit &control, TqkRichEditPopupOption option, bool checked)
{
    switch (option) {
    case rpoPopupEdit:
        control.Execute();
        break;
    case rpoPopupCut:
        control.CutToClipboard();
        break;
    case rpoPopupCopy:
        control.copy();
        break;
    case rpoPopupPaste:
        control.BeginEdit();
        control.paste();
        break;
    case rpoPopupBold:
        control.ToggleBold();
        break;
    case rpoPopupItalic:
        control.ToggleItalic();
        break;
    case rpoPopupUnderline:
        control.ToggleUnderline();
        break;
    case rpoPopupFont:
        control.FontDialog();
        break;
    case rpoPopupBullet:
        control.SetBullet(checked);
        break;
    case rpoPopupParagraph:
        control.ParagraphDialog();
        break;
    case rpoPopupTabs:
        control.TabDialog();
        break;
    case rpoPopupFind:
        control.Find();
        break;
    case rpoPopupReplace:
        control.Replace();
        break;
    case rpoPopupInsertObject:
        control.InsertObject();
        break;
    }
}

} // namespace

void build(QMenu &menu, TqkCustomRichEdit &control)
{
    size_t nextSeparator = 0;
    for (int index = 0; index < optionCount; ++index) {
        const TqkRichEditPopupOption option = optionAt(index);
        QAction *action = menu.addAction(QString());
        action->setObjectName(QLatin1String(optionNames[size_t(index)]));
        const bool checkable = option == rpoPopupBold || option == rpoPopupItalic || option == rpoPopupUnderline
                               || option == rpoPopupBullet;
        action->setCheckable(checkable);
        QObject::connect(action, &QAction::triggered, &control,
                         [&control, option](bool checked) { run(control, option, checked); });
        if (nextSeparator < separatorAfter.size() && separatorAfter[nextSeparator] == option) {
            menu.addSeparator()->setObjectName(QStringLiteral("separator%1").arg(nextSeparator));
            ++nextSeparator;
        }
    }
}

void update(QMenu &menu, TqkCustomRichEdit &control)
{
    const TqkRichEditPopupMenuLabels &labels = *qkIntl().RichEdit->PopupMenuLabels;
    const bool readOnly = control.GetReadOnly();
    TqkRichEditPopupOptions options = control.PopupOptions();
    if (readOnly)
        options &= TqkCustomRichEdit::readOnlyPopupMask;
    const bool objectsAllowed = !control.OleOptions.testFlag(reoDisableOLE);
    const bool insertObject = options.testFlag(rpoPopupInsertObject) && objectsAllowed;
    const QStringList captions = {readOnly ? labels.ViewCaption : labels.EditCaption,
                                  labels.CutCaption,
                                  labels.CopyCaption,
                                  labels.PasteCaption,
                                  labels.BoldCaption,
                                  labels.ItalicCaption,
                                  labels.UnderlineCaption,
                                  labels.FontCaption,
                                  labels.BulletStyleCaption,
                                  labels.ParagraphCaption,
                                  labels.TabsCaption,
                                  labels.FindCaption,
                                  labels.ReplaceCaption,
                                  labels.InsertObjectCaption};
    for (int index = 0; index < optionCount; ++index) {
        const TqkRichEditPopupOption option = optionAt(index);
        QAction *action = item(menu, option);
        action->setText(captions[index]);
        action->setVisible(option == rpoPopupInsertObject ? insertObject : options.testFlag(option));
    }
    const auto any = [options](TqkRichEditPopupOptions members) { return options.testAnyFlags(members); };
    const bool findOrReplace = any(rpoPopupFind | rpoPopupReplace);
    separator(menu, 0)->setVisible(any(rpoPopupEdit) && any(range(rpoPopupCut, rpoPopupInsertObject)));
    separator(menu, 1)->setVisible(any(range(rpoPopupCut, rpoPopupPaste))
                                   && any(range(rpoPopupBold, rpoPopupInsertObject)));
    separator(menu, 2)->setVisible(any(range(rpoPopupBold, rpoPopupUnderline))
                                   && any(range(rpoPopupFont, rpoPopupInsertObject)));
    separator(menu, 3)->setVisible(any(range(rpoPopupFont, rpoPopupTabs)) && (findOrReplace || insertObject));
    separator(menu, 4)->setVisible(findOrReplace && insertObject);

    item(menu, rpoPopupCut)->setEnabled(control.HasSelection() && !readOnly);
    item(menu, rpoPopupCopy)->setEnabled(control.HasSelection());
    item(menu, rpoPopupPaste)->setEnabled(control.CanPaste() && !readOnly);
    const QTextCharFormat format = control.currentCharFormat();
    item(menu, rpoPopupBold)->setChecked(format.fontWeight() > QFont::Medium);
    item(menu, rpoPopupItalic)->setChecked(format.fontItalic());
    item(menu, rpoPopupUnderline)->setChecked(format.fontUnderline());
    item(menu, rpoPopupBullet)->setChecked(control.textCursor().currentList() != nullptr);
}

} // namespace qkRichPopup
