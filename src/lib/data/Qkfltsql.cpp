#include "lib/data/Qkfltdlg.h"

#include "lib/data/Qktable.h"

void TqkFilterDialog::optimiseRange(TDataSet *)
{
}

bool TqkFilterDialog::rewriteSql(TDataSet *)
{
    return false;
}
