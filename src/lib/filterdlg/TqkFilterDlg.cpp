#include "lib/filterdlg/TqkFilterDlg.h"

#include "lib/data/QkcommonData.h"
#include "lib/data/Qkintl.h"
#include "lib/data/QkstrDate.h"
#include "lib/data/qkDialog.h"
#include "lib/edit/qkdbedit.h"
#include "lib/filterdlg/TqkFilterDialogView.h"
#include "platform/runtime/Conversions.h"
#include "platform/runtime/DateConversions.h"
#include "platform/ui/Application.h"
#include "platform/ui/UiServices.h"
#include "ui_TqkFilterDlg.h"

#include <QApplication>
#include <QCollator>
#include <QKeyEvent>
#include <QLayout>
#include <QSignalBlocker>

#include <algorithm>

namespace {

const int valueTab = 0;
const int searchedTab = 1;
// The designed window is 267 pixels high around a client area of 240.
const int designedCaptionHeight = 27;

void showNoCriteria()
{
    ui::services().messageBox(qkIntl().UserMessages->FilterDlgNoCriteria, ui::applicationTitle(),
                              ui::MsgIcon::Information, ui::MsgButtons::Ok);
}

void setPickerBound(TqkDBDateTimePicker &picker, const QString &bound)
{
    TDateTime value = 0;
    if (!bound.isEmpty() && TryStrToDateTime(bound, value))
        picker.SetDate(value);
    else
        picker.Clear();
}

// Whether a field without a criterion opens on the range page under the
// smart filter; times count only where the query's text is rewritten.
bool isRangeType(TFieldType type, TqkFilterMethod method)
{
    switch (qkValueKind(type)) {
    case TqkValueKind::Integer:
    case TqkValueKind::Float:
    case TqkValueKind::Date:
    case TqkValueKind::DateTime:
        return true;
    case TqkValueKind::Time:
        return method == fdByQueryModify;
    default:
        return false;
    }
}

// Why a typed value or bound cannot stand for a value of the field type, in
// the words the user reads; empty when it can. A whole number beyond the
// integer range passes the digit test and would only fail while filtering.
QString whyNotTaken(TFieldType type, const QString &text)
{
    const TqkFilterDialogIntl &t = *qkIntl().FilterDialog;
    int whole = 0;
    switch (qkValueKind(type)) {
    case TqkValueKind::Integer:
        if (!qkIsIntegerText(text))
            return t.NotWholeNumberText;
        return TryStrToInt(text, whole) ? QString() : t.OutsideWholeNumbersText;
    case TqkValueKind::Float:
        return qkIsFloatText(text) ? QString() : t.NotNumberText;
    case TqkValueKind::Date:
    case TqkValueKind::DateTime:
        return qkIsValidTextForFieldType(type, text) ? QString() : t.NotDateText;
    case TqkValueKind::Time:
        return qkIsValidTextForFieldType(type, text) ? QString() : t.NotTimeText;
    default:
        return {};
    }
}

void setFontStyle(QWidget &widget)
{
    QFont font = widget.font();
    font.setBold(qkIntl().DialogFontStyle.testFlag(fsBold));
    font.setItalic(qkIntl().DialogFontStyle.testFlag(fsItalic));
    widget.setFont(font);
}

} // namespace

