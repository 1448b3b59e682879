#pragma once

#include "platform/report/api/ReportCodes.h"

#include <QImage>
#include <QString>

class QWidget;

// The report calls as the print manager makes them. Each returns its result
// code; no exception leaves them.

int LlJobOpen(int language);
int LlJobClose(int job);
int LlSetDlgboxMode(int mode);
int LlSetOption(int job, int option, int value);

int LlDefineVariable(int job, const QString &name, const QString &contents);
int LlDefineVariableExt(int job, const QString &name, const QString &contents, int type, const QString &param);
int LlDefineVariableExtHandle(int job, const QString &name, const QImage &image, int type, const QString &param);
int LlDefineField(int job, const QString &name, const QString &contents);
int LlDefineFieldExt(int job, const QString &name, const QString &contents, int type, const QString &param);
int LlDefineFieldExtHandle(int job, const QString &name, const QImage &image, int type, const QString &param);

int LlPrintStart(int job, int kind, const QString &layout, int destination, int options);
int LlPrintWithBoxStart(int job, int kind, const QString &layout, int destination, int options, QWidget *parent,
                        const QString &boxTitle);
int LlPrintGetPrinterInfo(int job, QString &printer, QString &port);
int LlSetPrinterToDefault(int job, int kind, const QString &layout);
int LlPrintSetOption(int job, int option, int value);
int LlPrintGetOption(int job, int option);
int LlPrintSetOptionString(int job, int option, const QString &value);
int LlPrintOptionsDialog(int job, QWidget *parent, const QString &title);

int LlPrint(int job);
int LlPrintFields(int job);
int LlPrintFieldsEnd(int job);
int LlPrintGetCurrentPage(int job);
int LlPrintSetBoxText(int job, const QString &text, int percent);
int LlPrintEnd(int job, int options);

int LlPreviewDisplay(int job, const QString &layout, const QString &path, QWidget *parent);
int LlPreviewDeleteFiles(int job, const QString &layout, const QString &path);
int LlDefineLayout(int job, QWidget *parent, const QString &title, int kind, const QString &layout);
// Why the job's last failing call failed, in German, where the code alone
// cannot say; empty otherwise.
QString LlGetErrorText(int job);
