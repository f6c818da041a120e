#include "formtables.h"

#include "ui_afe_config.h"
#include "ui_core_config.h"
#include "ui_opt_config.h"
#include "ui_phy_config.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTranslator>
#include <QtTest>

#include <memory>

using namespace FormTables;

namespace {

class FormHost
{
public:
    virtual ~FormHost() = default;
    virtual void retranslate() = 0;
    QWidget *root() { return &m_root; }

protected:
    QWidget m_root;
};

template <class Ui> class UiHost : public FormHost
{
public:
    explicit UiHost(const QString &presetName)
    {
        if (!presetName.isEmpty())
            m_root.setObjectName(presetName);
        m_ui.setupUi(&m_root);
    }
    void retranslate() override { m_ui.retranslateUi(&m_root); }

private:
    Ui m_ui;
};

std::unique_ptr<FormHost> makeForm(const QString &key, const QString &presetName = QString())
{
    if (key == "core")
        return std::make_unique<UiHost<IPJESD204B::Ui::core_config>>(presetName);
    if (key == "phy")
        return std::make_unique<UiHost<IPJESD204B::Ui::phy_config>>(presetName);
    if (key == "afe")
        return std::make_unique<UiHost<IPJESD204B::Ui::afe_config>>(presetName);
    if (key == "opt")
        return std::make_unique<UiHost<IPJESD204B::Ui::opt_config>>(presetName);
    return nullptr;
}

const Form &formByKey(const QString &key)
{
    for (const Form &form : forms())
        if (form.key == key)
            return form;
    qFatal("unknown form %s", qPrintable(key));
}

QWidget *widgetNamed(QWidget *root, const QString &name)
{
    return root->objectName() == name ? root : root->findChild<QWidget *>(name);
}

// Widgets and layouts the form names itself; Qt's own helpers are called qt_* or go unnamed.
bool isFormObject(const QObject *object)
{
    return !object->objectName().isEmpty() && !object->objectName().startsWith("qt_");
}

// Label and button text, group box title.
QString displayText(const QWidget *widget)
{
    if (auto box = qobject_cast<const QGroupBox *>(widget))
        return box->title();
    return widget->property("text").toString();
}

// Answers only for one translation context, so a wrong context shows as an untranslated text.
class ContextTranslator : public QTranslator
{
public:
    explicit ContextTranslator(const QString &context) : m_context(context) {}
    QString translate(const char *context, const char *sourceText, const char *, int) const override
    {
        if (QString::fromUtf8(context) != m_context)
            return QString();
        return marked(QString::fromUtf8(sourceText));
    }
    bool isEmpty() const override { return false; }
    static QString marked(const QString &text) { return "[" + text + "]"; }

private:
    QString m_context;
};

// The only combo boxes that the form itself fills.
QStringList modeItems(const QString &boxName)
{
    if (boxName == "ffeModeCombox" || boxName == "equalizationModeCombox")
        return {"Auto", "Manual"};
    return {};
}

void addFormRows()
{
    QTest::addColumn<QString>("form");
    for (const Form &form : forms())
        QTest::newRow(qPrintable(form.key)) << form.key;
}

// Every text the form sets, with the widget or item it lands on, read back from the live tree.
void compareTexts(QWidget *root, const Form &form, bool translated)
{
    const auto expect = [translated](const QString &text) {
        return translated ? ContextTranslator::marked(text) : text;
    };
    QCOMPARE(root->windowTitle(), expect("Form"));
    for (const WidgetCell &cell : form.widgets) {
        if (cell.text.isNull())
            continue;
        const QWidget *widget = widgetNamed(root, cell.name);
        QVERIFY2(widget, qPrintable(cell.name));
        QCOMPARE(displayText(widget), expect(cell.text));
    }
    for (const QComboBox *box : root->findChildren<QComboBox *>()) {
        const QStringList items = modeItems(box->objectName());
        QCOMPARE(box->count(), items.size());
        for (int i = 0; i < items.size(); ++i)
            QCOMPARE(box->itemText(i), expect(items[i]));
    }
}

} // namespace