TqkFilterDlg::TqkFilterDlg(TqkFilterDialog &dialog, QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::TqkFilterDlg>()), m_dialog(dialog)
{
    m_ui->setupUi(this);
    for (const auto &info : dialog.FieldInfo()) {
        TqkFieldInfo copy = *info;
        if (copy.DisplayName.isEmpty())
            copy.DisplayName = copy.FieldName;
        copy.FieldName = dialog.CriterionFieldName(copy);
        m_criteria.push_back(copy);
    }
    dialog.RefreshSearchableFields();
    collectEntries();
    m_okButton = qkCreateDialogButton(this, bkOK);
    m_cancelButton = qkCreateDialogButton(this, bkCancel);
    m_ui->DialogButtonColumn->insertWidget(0, m_okButton);
    m_ui->DialogButtonColumn->insertWidget(1, m_cancelButton);
    m_okButton->setDefault(true);
    // A click on Cancel leaves the focus where it is, so that a value the
    // control in it would refuse on leaving does not keep the form open.
    m_cancelButton->setFocusPolicy(Qt::TabFocus);
    m_ui->FieldTabSet->addTab(QString());
    m_ui->FieldTabSet->addTab(QString());
    m_ui->ValueRangeTabSet->addTab(QString());
    m_ui->ValueRangeTabSet->addTab(QString());
    m_ui->FilterValueCombo->SetStyle(csDropDown);
    m_ui->MinDateEdit->Clear();
    m_ui->MaxDateEdit->Clear();
    for (QWidget *control :
         {static_cast<QWidget *>(m_ui->FilterValueEdit), static_cast<QWidget *>(m_ui->FilterValueCombo),
          static_cast<QWidget *>(m_ui->MinValueEdit), static_cast<QWidget *>(m_ui->MaxValueEdit),
          static_cast<QWidget *>(m_ui->MinDateEdit), static_cast<QWidget *>(m_ui->MaxDateEdit)})
        control->installEventFilter(this);
    // Arrows would otherwise move between radio buttons instead of through the fields.
    for (QAbstractButton *button : findChildren<QAbstractButton *>())
        button->installEventFilter(this);

    connect(m_ui->FieldsListBox, &QListWidget::currentRowChanged, this, &TqkFilterDlg::fieldRowChanged);
    connect(m_ui->FieldTabSet, &QTabBar::currentChanged, this, &TqkFilterDlg::fieldTabChanged);
    connect(m_ui->ValueRangeTabSet, &QTabBar::currentChanged, this, &TqkFilterDlg::valueRangeTabChanged);
    for (QRadioButton *button : {m_ui->MatchExact, m_ui->MatchStart, m_ui->MatchAny})
        connect(button, &QRadioButton::clicked, this, &TqkFilterDlg::matchTypeClicked);
    for (QRadioButton *button : {m_ui->FieldOrderAlphabetic, m_ui->FieldOrderLogical})
        connect(button, &QRadioButton::toggled, this, [this](bool on) {
            if (on && m_activated)
                fillFieldList(m_shownLabel);
        });
    connect(m_ui->ClearSearchButton, &QPushButton::clicked, this, &TqkFilterDlg::ClearSearch);
    connect(m_ui->ViewButton, &QPushButton::clicked, this, &TqkFilterDlg::ShowSummary);
    const auto clearer = [this](QLineEdit *edit) {
        return [this, edit] {
            edit->clear();
            updateClearButtons();
        };
    };
    connect(m_ui->FilterValueClearButton, &QPushButton::clicked, this, [this] {
        valueControl()->clear();
        updateClearButtons();
    });
    connect(m_ui->MinValueClearButton, &QPushButton::clicked, this, [this, clearer] {
        m_ui->MinDateEdit->Clear();
        clearer(m_ui->MinValueEdit)();
    });
    connect(m_ui->MaxValueClearButton, &QPushButton::clicked, this, [this, clearer] {
        m_ui->MaxDateEdit->Clear();
        clearer(m_ui->MaxValueEdit)();
    });
    for (QLineEdit *edit : {static_cast<QLineEdit *>(m_ui->FilterValueEdit),
                            static_cast<QLineEdit *>(m_ui->FilterValueCombo), m_ui->MinValueEdit, m_ui->MaxValueEdit,
                            static_cast<QLineEdit *>(m_ui->MinDateEdit), static_cast<QLineEdit *>(m_ui->MaxDateEdit)})
        connect(edit, &QLineEdit::textChanged, this, &TqkFilterDlg::updateClearButtons);
    setWindowTitle(dialog.Caption().isEmpty() ? QStringLiteral("Super Search") : dialog.Caption());
}

TqkFilterDlg::~TqkFilterDlg() = default;

void TqkFilterDlg::showEvent(QShowEvent *event)
{
    if (!m_activated) {
        setFontStyle(*this);
        setCaptions();
        applyOptions();
        {
            const QSignalBlocker blocker(m_ui->FieldOrderLogical);
            m_ui->FieldOrderLogical->setChecked(m_dialog.property("SortBy").toInt() != fdSortByFieldName);
            m_ui->FieldOrderAlphabetic->setChecked(!m_ui->FieldOrderLogical->isChecked());
        }
        selectInitialField();
        m_dialog.DoInitDialog(this);
        m_activated = true;
    }
    QDialog::showEvent(event);
}

