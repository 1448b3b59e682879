#include "lib/data/Qkintl.h"

#include <QCoreApplication>
#include <QMetaProperty>

namespace {

TqkIntl *g_global = nullptr;
int g_initCount = 0;

// Copies every text of a caption group, and of the groups it owns, by
// property name; both objects are of the same class.
void copyTexts(const QObject &from, QObject &to)
{
    const QMetaObject *meta = from.metaObject();
    for (int i = QObject::staticMetaObject.propertyCount(); i < meta->propertyCount(); ++i) {
        const QMetaProperty property = meta->property(i);
        const QVariant value = property.read(&from);
        if (property.metaType() == QMetaType::fromType<QString>()) {
            property.write(&to, value);
        } else if (property.metaType().flags().testFlag(QMetaType::PointerToQObject)) {
            const QObject *source = value.value<QObject *>();
            QObject *target = property.read(&to).value<QObject *>();
            if (source && target)
                copyTexts(*source, *target);
        }
    }
}

void initializeWithApplication()
{
    qkIntlInitialize();
    qAddPostRoutine(qkIntlFinalize);
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(initializeWithApplication)

TqkIntl::TqkIntl(QObject *owner) : QObject(owner)
{}

TqkIntl::~TqkIntl()
{
    if (g_global == this)
        g_global = nullptr;
}

bool TqkIntl::IsGlobal() const
{
    return g_global == this;
}

void TqkIntl::SetCheckBoxInGridStyle(TqkCheckBoxInGridStyle style)
{
    m_checkBoxInGridStyle = style;
    if (m_connected && g_global && !IsGlobal())
        g_global->SetCheckBoxInGridStyle(style);
}

void TqkIntl::SetConnected(bool connected)
{
    m_connected = connected;
    if (connected)
        CopyIntoGlobal();
}

void TqkIntl::Loaded()
{
    if (m_connected)
        CopyIntoGlobal();
}

void TqkIntl::CopyIntoGlobal() const
{
    if (!g_global || IsGlobal())
        return;
    TqkIntl &global = *g_global;
    copyTexts(*Navigator, *global.Navigator);
    copyTexts(*SearchDialog, *global.SearchDialog);
    copyTexts(*LocateDialog, *global.LocateDialog);
    copyTexts(*MonthCalendar, *global.MonthCalendar);
    copyTexts(*FilterDialog, *global.FilterDialog);
    copyTexts(*RichEdit, *global.RichEdit);
    copyTexts(*UserMessages, *global.UserMessages);
    global.BtnOKCaption = BtnOKCaption;
    global.BtnCancelCaption = BtnCancelCaption;
    global.SetCheckBoxInGridStyle(m_checkBoxInGridStyle);
    global.DialogFontStyle = DialogFontStyle;
    global.UseLocateMethodForSearch = UseLocateMethodForSearch;
    global.DefaultEpochYear = DefaultEpochYear;
    global.FilterMemoSize = FilterMemoSize;
}

TqkIntl &qkIntl()
{
    if (g_global)
        return *g_global;
    // Never freed on purpose: readers may still come during static
    // destruction, after the global instance is gone.
    static TqkIntl *const defaults = new TqkIntl(nullptr);
    return *defaults;
}

int qkFilterMemoSize()
{
    return qkIntl().FilterMemoSize;
}

void qkIntlInitialize()
{
    if (g_initCount++ == 0 && !g_global)
        g_global = new TqkIntl(QCoreApplication::instance());
}

void qkIntlFinalize()
{
    if (g_initCount == 0 || --g_initCount > 0)
        return;
    delete g_global;
}
