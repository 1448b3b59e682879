#include "lib/data/Qkintl.h"
#include "lib/data/qkDialog.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDialog>
#include <QMetaProperty>

#include <memory>

namespace {

// Restores the global texts a test changes.
class GlobalIntlGuard
{
public:
    GlobalIntlGuard() { m_saved.reset(snapshot()); }
    ~GlobalIntlGuard() { m_saved->SetConnected(true); }

private:
    static TqkIntl *snapshot()
    {
        auto *copy = new TqkIntl;
        copy->SetConnected(false);
        TqkIntl &global = qkIntl();
        copy->BtnOKCaption = global.BtnOKCaption;
        copy->BtnCancelCaption = global.BtnCancelCaption;
        copy->UserMessages->PictureValidateError = global.UserMessages->PictureValidateError;
        copy->Navigator->Hints->FirstHint = global.Navigator->Hints->FirstHint;
        copy->SetCheckBoxInGridStyle(global.CheckBoxInGridStyle());
        copy->DialogFontStyle = global.DialogFontStyle;
        copy->FilterMemoSize = global.FilterMemoSize;
        copy->DefaultEpochYear = global.DefaultEpochYear;
        copy->UseLocateMethodForSearch = global.UseLocateMethodForSearch;
        return copy;
    }

    std::unique_ptr<TqkIntl> m_saved;
};

QStringList propertyNames(const QObject &object)
{
    QStringList names;
    const QMetaObject *meta = object.metaObject();
    for (int i = QObject::staticMetaObject.propertyCount(); i < meta->propertyCount(); ++i)
        names << meta->property(i).name();
    return names;
}

} // namespace

TEST(Captions, DefaultsReadAsTheLibraryShipsThemAndArePublished)
{
    TqkIntl intl;
    EXPECT_EQ(intl.BtnOKCaption, "&OK");
    EXPECT_EQ(intl.UserMessages->PictureValidateError, "Invalid characters. Field : ");
    EXPECT_EQ(intl.Navigator->Hints->PriorPageHint, "Move backward %d records");
    EXPECT_EQ(intl.RichEdit->TabDialog->TabGroupBoxCaption, "&Tab Stop Position");
    EXPECT_EQ(intl.CheckBoxInGridStyle(), cbStyleAuto);
    EXPECT_EQ(intl.FilterMemoSize, 65536);
    EXPECT_EQ(intl.DefaultEpochYear, 1950);
    EXPECT_FALSE(intl.Connected());
    EXPECT_EQ(propertyNames(intl).mid(0, 8),
              (QStringList{"Navigator", "SearchDialog", "LocateDialog", "MonthCalendar", "FilterDialog", "RichEdit",
                           "UserMessages", "OKCancelBitmapped"}));
    EXPECT_EQ(propertyNames(intl).last(), "Connected");
    EXPECT_EQ(propertyNames(*intl.RichEdit).mid(35),
              (QStringList{"MenuLabels", "PopupMenuLabels", "ParagraphDialog", "TabDialog"}));
    EXPECT_EQ(intl.property("BtnOKCaption").toString(), "&OK");
    // The version cannot be changed.
    intl.SetVersionTessarion("9.99");
    EXPECT_TRUE(intl.setProperty("VersionTessarion", "1.0"));
    EXPECT_EQ(intl.VersionTessarion(), "4.02B");
    // The global instance exists with the application.
    EXPECT_TRUE(qkIntl().IsGlobal());
    EXPECT_EQ(qkIntl().parent(), QCoreApplication::instance());
    EXPECT_EQ(qkFilterMemoSize(), qkIntl().FilterMemoSize);
}

TEST(Captions, UnconnectedInstanceLeavesTheGlobalTexts)
{
    GlobalIntlGuard guard;
    TqkIntl german;
    german.UserMessages->PictureValidateError = "Ungültige Zeichen. Feld: ";
    german.Loaded();
    EXPECT_EQ(qkIntl().UserMessages->PictureValidateError, "Invalid characters. Field : ");
    german.SetConnected(true);
    EXPECT_EQ(qkIntl().UserMessages->PictureValidateError, "Ungültige Zeichen. Feld: ");
}