void TqkFilterDlg::setCaptions()
{
    const TqkFilterDialogIntl &t = *qkIntl().FilterDialog;
    m_ui->FieldsLbl->setText(t.FieldsLabel);
    m_ui->FieldOrder->setTitle(t.FieldOrderLabel);
    m_ui->FieldOrder->setToolTip(t.FieldOrderHint);
    m_ui->FieldOrderAlphabetic->setText(t.AlphabeticLabel);
    m_ui->FieldOrderLogical->setText(t.LogicalLabel);
    m_ui->FieldTabSet->setTabText(0, t.AllFieldsLabel);
    m_ui->FieldTabSet->setTabText(1, t.SearchedFieldsLabel);
    m_ui->FieldTabSet->setToolTip(t.AllSearchedTabHint);
    m_ui->ValueRangeTabSet->setTabText(0, t.ByValueLabel);
    m_ui->ValueRangeTabSet->setTabText(1, t.ByRangeLabel);
    m_ui->ValueRangeTabSet->setToolTip(t.ValueRangeTabHint);
    m_ui->FieldValueLbl->setText(t.FieldValueLabel);
    m_ui->FilterValueEdit->setToolTip(t.FieldValueHint);
    m_ui->FilterValueCombo->setToolTip(t.FieldValueHint);
    m_ui->MatchTypeGroup->setTitle(t.SearchTypeLabel);
    m_ui->MatchTypeGroup->setToolTip(t.SearchTypeHint);
    m_ui->MatchExact->setText(t.MatchExactLabel);
    m_ui->MatchStart->setText(t.MatchStartLabel);
    m_ui->MatchAny->setText(t.MatchAnyLabel);
    m_ui->CaseSensitive->setText(t.CaseSensitiveLabel);
    m_ui->CaseSensitive->setToolTip(t.CaseSensitiveHint);
    m_ui->Nonmatching->setText(t.NonMatchingLabel);
    m_ui->Nonmatching->setToolTip(t.NonMatchingHint);
    m_ui->FilterValueClearButton->setText(t.BtnClearFilterValue);
    m_ui->FilterValueClearButton->setToolTip(t.BtnClearFilterValueHint);
    m_ui->StartingRangeLbl->setText(t.StartingRangeLabel);
    m_ui->EndingRangeLbl->setText(t.EndingRangeLabel);
    for (QWidget *control : {static_cast<QWidget *>(m_ui->MinValueEdit), static_cast<QWidget *>(m_ui->MinDateEdit)})
        control->setToolTip(t.StartingRangeHint);
    for (QWidget *control : {static_cast<QWidget *>(m_ui->MaxValueEdit), static_cast<QWidget *>(m_ui->MaxDateEdit)})
        control->setToolTip(t.EndingRangeHint);
    m_ui->MinValueClearButton->setText(t.BtnClearMin);
    m_ui->MinValueClearButton->setToolTip(t.BtnClearMinHint);
    m_ui->MaxValueClearButton->setText(t.BtnClearMax);
    m_ui->MaxValueClearButton->setToolTip(t.BtnClearMaxHint);
    m_ui->ClearSearchButton->setText(t.BtnNewSearch);
    m_ui->ClearSearchButton->setToolTip(t.BtnNewSearchHint);
    m_ui->ViewButton->setText(t.BtnViewSummary);
    m_ui->ViewButton->setToolTip(t.BtnViewSummaryHint);
}

