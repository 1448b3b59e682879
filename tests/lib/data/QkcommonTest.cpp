#include "PropertyHolders.h"

#include "lib/data/Qkcommon.h"
#include "lib/data/Qkprops.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>

using fixture::ListHolder;

TEST(PictureMaskLines, ALineGivesMaskAndFlagsAndNoLineTheDefault)
{
    const struct
    {
        QStringList lines;
        const char *name;
        bool flagDefault;
        const char *mask;
        bool autoFill;
        bool useInGrid;
    } cases[] = {
        {{"NAME\t###\tT\tF"}, "Name", false, "###", true, false},
        {{"Other\t###\tF\tF"}, "Name", true, "", true, true},
        {{"Plz\t#####"}, "PLZ", false, "#####", false, false},
        // Names are not trimmed and only T means true.
        {{"Name \t#\tT\tT", "Name\t##\tt\tTrue"}, "Name", false, "##", false, false},
    };
    for (const auto &c : cases) {
        ListHolder holder;
        holder.PictureMasks = c.lines;
        const TqkPictureMaskSetting setting = qkGetPictureMask(&holder, c.name, c.flagDefault);
        EXPECT_EQ(setting.Mask, c.mask) << c.lines.join('|').toStdString();
        EXPECT_EQ(setting.AutoFill, c.autoFill) << c.lines.join('|').toStdString();
        EXPECT_EQ(setting.UseInGrid, c.useInGrid) << c.lines.join('|').toStdString();
    }
    QObject plain;
    EXPECT_EQ(qkGetPictureMask(&plain, "Name", true).Mask, "");
    EXPECT_TRUE(qkGetPictureMask(&plain, "Name", true).UseInGrid);
}

TEST(PictureMaskLines, SettingKeepsWhatIsNotSet)
{
    ListHolder holder;
    holder.PictureMasks = {"A\t#\tF\tT", "Name\t###\tF\tT"};
    qkSetPictureMask(&holder, "NAME", "&&&", true, false, true, false, false);
    EXPECT_EQ(holder.PictureMasks, (QStringList{"A\t#\tF\tT", "NAME\t&&&\tF\tT"}));
    qkSetPictureMask(&holder, "name", "", true, false, false, true, false);
    EXPECT_EQ(holder.PictureMasks[1], "name\t&&&\tT\tT");

    // An empty mask deletes the line, a new one appends a line.
    holder.PictureMasks = {"A\t#\tF\tT", "B\t##\tT\tT"};
    qkSetPictureMask(&holder, "a", "", false, false, true, false, false);
    EXPECT_EQ(holder.PictureMasks, (QStringList{"B\t##\tT\tT"}));
    qkSetPictureMask(&holder, "Plz", "#####", true, false, true, true, true);
    EXPECT_EQ(holder.PictureMasks, (QStringList{"B\t##\tT\tT", "Plz\t#####\tT\tF"}));
    qkSetPictureMask(&holder, "Ort", "", true, true, true, true, true);
    EXPECT_EQ(holder.PictureMasks.size(), 2);
}

TEST(PictureMaskLines, ATablesOwnPictureAlwaysWins)
{
    fixture::TqkTable table;
    table.Pictures = {"Plz\t#####"};
    table.PictureMasks = {"PLZ\t###\tF\tT"};
    const TqkPictureMaskSetting setting = qkGetPictureMask(&table, "Plz", true);
    EXPECT_EQ(setting.Mask, "#####");
    EXPECT_FALSE(setting.AutoFill);
    EXPECT_EQ(table.PictureMasks, (QStringList{"Plz\t#####\tF\tT"}));
    EXPECT_EQ(qkGetPictureMask(&table, "Plz", false).Mask, "#####");

    qkSetPictureMask(&table, "Plz", "##", true, true, true, true, true);
    EXPECT_EQ(table.PictureMasks, (QStringList{"Plz\t#####\tT\tT"}));
    table.PictureMasks.clear();
    EXPECT_EQ(qkGetPictureMask(&table, "Plz", true).Mask, "#####");
    EXPECT_TRUE(table.PictureMasks.isEmpty());
}

TEST(PictureMaskLines, WhatIsWrittenReadsBack)
{
    ListHolder holder;
    for (const auto &[autoFill, useInGrid] :
         {std::pair{true, true}, std::pair{false, true}, std::pair{true, false}, std::pair{false, false}}) {
        qkSetPictureMask(&holder, "Telefon", "(###) ###-####", autoFill, useInGrid, true, true, true);
        const TqkPictureMaskSetting setting = qkGetPictureMask(&holder, "TELEFON", true);
        EXPECT_EQ(setting.Mask, "(###) ###-####");
        EXPECT_EQ(setting.AutoFill, autoFill);
        EXPECT_EQ(setting.UseInGrid, useInGrid);
    }
    EXPECT_EQ(holder.PictureMasks.size(), 1);
}