class TestForms : public QObject
{
    Q_OBJECT

private slots:
    void widgetCells_data();
    void widgetCells();
    void layouts_data();
    void layouts();
    void spacers_data();
    void spacers();
    void properties_data();
    void properties();
    void noStrayObjects_data() { addFormRows(); }
    void noStrayObjects();
    void freshForm_data();
    void freshForm();
    void rootObjectName_data();
    void rootObjectName();
    void spinBoxesRefuseOutOfRange_data();
    void spinBoxesRefuseOutOfRange();
    void retranslateUsesFormContext_data();
    void retranslateUsesFormContext();
    void setupUiTranslatesTexts_data() { addFormRows(); }
    void setupUiTranslatesTexts();
};

void TestForms::widgetCells_data()
{
    QTest::addColumn<QString>("form");
    QTest::addColumn<int>("index");
    for (const Form &form : forms())
        for (int i = 0; i < form.widgets.size(); ++i)
            QTest::addRow("%s/%s", qPrintable(form.key), qPrintable(form.widgets[i].name))
                << form.key << i;
}

void TestForms::widgetCells()
{
    QFETCH(QString, form);
    QFETCH(int, index);
    const WidgetCell &cell = formByKey(form).widgets[index];
    const auto host = makeForm(form);

    QWidget *widget = widgetNamed(host->root(), cell.name);
    QVERIFY(widget);
    QCOMPARE(QString(widget->metaObject()->className()), cell.className);
    if (!cell.text.isNull())
        QCOMPARE(displayText(widget), cell.text);

    const QLayout *layout = host->root()->findChild<QLayout *>(cell.layout);
    QVERIFY(layout);
    const int at = layout->indexOf(widget);
    QVERIFY2(at >= 0, "widget is not in the expected layout");
    if (auto grid = qobject_cast<const QGridLayout *>(layout)) {
        int row = -1, column = -1, rowSpan = 0, columnSpan = 0;
        grid->getItemPosition(at, &row, &column, &rowSpan, &columnSpan);
        QCOMPARE(row, cell.row);
        QCOMPARE(column, cell.column);
        QCOMPARE(rowSpan, cell.rowSpan);
        QCOMPARE(columnSpan, cell.columnSpan);
    } else {
        QCOMPARE(at, cell.row);
    }
}

void TestForms::layouts_data()
{
    QTest::addColumn<QString>("form");
    QTest::addColumn<int>("index");
    for (const Form &form : forms())
        for (int i = 0; i < form.layouts.size(); ++i)
            QTest::addRow("%s/%s", qPrintable(form.key), qPrintable(form.layouts[i].name))
                << form.key << i;
}

void TestForms::layouts()
{
    QFETCH(QString, form);
    QFETCH(int, index);
    const LayoutShape &shape = formByKey(form).layouts[index];
    const auto host = makeForm(form);

    QLayout *layout = host->root()->findChild<QLayout *>(shape.name);
    QVERIFY(layout);
    QCOMPARE(QString(layout->metaObject()->className()), shape.className);
    QCOMPARE(layout->count(), shape.itemCount);
    if (shape.indexInOwner < 0) {
        const QWidget *owner = widgetNamed(host->root(), shape.owner);
        QVERIFY(owner);
        QCOMPARE(owner->layout(), layout);
    } else {
        const QLayout *owner = host->root()->findChild<QLayout *>(shape.owner);
        QVERIFY(owner);
        QCOMPARE(owner->indexOf(layout), shape.indexInOwner);
    }
    if (auto grid = qobject_cast<const QGridLayout *>(layout)) {
        QCOMPARE(grid->rowCount(), shape.rows);
        QCOMPARE(grid->columnCount(), shape.columns);
    }
}

void TestForms::spacers_data()
{
    QTest::addColumn<QString>("form");
    QTest::addColumn<int>("index");
    for (const Form &form : forms())
        for (int i = 0; i < form.spacers.size(); ++i) {
            const SpacerCell &s = form.spacers[i];
            QTest::addRow("%s/%s@%d,%d", qPrintable(form.key), qPrintable(s.layout), s.row,
                          s.column)
                << form.key << i;
        }
}