void TqkFilterDlg::applyOptions()
{
    const TqkFilterDialogOptions options = m_dialog.Options();
    m_okButton->setVisible(options.testFlag(fdShowOKCancel));
    m_cancelButton->setVisible(options.testFlag(fdShowOKCancel));
    m_ui->FieldOrder->setVisible(options.testFlag(fdShowFieldOrder));
    m_ui->ViewButton->setVisible(options.testFlag(fdShowViewSummary));
    if (!options.testFlag(fdShowViewSummary))
        putClearButtonInViewButtonsPlace();
    m_ui->ValueRangeTabSet->setVisible(options.testFlag(fdShowValueRangeTab));
    m_ui->CaseSensitive->setVisible(options.testFlag(fdShowCaseSensitive));
    m_ui->Nonmatching->setVisible(options.testFlag(fdShowNonMatching));
    m_ui->Panel1->setVisible(options.testFlag(fdShowCaseSensitive) || options.testFlag(fdShowNonMatching));
    // The designed measures are at 96 pixels per inch; the window is DlgHeight high with its caption.
    // Controls whose captions need more room widen the form rather than being cut.
    const auto scaled = [](int pixels) { return pixels * qkScreenPixelsPerInch() / 96; };
    m_ui->FieldsListBox->setFixedHeight(scaled(m_dialog.DlgHeight() - (options.testFlag(fdShowFieldOrder) ? 107 : 70)));
    const int buttonColumn = options.testFlag(fdShowOKCancel) ? 0 : m_okButton->width() + layout()->spacing();
    layout()->activate();
    resize(QSize(scaled(476) - buttonColumn, scaled(m_dialog.DlgHeight() - designedCaptionHeight))
               .expandedTo(minimumSizeHint()));
}

// The hidden view button keeps the place the clear button leaves empty.
void TqkFilterDlg::putClearButtonInViewButtonsPlace()
{
    QPushButton &clear = *m_ui->ClearSearchButton;
    m_ui->ViewButton->setFixedWidth(clear.sizeHint().expandedTo(clear.minimumSize()).width());
    QSizePolicy keepsPlace = m_ui->ViewButton->sizePolicy();
    keepsPlace.setRetainSizeWhenHidden(true);
    m_ui->ViewButton->setSizePolicy(keepsPlace);
    m_ui->SearchButtonRow->removeWidget(m_ui->ClearSearchButton);
    m_ui->SearchButtonRow->insertWidget(m_ui->SearchButtonRow->indexOf(m_ui->ViewButton) + 1, m_ui->ClearSearchButton);
}

void TqkFilterDlg::collectEntries()
{
    m_entries.clear();
    const auto label = [](QString text) { return text.replace(QLatin1Char('~'), QLatin1Char(' ')); };
    const QStringList &selected = m_dialog.SelectedFields();
    if (selected.isEmpty()) {
        for (const TqkDBFieldInfo &field : m_dialog.SearchableFields())
            if (qkIsSearchableFieldType(field.FieldType))
                m_entries.push_back({label(field.DisplayLabel), field.FieldName, field.FieldType});
        return;
    }
    for (const QString &line : selected) {
        const QString name = line.section(QLatin1Char(';'), 0, 0).trimmed();
        const QString own = line.section(QLatin1Char(';'), 1);
        const TqkDBFieldInfo *field = m_dialog.FindSearchableField(name);
        if (field && qkIsSearchableFieldType(field->FieldType))
            m_entries.push_back({label(own.isEmpty() ? field->DisplayLabel : own), field->FieldName, field->FieldType});
    }
}

void TqkFilterDlg::fillFieldList(const QString &keep)
{
    std::vector<const Entry *> shown;
    for (const Entry &entry : m_entries)
        if (m_ui->FieldTabSet->currentIndex() != searchedTab || criterionFor(entry.label))
            shown.push_back(&entry);
    if (m_ui->FieldOrderAlphabetic->isChecked() || m_dialog.property("SortBy").toInt() == fdSortByFieldName) {
        QCollator german(QLocale(QLocale::German, QLocale::Germany));
        german.setCaseSensitivity(Qt::CaseInsensitive);
        std::stable_sort(shown.begin(), shown.end(),
                         [&german](const Entry *a, const Entry *b) { return german.compare(a->label, b->label) < 0; });
    }
    m_switching = true;
    m_ui->FieldsListBox->clear();
    int keepRow = 0;
    for (const Entry *entry : shown) {
        if (entry->label == keep)
            keepRow = m_ui->FieldsListBox->count();
        auto *item = new QListWidgetItem(entry->label, m_ui->FieldsListBox);
        item->setData(Qt::UserRole, int(entry - m_entries.data()));
    }
    m_switching = false;
    m_shownRow = -1;
    if (m_ui->FieldsListBox->count() > 0)
        m_ui->FieldsListBox->setCurrentRow(keepRow);
    else
        m_shownLabel.clear();
}

