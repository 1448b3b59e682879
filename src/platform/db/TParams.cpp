#include "platform/db/TParams.h"

#include "platform/runtime/Exceptions.h"

TParam::TParam(const QString &name, QObject *owner) : QObject(owner), m_name(name)
{}

TParams::TParams(QObject *owner) : QObject(owner)
{}

TParam *TParams::CreateParam(TFieldType type, const QString &name)
{
    auto *param = new TParam(name, this);
    param->SetDataType(type);
    m_items.append(param);
    return param;
}

TParam *TParams::FindParam(const QString &name) const
{
    for (TParam *param : m_items)
        if (param->Name().compare(name, Qt::CaseInsensitive) == 0)
            return param;
    return nullptr;
}

TParam *TParams::ParamByName(const QString &name) const
{
    TParam *param = FindParam(name);
    if (!param)
        throw EDatabaseError(QStringLiteral("Parameter '%1' nicht gefunden").arg(name));
    return param;
}

void TParams::Clear()
{
    qDeleteAll(m_items);
    m_items.clear();
}
