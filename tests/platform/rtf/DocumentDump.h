#pragma once

#include <QString>

class QTextDocument;

// A line per paragraph and per run with every property the rich text
// carries, so two documents compare as text and a difference reads plainly.
QString dumpDocument(const QTextDocument &document);