void TqkFilterDlg::selectInitialField()
{
    // On the searched-fields tab the first line, in the list's order, is the
    // first field with a criterion.
    QString first;
    if (!m_criteria.empty()) {
        const QSignalBlocker blocker(m_ui->FieldTabSet);
        m_ui->FieldTabSet->setCurrentIndex(searchedTab);
    } else {
        for (const Entry &entry : m_entries)
            if (entry.label == m_dialog.property("DefaultField").toString()
                || entry.fieldName == m_dialog.property("DefaultField").toString())
                first = entry.label;
    }
    fillFieldList(first);
    updateClearButtons();
}

const TqkFilterDlg::Entry *TqkFilterDlg::shownEntry() const
{
    for (const Entry &entry : m_entries)
        if (entry.label == m_shownLabel)
            return &entry;
    return nullptr;
}

TqkFieldInfo *TqkFilterDlg::criterionFor(const QString &label)
{
    const auto found = std::find_if(m_criteria.begin(), m_criteria.end(),
                                    [&](const TqkFieldInfo &info) { return info.DisplayName == label; });
    return found == m_criteria.end() ? nullptr : &*found;
}

void TqkFilterDlg::fieldRowChanged(int row)
{
    if (m_switching || row < 0)
        return;
    const QString target = m_ui->FieldsListBox->item(row)->text();
    const bool hadCriterion = criterionFor(m_shownLabel) != nullptr;
    if (m_shownRow >= 0 && !StoreShownField()) {
        const QSignalBlocker blocker(m_ui->FieldsListBox);
        m_ui->FieldsListBox->setCurrentRow(m_shownRow);
        return;
    }
    if (hadCriterion && !criterionFor(m_shownLabel) && m_ui->FieldTabSet->currentIndex() == searchedTab) {
        m_shownLabel.clear();
        fillFieldList(target);
        return;
    }
    m_shownRow = row;
    showField(m_entries[std::size_t(m_ui->FieldsListBox->item(row)->data(Qt::UserRole).toInt())]);
}

bool TqkFilterDlg::usesDatePickers() const
{
    const Entry *entry = shownEntry();
    return entry && (entry->type == ftDate || entry->type == ftDateTime);
}

void TqkFilterDlg::showField(const Entry &entry)
{
    m_shownLabel = entry.label;
    const bool pickers = usesDatePickers();
    const TqkDTEditDataType pickerType = entry.type == ftDate ? qkDTEdtDate : qkDTEdtDateTime;
    for (TqkDBDateTimePicker *picker : {m_ui->MinDateEdit, m_ui->MaxDateEdit}) {
        picker->SetUnboundDataType(pickerType);
        picker->setVisible(pickers);
    }
    m_ui->MinValueEdit->setVisible(!pickers);
    m_ui->MaxValueEdit->setVisible(!pickers);
    // The labels' "&" marks the access key of the control shown beneath.
    m_ui->StartingRangeLbl->setBuddy(pickers ? static_cast<QWidget *>(m_ui->MinDateEdit) : m_ui->MinValueEdit);
    m_ui->EndingRangeLbl->setBuddy(pickers ? static_cast<QWidget *>(m_ui->MaxDateEdit) : m_ui->MaxValueEdit);
    const TqkFieldInfo *info = criterionFor(entry.label);
    const bool range = info && info->MatchType == fdMatchRange;
    const QString value = info && !range ? info->FilterValue : QString();
    m_ui->FilterValueEdit->setText(value);
    m_ui->FilterValueCombo->setText(value);
    m_ui->MinValueEdit->setText(range ? info->MinValue : QString());
    m_ui->MaxValueEdit->setText(range ? info->MaxValue : QString());
    setPickerBound(*m_ui->MinDateEdit, range ? info->MinValue : QString());
    setPickerBound(*m_ui->MaxDateEdit, range ? info->MaxValue : QString());
    m_ui->CaseSensitive->setChecked(info ? info->CaseSensitive : m_dialog.Options().testFlag(fdCaseSensitive));
    m_ui->Nonmatching->setChecked(info && info->NonMatching);
    QStringList comboList;
    m_pictureMask.clear();
    m_dialog.DoSelectField(entry.fieldName, m_pictureMask, comboList);
    m_ui->FilterValueCombo->SetItems(comboList);
    const int matchType = info && !range ? info->MatchType : m_dialog.property("DefaultMatchType").toInt();
    (matchType == fdMatchExact ? m_ui->MatchExact
     : matchType == fdMatchAny ? m_ui->MatchAny
                               : m_ui->MatchStart)
        ->setChecked(true);
    matchTypeClicked();
    showPage(entry, info);
    updateClearButtons();
}

