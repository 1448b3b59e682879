#pragma once

#include "platform/report/Page.h"

#include <QPainter>

namespace report {

// Paints a recorded page on any painter; millimetres and points are converted
// with the resolution of the painter's device (screen views zoom by giving
// their image a higher resolution).
void paintPage(QPainter &painter, const Page &page);

}