void TestForms::spacers()
{
    QFETCH(QString, form);
    QFETCH(int, index);
    const SpacerCell &cell = formByKey(form).spacers[index];
    const auto host = makeForm(form);

    QLayout *layout = host->root()->findChild<QLayout *>(cell.layout);
    QVERIFY(layout);
    QLayoutItem *item = nullptr;
    if (auto grid = qobject_cast<QGridLayout *>(layout)) {
        item = grid->itemAtPosition(cell.row, cell.column);
        QVERIFY(item);
        int row = -1, column = -1, rowSpan = 0, columnSpan = 0;
        grid->getItemPosition(grid->indexOf(item), &row, &column, &rowSpan, &columnSpan);
        QCOMPARE(row, cell.row);
        QCOMPARE(column, cell.column);
        QCOMPARE(rowSpan, cell.rowSpan);
        QCOMPARE(columnSpan, cell.columnSpan);
    } else {
        item = layout->itemAt(cell.row);
        QVERIFY(item);
    }
    const QSpacerItem *spacer = item->spacerItem();
    QVERIFY2(spacer, "no spacer in this cell");
    QCOMPARE(spacer->sizeHint(), QSize(cell.width, cell.height));
    const QSizePolicy policy = spacer->sizePolicy();
    QCOMPARE(policy.horizontalPolicy(),
             cell.vertical ? QSizePolicy::Minimum : QSizePolicy::Expanding);
    QCOMPARE(policy.verticalPolicy(),
             cell.vertical ? QSizePolicy::Expanding : QSizePolicy::Minimum);
}

void TestForms::properties_data()
{
    QTest::addColumn<QString>("form");
    QTest::addColumn<int>("index");
    for (const Form &form : forms())
        for (int i = 0; i < form.properties.size(); ++i)
            QTest::addRow("%s/%s.%s", qPrintable(form.key), qPrintable(form.properties[i].name),
                          qPrintable(form.properties[i].property))
                << form.key << i;
}

void TestForms::properties()
{
    QFETCH(QString, form);
    QFETCH(int, index);
    const PropertyValue &expected = formByKey(form).properties[index];
    const auto host = makeForm(form);

    const QWidget *widget = widgetNamed(host->root(), expected.name);
    QVERIFY(widget);
    QVariant actual = widget->property(qPrintable(expected.property));
    QVERIFY2(actual.isValid(), "no such property");
    // Enum properties come back as their enum type; compare them as numbers.
    QVERIFY(actual.convert(expected.value.userType()));
    QCOMPARE(actual, expected.value);
}

void TestForms::noStrayObjects()
{
    QFETCH(QString, form);
    const Form &expected = formByKey(form);
    const auto host = makeForm(form);

    QStringList want{"scrollAreaWidgetContents"};
    for (const WidgetCell &cell : expected.widgets)
        want << cell.name;
    for (const LayoutShape &shape : expected.layouts)
        want << shape.name;

    QStringList have;
    for (const QObject *object : host->root()->findChildren<QObject *>())
        if (isFormObject(object) &&
            (object->isWidgetType() || qobject_cast<const QLayout *>(object)))
            have << object->objectName();
    want.sort();
    have.sort();
    QCOMPARE(have, want);
}

void TestForms::freshForm_data()
{
    QTest::addColumn<QString>("form");
    QTest::addColumn<QStringList>("checkedButtons");
    QTest::newRow("core") << "core" << QStringList{"Both"};
    QTest::newRow("phy") << "phy" << QStringList{"radioButton32Bit"};
    QTest::newRow("afe") << "afe" << QStringList();
    QTest::newRow("opt") << "opt" << QStringList();
}