void TqkFilterDlg::showPage(const Entry &entry, const TqkFieldInfo *info)
{
    bool range = false;
    if (!m_dialog.Options().testFlag(fdShowValueRangeTab))
        range = m_dialog.property("DefaultFilterBy").toInt() == fdFilterByRange;
    else if (info)
        range = info->MatchType == fdMatchRange;
    else if (m_dialog.property("DefaultFilterBy").toInt() == fdSmartFilter)
        range = isRangeType(entry.type, m_dialog.FilterMethod()) && entry.type != ftBoolean;
    else
        range = m_dialog.property("DefaultFilterBy").toInt() == fdFilterByRange;
    const QSignalBlocker blocker(m_ui->ValueRangeTabSet);
    m_ui->ValueRangeTabSet->setCurrentIndex(range ? 1 : valueTab);
    m_ui->SelectNotebook->setCurrentIndex(range ? 1 : valueTab);
}

QLineEdit *TqkFilterDlg::valueControl() const
{
    return m_ui->FilterValueCombo->isVisibleTo(m_ui->ValuePage) ? static_cast<QLineEdit *>(m_ui->FilterValueCombo)
                                                                : static_cast<QLineEdit *>(m_ui->FilterValueEdit);
}

void TqkFilterDlg::matchTypeClicked()
{
    const QString text = valueControl()->text();
    const bool combo = !m_ui->MatchAny->isChecked() && !m_ui->FilterValueCombo->Items().isEmpty();
    m_ui->FilterValueCombo->setVisible(combo);
    m_ui->FilterValueEdit->setVisible(!combo);
    m_ui->FilterValueEdit->Picture()->SetPictureMask(m_ui->MatchAny->isChecked() ? QString() : m_pictureMask);
    valueControl()->setText(text);
    m_ui->FieldValueLbl->setBuddy(valueControl());
}

QString TqkFilterDlg::boundText(bool maximum) const
{
    if (!usesDatePickers())
        return (maximum ? m_ui->MaxValueEdit : m_ui->MinValueEdit)->text().trimmed();
    TqkDBDateTimePicker *picker = maximum ? m_ui->MaxDateEdit : m_ui->MinDateEdit;
    const std::optional<TDateTime> date = picker->Date();
    // A typed date that makes no date is checked, and refused, as typed.
    if (picker->HasUnfinishedDate())
        return picker->text();
    return date ? DateToStr(*date) : QString();
}

bool TqkFilterDlg::takes(const QString &text, QWidget *control, const QLabel &label)
{
    const Entry *entry = shownEntry();
    const QString why = text.isEmpty() || !entry ? QString() : whyNotTaken(entry->type, text);
    if (why.isEmpty())
        return true;
    ui::services().beep();
    const QString message =
        qkIntl().FilterDialog->EntryRefusedText.arg(text, label.text().remove(QLatin1Char('&')), entry->label, why);
    ui::services().messageBox(message, ui::applicationTitle(), ui::MsgIcon::Warning, ui::MsgButtons::Ok);
    control->setFocus();
    if (auto *edit = qobject_cast<QLineEdit *>(control))
        edit->selectAll();
    return false;
}

