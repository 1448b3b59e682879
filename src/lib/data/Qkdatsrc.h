#pragma once

#include "platform/db/TDataSet.h"
#include "platform/db/TDataSource.h"

// The library's data source; the library's controls recognise it by class.
class TqkDataSource : public TDataSource
{
    Q_OBJECT

public:
    using TDataSource::TDataSource;
};