TEST(ControlTypes, TheLastLineForTheExactNameWinsAndEditTypesIgnoreCase)
{
    ListHolder grid;
    grid.ControlType = {"Aktiv;CheckBox;Ja;Nein", "aktiv;Combo;cbo", "Aktiv;RichEdit"};
    QString type;
    QString parameters;
    qkGetControlType(&grid, "Aktiv", type, parameters);
    EXPECT_EQ(type, "RichEdit");
    EXPECT_EQ(parameters, "");
    grid.ControlType.removeLast();
    qkGetControlType(&grid, "Aktiv", type, parameters);
    EXPECT_EQ(type, "CheckBox");
    EXPECT_EQ(parameters, "Ja;Nein");
    qkGetControlType(&grid, "Fehlt", type, parameters);
    EXPECT_EQ(type, "");
    EXPECT_EQ(parameters, "");
    grid.ControlType = {"F;Combo;" + QString(300, 'x')};
    qkGetControlType(&grid, "F", type, parameters);
    EXPECT_EQ(parameters.size(), 255);
    // Edit types ignore case.
    for (const char *editType : {"CustomEdit", "lookupcombo", "COMBO"})
        EXPECT_TRUE(qkIsEditControlType(editType)) << editType;
    for (const char *otherType : {"CheckBox", "RichEdit", "Bitmap", ""})
        EXPECT_FALSE(qkIsEditControlType(otherType)) << otherType;
}

TEST(FieldLayoutLists, LinesLookupsAndClassNames)
{
    const QStringList layout{qkFieldLayoutLine("KundenNr", 10, "Kunde"), qkFieldLayoutLine("Name", 30, "Name 1")};
    EXPECT_EQ(layout[0], "KundenNr\t10\tKunde");
    int index = 0;
    EXPECT_TRUE(qkFindFieldInList(layout, "NAME", index));
    EXPECT_EQ(index, 1);
    EXPECT_FALSE(qkFindFieldInList(layout, "Kunde", index));
    EXPECT_EQ(qkListIndexOfText({"Ab", "aB", "c"}, "AB"), 0);
    EXPECT_EQ(qkListIndexOfText({"Ab"}, "x"), -1);

    // Ancestors are found by class name without regard to case.
    fixture::TqkTable table;
    EXPECT_TRUE(qkInheritsFromName(&table, "TqkTable"));
    EXPECT_TRUE(qkInheritsFromName(&table, "tqktable"));
    EXPECT_TRUE(qkInheritsFromName(&table, "ListHolder"));
    EXPECT_TRUE(qkInheritsFromName(&table, "QObject"));
    EXPECT_FALSE(qkInheritsFromName(&table, "TqkQuery"));
    EXPECT_FALSE(qkInheritsFromName(static_cast<QObject *>(nullptr), "QObject"));
}

TEST(FilterOptions, ReadAndSwitchedByPropertyName)
{
    ListHolder dataSet;
    EXPECT_EQ(qkGetFilterOptions(&dataSet), qkDefaultFilterOptions);
    qkSetFilterEnabled(&dataSet, false);
    EXPECT_EQ(dataSet.OnFilterOptions, TqkOnFilterOptions(ofoShowHourGlass));
    qkSetFilterEnabled(&dataSet, true);
    EXPECT_EQ(dataSet.OnFilterOptions, qkDefaultFilterOptions);
    QObject plain;
    EXPECT_EQ(qkGetFilterOptions(&plain), TqkOnFilterOptions());
    qkSetFilterEnabled(&plain, true);
    EXPECT_EQ(qkGetFilterOptions(&plain), TqkOnFilterOptions());
    // Client data sets answer by their filtered flag.
    fixture::TqkClientDataSet client;
    EXPECT_EQ(qkGetFilterOptions(&client), TqkOnFilterOptions());
    client.Filtered = true;
    EXPECT_EQ(qkGetFilterOptions(&client), TqkOnFilterOptions(ofoEnabled));
}