bool TqkFilterDlg::StoreShownField()
{
    const Entry *entry = shownEntry();
    if (!entry)
        return true;
    TqkFieldInfo next;
    next.DisplayName = entry->label;
    next.FieldName = entry->fieldName;
    const bool range = m_ui->SelectNotebook->currentIndex() == 1;
    if (range) {
        next.MatchType = fdMatchRange;
        next.MinValue = boundText(false);
        next.MaxValue = boundText(true);
        const bool pickers = usesDatePickers();
        if (!takes(next.MinValue, pickers ? static_cast<QWidget *>(m_ui->MinDateEdit) : m_ui->MinValueEdit,
                   *m_ui->StartingRangeLbl)
            || !takes(next.MaxValue, pickers ? static_cast<QWidget *>(m_ui->MaxDateEdit) : m_ui->MaxValueEdit,
                      *m_ui->EndingRangeLbl))
            return false;
    } else {
        next.MatchType = m_ui->MatchExact->isChecked() ? fdMatchExact
                         : m_ui->MatchAny->isChecked() ? fdMatchAny
                                                       : fdMatchStart;
        next.FilterValue = valueControl()->text();
        next.CaseSensitive = m_ui->CaseSensitive->isChecked();
        next.NonMatching = m_ui->Nonmatching->isChecked();
        const TqkAlternatives alternatives = qkSplitAlternatives(next.FilterValue, m_dialog.FieldOperators());
        for (const QString &item : alternatives.items)
            if (item.compare(m_dialog.FieldOperators().NullChar(), Qt::CaseInsensitive) != 0
                && !takes(item.trimmed(), valueControl(), *m_ui->FieldValueLbl))
                return false;
    }
    const bool empty = range ? next.MinValue.isEmpty() && next.MaxValue.isEmpty() : next.FilterValue.isEmpty();
    TqkFieldInfo *existing = criterionFor(entry->label);
    if (empty) {
        if (existing) {
            m_criteria.erase(m_criteria.begin() + (existing - m_criteria.data()));
            m_changed = true;
        }
        return true;
    }
    if (!existing) {
        m_criteria.push_back(next);
        m_changed = true;
        return true;
    }
    const auto key = [](const TqkFieldInfo &i) {
        return std::tie(i.MatchType, i.FilterValue, i.MinValue, i.MaxValue, i.CaseSensitive, i.NonMatching);
    };
    if (key(*existing) != key(next))
        m_changed = true;
    *existing = next;
    return true;
}

void TqkFilterDlg::fieldTabChanged(int index)
{
    if (m_switching)
        return;
    if (!StoreShownField() || (index == searchedTab && m_criteria.empty())) {
        if (m_criteria.empty() && index == searchedTab)
            showNoCriteria();
        const QSignalBlocker blocker(m_ui->FieldTabSet);
        m_ui->FieldTabSet->setCurrentIndex(index == searchedTab ? 0 : searchedTab);
        return;
    }
    fillFieldList(m_shownLabel);
}

void TqkFilterDlg::valueRangeTabChanged(int index)
{
    const int previous = m_ui->SelectNotebook->currentIndex();
    if (!StoreShownField()) {
        const QSignalBlocker blocker(m_ui->ValueRangeTabSet);
        m_ui->ValueRangeTabSet->setCurrentIndex(previous);
        return;
    }
    m_ui->SelectNotebook->setCurrentIndex(index);
}

void TqkFilterDlg::updateClearButtons()
{
    m_ui->FilterValueClearButton->setEnabled(!valueControl()->text().isEmpty());
    const bool pickers = usesDatePickers();
    m_ui->MinValueClearButton->setEnabled(pickers ? m_ui->MinDateEdit->Value().has_value()
                                                  : !m_ui->MinValueEdit->text().isEmpty());
    m_ui->MaxValueClearButton->setEnabled(pickers ? m_ui->MaxDateEdit->Value().has_value()
                                                  : !m_ui->MaxValueEdit->text().isEmpty());
    m_ui->ClearSearchButton->setEnabled(!m_criteria.empty() || m_ui->FilterValueClearButton->isEnabled()
                                        || m_ui->MinValueClearButton->isEnabled()
                                        || m_ui->MaxValueClearButton->isEnabled());
}

