#pragma once

#include "platform/report/Definitions.h"
#include "platform/report/DesignCanvas.h"
#include "platform/report/Layout.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QFontComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QTableWidget;
class QTreeWidget;

namespace report {

// A new, empty layout: an A4 page with a table, or a sheet of 3 x 8 labels.
Layout newLayout(Layout::Type type);

// The designer window: the page with its objects, the property panel, the
// job's variables and fields to insert, save and cancel.
class LayoutDesigner : public QDialog
{
    Q_OBJECT
public:
    LayoutDesigner(const Layout &layout, const QString &path, const Definitions &variables, const Definitions &fields,
                   QWidget *parent, const QString &title);

    const Layout &layout() const { return m_layout; }
    DesignCanvas *canvas() const { return m_canvas; }
    QTreeWidget *nameList() const { return m_names; }
    // Adds an object of `kind` in the middle of the page and selects it.
    int addObject(ObjectKind kind);
    void addTable();
    void removeSelected();
    // Writes the layout; false with a message box when it cannot be written,
    // or when it uses names the job does not define and the user keeps it.
    bool save();
    // Inserts a variable or field name into the expression being edited.
    void insertName(const QString &name);
    // True when the layout differs from what was loaded or last saved.
    bool isModified() const;
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    Layout m_layout;
    QString m_path;
    // Copies (shared, so cheap): the designer checks names against them as
    // long as it is open, whoever handed them over.
    const Definitions m_variables;
    const Definitions m_fields;
    DesignCanvas *m_canvas;
    QTreeWidget *m_names;
    bool m_loading = false;
    QString m_savedText;

    QLineEdit *m_name;
    QDoubleSpinBox *m_x, *m_y, *m_w, *m_h;
    QComboBox *m_appearance;
    QFontComboBox *m_font;
    QDoubleSpinBox *m_fontSize;
    QCheckBox *m_bold, *m_italic, *m_wrap;
    QComboBox *m_align;
    QPlainTextEdit *m_expression;
    QComboBox *m_symbology;
    QLineEdit *m_file, *m_variable;
    QDoubleSpinBox *m_pen;
    QTableWidget *m_columns;
    QLabel *m_problem;

    QWidget *buildToolbox();
    QWidget *buildProperties();
    QWidget *buildNameList();
    QWidget *buildPageProperties();
    enum class ValueRule { Size, Count, Distance };
    QString refusalOf(ValueRule rule, QString label, double value) const;
    QString elementOutside() const;
    QString elementName(int index) const;
    QDoubleSpinBox *mmBox();
    void showProperties(int index);
    void applyProperties();
    void showColumns();
    void applyColumns();
    void addColumn();
    void addRow(RowPart part);
    LayoutObject *selectedObject();
    void layoutChanged();
    void fitToScreen();
};

// Runs the designer modally: 0 when saved, -99 on cancel.
int designLayout(const Layout &layout, const QString &path, const Definitions &variables, const Definitions &fields,
                 QWidget *parent, const QString &title);

}