TEST(Captions, ConnectingCopiesTextsAndSettingsButNotTheButtonKind)
{
    GlobalIntlGuard guard;
    TqkIntl form;
    form.Navigator->Hints->FirstHint = "Zum ersten Datensatz";
    form.RichEdit->TabDialog->SetButtonHint = "Neuen Tabulator setzen";
    form.BtnOKCaption = "&Übernehmen";
    form.OKCancelBitmapped = false;
    form.FilterMemoSize = 1024;
    form.DefaultEpochYear = 1980;
    form.DialogFontStyle = fsBold;
    form.SetCheckBoxInGridStyle(cbStyleXmark);
    form.SetConnected(true);
    TqkIntl &global = qkIntl();
    EXPECT_EQ(global.Navigator->Hints->FirstHint, "Zum ersten Datensatz");
    EXPECT_EQ(global.RichEdit->TabDialog->SetButtonHint, "Neuen Tabulator setzen");
    EXPECT_EQ(global.BtnOKCaption, "&Übernehmen");
    EXPECT_TRUE(global.OKCancelBitmapped);
    EXPECT_EQ(global.FilterMemoSize, 1024);
    EXPECT_EQ(global.DefaultEpochYear, 1980);
    EXPECT_EQ(global.DialogFontStyle, TFontStyles(fsBold));
    EXPECT_EQ(global.CheckBoxInGridStyle(), cbStyleXmark);

    form.SetCheckBoxInGridStyle(cbStyleCheckmark);
    EXPECT_EQ(global.CheckBoxInGridStyle(), cbStyleCheckmark);
}

TEST(Captions, ReadersSeeDefaultsOnceTheGlobalInstanceIsGone)
{
    TqkIntl *global = &qkIntl();
    global->setParent(nullptr);
    delete global;
    EXPECT_FALSE(qkIntl().IsGlobal());
    EXPECT_EQ(qkIntl().BtnCancelCaption, "Cancel");
    // A new initialisation brings a global instance back for the other tests.
    qkIntlFinalize();
    qkIntlInitialize();
    EXPECT_TRUE(qkIntl().IsGlobal());
}

TEST(DialogButtons, SizesScaleFromNinetySixDotsPerInch)
{
    EXPECT_EQ(qkDialogButtonSize(false, 96), QSize(77, 24));
    EXPECT_EQ(qkDialogButtonSize(true, 96), QSize(77, 27));
    EXPECT_EQ(qkDialogButtonSize(false, 120), QSize(96, 30));
    EXPECT_EQ(qkDialogButtonSize(true, 120), QSize(96, 33));
    EXPECT_EQ(qkDialogButtonSize(true, 144), QSize(115, 40));
}

TEST(DialogButtons, BitmapButtonsCarryTheirKindAndTheGlobalCaptions)
{
    GlobalIntlGuard guard;
    QDialog form;
    QPushButton *ok = qkCreateDialogButton(&form, bkOK);
    auto *bitBtn = qobject_cast<TBitBtn *>(ok);
    ASSERT_NE(bitBtn, nullptr);
    EXPECT_EQ(bitBtn->Kind(), bkOK);
    EXPECT_EQ(ok->text(), "&OK");
    EXPECT_TRUE(ok->isHidden());
    EXPECT_EQ(ok->parent(), &form);
    EXPECT_EQ(ok->size(), qkDialogButtonSize(true, qkScreenPixelsPerInch()));
    EXPECT_EQ(ok->font().pixelSize(), 11);
    EXPECT_FALSE(ok->icon().isNull());

    ok->click();
    EXPECT_EQ(form.result(), QDialog::Accepted);
    qkCreateDialogButton(&form, bkCancel)->click();
    EXPECT_EQ(form.result(), QDialog::Rejected);
    EXPECT_EQ(qkCreateDialogButton(&form, bkHelp)->text(), "Help");
}

TEST(DialogButtons, PlainButtonsWhenBitmapsAreSwitchedOff)
{
    qkIntl().OKCancelBitmapped = false;
    QDialog form;
    QPushButton *cancel = qkCreateDialogButton(&form, bkCancel);
    qkIntl().OKCancelBitmapped = true;
    EXPECT_EQ(qobject_cast<TBitBtn *>(cancel), nullptr);
    EXPECT_EQ(cancel->text(), "Cancel");
    EXPECT_EQ(cancel->size(), qkDialogButtonSize(false, qkScreenPixelsPerInch()));
}