void TqkFilterDlg::ClearSearch()
{
    m_criteria.clear();
    m_changed = true;
    for (QLineEdit *edit : {static_cast<QLineEdit *>(m_ui->FilterValueEdit),
                            static_cast<QLineEdit *>(m_ui->FilterValueCombo), m_ui->MinValueEdit, m_ui->MaxValueEdit})
        edit->clear();
    m_ui->MinDateEdit->Clear();
    m_ui->MaxDateEdit->Clear();
    m_ui->FieldOrderLogical->setChecked(true);
    m_switching = true;
    m_ui->FieldTabSet->setCurrentIndex(0);
    m_switching = false;
    fillFieldList(m_shownLabel);
    updateClearButtons();
}

void TqkFilterDlg::ShowSummary()
{
    if (!StoreShownField())
        return;
    if (m_criteria.empty()) {
        showNoCriteria();
    } else {
        TqkFilterDialogView view(m_criteria, m_dialog.FieldOperators(), this);
        view.exec();
    }
    valueControl()->setFocus();
}

void TqkFilterDlg::done(int result)
{
    if (result == Accepted && !StoreShownField())
        return;
    QDialog::done(result);
}

void TqkFilterDlg::moveSelection(int delta)
{
    QListWidget &list = *m_ui->FieldsListBox;
    const int row = std::clamp(list.currentRow() + delta, 0, std::max(0, list.count() - 1));
    if (row != list.currentRow())
        list.setCurrentRow(row);
}

int TqkFilterDlg::navigationStep(int key) const
{
    const QListWidget &list = *m_ui->FieldsListBox;
    const int page = std::max(1, list.viewport()->height() / std::max(1, list.sizeHintForRow(0)));
    switch (key) {
    case Qt::Key_Down:
        return 1;
    case Qt::Key_Up:
        return -1;
    case Qt::Key_PageDown:
        return page;
    case Qt::Key_PageUp:
        return -page;
    default:
        return 0;
    }
}

// A number's bound takes only what a number is written with, as the bound
// edit does; what still does not make a number is named at the store.
bool TqkFilterDlg::refusesTyped(const QString &typed) const
{
    const Entry *entry = shownEntry();
    if (!entry)
        return false;
    for (const QChar c : typed)
        if (c.unicode() >= 32 && !qkFieldTypeAcceptsChar(entry->type, c)) {
            ui::services().beep();
            return true;
        }
    return false;
}

// The navigation keys move through the field list while the focus is in a
// value control; Ctrl with an arrow, and arrows in a picker holding a date,
// stay with the control.
bool TqkFilterDlg::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    auto *key = static_cast<QKeyEvent *>(event);
    if ((watched == m_ui->MinValueEdit || watched == m_ui->MaxValueEdit) && refusesTyped(key->text()))
        return true;
    const int step = navigationStep(key->key());
    const bool arrow = key->key() == Qt::Key_Up || key->key() == Qt::Key_Down;
    const bool picker = watched == m_ui->MinDateEdit || watched == m_ui->MaxDateEdit;
    if (step == 0 || (arrow && (key->modifiers() & Qt::ControlModifier))
        || (picker && arrow && !static_cast<QLineEdit *>(watched)->text().isEmpty()))
        return QDialog::eventFilter(watched, event);
    moveSelection(step);
    return true;
}

void TqkFilterDlg::keyPressEvent(QKeyEvent *event)
{
    QListWidget &list = *m_ui->FieldsListBox;
    if (list.hasFocus() && event->key() == Qt::Key_Delete && m_ui->FieldTabSet->currentIndex() == searchedTab) {
        if (TqkFieldInfo *info = criterionFor(m_shownLabel))
            m_criteria.erase(m_criteria.begin() + (info - m_criteria.data()));
        m_changed = true;
        m_shownLabel.clear();
        fillFieldList(QString());
        return;
    }
    if (!list.hasFocus() && navigationStep(event->key()) != 0) {
        moveSelection(navigationStep(event->key()));
        return;
    }
    QDialog::keyPressEvent(event);
}

bool qkRunFilterDlg(TqkFilterDialog &dialog)
{
    TqkFilterDlg form(dialog, QApplication::activeWindow());
    TqkFilterFormResult result;
    result.accepted = form.exec() == QDialog::Accepted;
    result.changed = form.Changed();
    result.criteria = form.Criteria();
    return dialog.ApplyFormResult(result, &form);
}

void qkInstallFilterDlg()
{
    qkSetFilterFormRunner(&qkRunFilterDlg);
}