void TestForms::freshForm()
{
    QFETCH(QString, form);
    QFETCH(QStringList, checkedButtons);
    const auto host = makeForm(form);

    QStringList checked;
    for (const QAbstractButton *button : host->root()->findChildren<QAbstractButton *>())
        if (button->isChecked())
            checked << button->objectName();
    QCOMPARE(checked, checkedButtons);

    // The dialog fills every other choice list.
    for (const QComboBox *box : host->root()->findChildren<QComboBox *>()) {
        const QString name = box->objectName();
        const QStringList items = modeItems(name);
        QVERIFY2(box->count() == items.size(), qPrintable(name));
        QCOMPARE(box->currentIndex(), items.isEmpty() ? -1 : 0);
        for (int i = 0; i < items.size(); ++i) {
            QCOMPARE(box->itemText(i), items[i]);
            QVERIFY2(!box->itemData(i).isValid(), qPrintable(name));
        }
    }
    for (const QLineEdit *edit : host->root()->findChildren<QLineEdit *>())
        if (isFormObject(edit))
            QVERIFY2(edit->text().isEmpty(), qPrintable(edit->objectName()));
}

void TestForms::rootObjectName_data()
{
    addFormRows();
}

void TestForms::rootObjectName()
{
    QFETCH(QString, form);
    QCOMPARE(makeForm(form)->root()->objectName(), formByKey(form).rootName);
    // A page that already has a name keeps it, so the dialog may name its tab pages freely.
    QCOMPARE(makeForm(form, "tabPage")->root()->objectName(), QString("tabPage"));
}

void TestForms::spinBoxesRefuseOutOfRange_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("maximum");
    QTest::newRow("Cm") << "cmSpinBox" << 19;
    QTest::newRow("C1") << "c1SpinBox" << 19;
    QTest::newRow("ATT") << "attSpinBox" << 10;
    QTest::newRow("BOOST") << "boostSpinBox" << 15;
    QTest::newRow("BIAS") << "biasSpinBox" << 15;
}

void TestForms::spinBoxesRefuseOutOfRange()
{
    QFETCH(QString, name);
    QFETCH(int, maximum);
    const auto host = makeForm("afe");
    auto spin = host->root()->findChild<QSpinBox *>(name);
    QVERIFY(spin);

    spin->setValue(maximum + 1);
    QCOMPARE(spin->value(), maximum);
    spin->setValue(-1);
    QCOMPARE(spin->value(), 0);

    // Typed text goes through the same limits.
    const QAbstractSpinBox *box = spin;
    for (QString text : {QString::number(maximum + 1), QString("-1")}) {
        int pos = text.size();
        QVERIFY2(box->validate(text, pos) == QValidator::Invalid, qPrintable(text));
    }
    QString inRange = QString::number(maximum);
    int pos = inRange.size();
    QCOMPARE(box->validate(inRange, pos), QValidator::Acceptable);
}

void TestForms::retranslateUsesFormContext_data()
{
    QTest::addColumn<QString>("form");
    QTest::addColumn<QString>("context");
    QTest::addColumn<bool>("translated");
    const QVector<Form> &all = forms();
    for (int i = 0; i < all.size(); ++i) {
        const QString key = all[i].key;
        QTest::addRow("%s/own", qPrintable(key)) << key << all[i].context << true;
        QTest::addRow("%s/bare class", qPrintable(key))
            << key << all[i].context.section("::", 1) << false;
        QTest::addRow("%s/other form", qPrintable(key))
            << key << all[(i + 1) % all.size()].context << false;
    }
}

void TestForms::retranslateUsesFormContext()
{
    QFETCH(QString, form);
    QFETCH(QString, context);
    QFETCH(bool, translated);
    const auto host = makeForm(form);

    ContextTranslator translator(context);
    QVERIFY(QCoreApplication::installTranslator(&translator));
    host->retranslate();
    compareTexts(host->root(), formByKey(form), translated);
    QVERIFY(QCoreApplication::removeTranslator(&translator));

    host->retranslate();
    compareTexts(host->root(), formByKey(form), false);
}

void TestForms::setupUiTranslatesTexts()
{
    QFETCH(QString, form);
    ContextTranslator translator(formByKey(form).context);
    QVERIFY(QCoreApplication::installTranslator(&translator));
    const auto host = makeForm(form);
    QVERIFY(QCoreApplication::removeTranslator(&translator));
    compareTexts(host->root(), formByKey(form), true);
}

QTEST_MAIN(TestForms)
#include "tst_forms.moc"