// Names match without regard to case; data fields are written only on controls.
TEST(PropertyAccess, MissingPropertiesAnswerNothingOthersAreFoundByName)
{
    QObject plain;
    EXPECT_FALSE(qkGetPictureMasks(&plain).has_value());
    EXPECT_FALSE(qkGetValidateWithMask(&plain));
    EXPECT_FALSE(qkGetOnInvalidValue(&plain));
    EXPECT_FALSE(qkSetDatabaseName(&plain, "DATA"));
    EXPECT_FALSE(qkSetSQL(&plain, {"SELECT 1"}));
    EXPECT_FALSE(qkGetPictureMasks(nullptr).has_value());

    ListHolder holder;
    holder.ControlType = {"A;CheckBox"};
    EXPECT_EQ(qkReadList(&holder, "controltype"), QStringList{"A;CheckBox"});
    EXPECT_TRUE(qkSetDatabaseName(&holder, "C:\\Daten"));
    EXPECT_EQ(qkGetDatabaseName(&holder), "C:\\Daten");
    EXPECT_TRUE(qkSetSQL(&holder, {"SELECT *", "FROM Kunden"}));
    EXPECT_EQ(holder.SQL.size(), 2);
    bool called = false;
    holder.OnInvalidValue = [&](TDataSet *, TField *) { called = true; };
    qkGetOnInvalidValue (&holder)(nullptr, nullptr);
    EXPECT_TRUE(called);

    fixture::DataControl control;
    EXPECT_TRUE(qkSetDataField(&control, "Name"));
    EXPECT_EQ(qkGetDataField(&control), "Name");
    QLineEdit edit;
    EXPECT_FALSE(qkSetDataField(&edit, "Name"));
    EXPECT_FALSE(qkSetDataSource(&control, nullptr));
}

TEST(QuotedTokens, NamesQuotesAndOperators)
{
    const QString text = "  Kunden.Name = 'Meier' AND \"Ort Alt\" <> $x_1";
    QStringList tokens;
    int pos = 1;
    for (QString token = "start"; !token.isEmpty();) {
        qkGetQuotedToken(text, pos, token);
        if (!token.isEmpty())
            tokens << token;
    }
    EXPECT_EQ(tokens, (QStringList{"Kunden.Name", "=", "'Meier'", "AND", "\"Ort Alt\"", "<", ">", "$x_1"}));
    for (const char *nothing : {" 'offen", "   "}) {
        QString token = "x";
        pos = 1;
        qkGetQuotedToken(nothing, pos, token);
        EXPECT_EQ(token, "") << nothing;
    }
}

TEST(SmallHelpers, Scaling)
{
    EXPECT_EQ(qkScalePixels(77, 120), 96);
    EXPECT_EQ(qkScalePixels(24, 144), 36);
    EXPECT_EQ(qkScalePixels(10, 100), 10);
}

TEST(EscapeWhileFiltering, EscapeSwitchesTheFilterOffAnotherKeyIsLostAndTimersWait)
{
    ListHolder dataSet;
    QLineEdit edit;
    bool timerRan = false;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, [&] { timerRan = true; });
    timer.start(0);
    QCoreApplication::postEvent(&edit, new QKeyEvent(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a"));
    EXPECT_FALSE(qkEscapePressed(&dataSet));
    EXPECT_EQ(edit.text(), "");
    EXPECT_EQ(dataSet.OnFilterOptions, qkDefaultFilterOptions);
    QCoreApplication::postEvent(&edit, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    EXPECT_TRUE(qkEscapePressed(&dataSet));
    EXPECT_EQ(dataSet.OnFilterOptions, TqkOnFilterOptions(ofoShowHourGlass));
    EXPECT_FALSE(qkEscapePressed(&dataSet));
    EXPECT_FALSE(timerRan);
    for (int i = 0; i < 100 && !timerRan; ++i)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    EXPECT_TRUE(timerRan);
}

TEST(EscapeWhileFiltering, OtherInputWaitsUntilTheFilterIsDone)
{
    ListHolder dataSet;
    QPushButton button("Schließen");
    button.resize(80, 24);
    int clicks = 0;
    QObject::connect(&button, &QPushButton::clicked, [&] { ++clicks; });
    const QPointF inside(10, 10);
    QCoreApplication::postEvent(&button, new QMouseEvent(QEvent::MouseButtonPress, inside, inside, Qt::LeftButton,
                                                         Qt::LeftButton, Qt::NoModifier));
    QCoreApplication::postEvent(&button, new QMouseEvent(QEvent::MouseButtonRelease, inside, inside, Qt::LeftButton,
                                                         Qt::NoButton, Qt::NoModifier));
    QCoreApplication::postEvent(&button, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    EXPECT_TRUE(qkEscapePressed(&dataSet));
    EXPECT_EQ(clicks, 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(clicks, 1);
}
