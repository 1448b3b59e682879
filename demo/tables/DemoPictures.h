#pragma once

#include <QByteArray>

namespace demo {

// A small PNG for a graphic field: a coloured card with a simple shape, the
// same bytes for the same variant every run, different across variants.
QByteArray demoPicture(int variant);

}
