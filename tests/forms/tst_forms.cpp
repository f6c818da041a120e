#include "ui_afe_config.h"
#include "ui_core_config.h"
#include "ui_opt_config.h"
#include "ui_phy_config.h"

#include <QtTest>

#include <memory>

namespace {

// Builds one of the forms ("core", "phy", "afe", "opt") on a fresh page.
std::unique_ptr<QWidget> makeForm(const QString &form, const QString &pageName = QString())
{
    auto page = std::make_unique<QWidget>();
    page->setObjectName(pageName);
    if (form == "core")
        IPJESD204B::Ui::core_config().setupUi(page.get());
    else if (form == "phy")
        IPJESD204B::Ui::phy_config().setupUi(page.get());
    else if (form == "afe")
        IPJESD204B::Ui::afe_config().setupUi(page.get());
    else
        IPJESD204B::Ui::opt_config().setupUi(page.get());
    return page;
}

struct Widget
{
    const char *form, *name, *className, *text; // text: label or button text, group box title
};

// The widgets the dialog works with, and the texts the user reads on them.
// clang-format off
const Widget formWidgets[] = {
    {"core", "Receive", "QRadioButton", "Receive"},
    {"core", "Transmit", "QRadioButton", "Transmit"},
    {"core", "Both", "QRadioButton", "Both Receive and Transmit"},
    {"core", "comboxNumOfLanes", "QComboBox", nullptr},
    {"core", "LMFCBuffer", "QGroupBox", "LMFC Buffer (Receiver parameter)"},
    {"core", "comboBoxLmfcBuffer", "QComboBox", nullptr},
    {"core", "rpatGenerator", "QCheckBox", "Include RPAT Generator"},
    {"core", "jspatGenerator", "QCheckBox", "Include JSPAT Generator"},
    {"core", "defaultSysrefAlw", "QComboBox", nullptr},
    {"core", "defaultScram", "QComboBox", nullptr},
    {"core", "defaultF", "QLineEdit", nullptr},
    {"core", "label_4", "QLabel", "(1~256)"},
    {"core", "defaultK", "QLineEdit", nullptr},
    {"core", "label_6", "QLabel", "(1~32)"},
    {"core", "defaultSysrefReq", "QComboBox", nullptr},
    {"core", "checkBoxFixedCfgEnable", "QCheckBox", "Fixed Config Enable"},
    {"core", "lineEditClkFreq", "QLineEdit", nullptr},
    {"core", "label_9", "QLabel", "(1~100)"},
    {"phy", "radioButton32Bit", "QRadioButton", "32bit"},
    {"phy", "radioButton64Bit", "QRadioButton", "64bit"},
    {"phy", "lineRate", "QLineEdit", nullptr},
    {"phy", "refClkSource", "QComboBox", nullptr},
    {"phy", "refClkFreq", "QLineEdit", nullptr},
    {"phy", "PLL_Selection", "QComboBox", nullptr},
    {"phy", "pushButton", "QPushButton", "Calculate"},
    {"phy", "LoopbackMode", "QComboBox", nullptr},
    {"afe", "groupBoxTx", "QGroupBox", "TX"},
    {"afe", "differeSwingComboBox", "QComboBox", nullptr},
    {"afe", "ffeModeCombox", "QComboBox", nullptr},
    {"afe", "cmSpinBox", "QSpinBox", nullptr},
    {"afe", "label", "QLabel", "(0~19)"},
    {"afe", "c0Lael", "QLabel", "TextLabel"},
    {"afe", "c1SpinBox", "QSpinBox", nullptr},
    {"afe", "label_2", "QLabel", "(0~19)"},
    {"afe", "groupBoxRx", "QGroupBox", "RX"},
    {"afe", "sdThresholdComboBox", "QComboBox", nullptr},
    {"afe", "equalizationModeCombox", "QComboBox", nullptr},
    {"afe", "attSpinBox", "QSpinBox", nullptr},
    {"afe", "label_14", "QLabel", "(0~10)"},
    {"afe", "boostSpinBox", "QSpinBox", nullptr},
    {"afe", "label_15", "QLabel", "(0~15)"},
    {"afe", "biasSpinBox", "QSpinBox", nullptr},
    {"opt", "checkBoxDRPPort", "QCheckBox", "DRP Ports"},
};
// clang-format on

QString displayText(const QWidget *widget)
{
    if (auto *box = qobject_cast<const QGroupBox *>(widget))
        return box->title();
    return widget->property("text").toString();
}

// The only choices a form fills itself; the dialog fills every other box.
QStringList formItems(const QString &boxName)
{
    if (boxName == "ffeModeCombox" || boxName == "equalizationModeCombox")
        return {"Auto", "Manual"};
    return {};
}

// Answers for one translation context only, so a wrong context leaves a text untranslated.
class ContextTranslator : public QTranslator
{
public:
    explicit ContextTranslator(const QString &context) : m_context(context) {}
    QString translate(const char *context, const char *text, const char *, int) const override
    {
        return QString::fromUtf8(context) == m_context ? "[" + QString::fromUtf8(text) + "]"
                                                       : QString();
    }
    bool isEmpty() const override { return false; }

private:
    QString m_context;
};

} // namespace

class TestForms : public QObject
{
    Q_OBJECT

private slots:
    void widgets_data()
    {
        QTest::addColumn<QString>("form");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("className");
        QTest::addColumn<QString>("text");
        for (const Widget &w : formWidgets)
            QTest::addRow("%s/%s", w.form, w.name) << w.form << w.name << w.className << w.text;
    }
    void widgets()
    {
        QFETCH(QString, form);
        QFETCH(QString, name);
        QFETCH(QString, className);
        QFETCH(QString, text);
        const auto page = makeForm(form);
        const QWidget *widget = page->findChild<QWidget *>(name);
        QVERIFY(widget);
        QCOMPARE(QString(widget->metaObject()->className()), className);
        if (!text.isNull())
            QCOMPARE(displayText(widget), text);
    }

    // Rows 4 to 7 are taken out of the grid for one-quad devices, spacers included.
    void laneGrid()
    {
        const auto page = makeForm("phy");
        auto *grid = page->findChild<QGridLayout *>("gridLayout_2");
        QVERIFY(grid);
        QCOMPARE(grid->rowCount(), 8);
        for (int row = 0; row < 8; ++row) {
            QLayoutItem *label = grid->itemAtPosition(row, 0);
            QLayoutItem *box = grid->itemAtPosition(row, 1);
            QLayoutItem *spacer = grid->itemAtPosition(row, 2);
            QVERIFY(label && box && spacer && spacer->spacerItem());
            QCOMPARE(label->widget()->objectName(), QStringLiteral("labelconect%1").arg(row));
            QCOMPARE(displayText(label->widget()),
                     QStringLiteral("JESD204B Lane%1 connect with:").arg(row));
            QCOMPARE(box->widget()->objectName(), QStringLiteral("Lane%1Connect").arg(row));
            QCOMPARE(box->widget()->metaObject()->className(), "QComboBox");
        }
    }

    void ranges_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("maximum");
        QTest::addColumn<int>("value");
        QTest::newRow("Cm") << "cmSpinBox" << 19 << 0;
        QTest::newRow("C1") << "c1SpinBox" << 19 << 0;
        QTest::newRow("ATT") << "attSpinBox" << 10 << 7;
        QTest::newRow("BOOST") << "boostSpinBox" << 15 << 9;
        QTest::newRow("BIAS") << "biasSpinBox" << 15 << 7;
    }
    void ranges()
    {
        QFETCH(QString, name);
        QFETCH(int, maximum);
        QFETCH(int, value);
        const auto page = makeForm("afe");
        auto *spin = page->findChild<QSpinBox *>(name);
        QCOMPARE(spin->value(), value);
        QCOMPARE(spin->buttonSymbols(), QAbstractSpinBox::NoButtons);
        spin->setValue(maximum + 1);
        QCOMPARE(spin->value(), maximum);
        spin->setValue(-1);
        QCOMPARE(spin->value(), 0);
    }

    void freshForm_data()
    {
        QTest::addColumn<QString>("form");
        QTest::addColumn<QStringList>("checked");
        QTest::newRow("core") << "core" << QStringList{"Both"};
        QTest::newRow("phy") << "phy" << QStringList{"radioButton32Bit"};
        QTest::newRow("afe") << "afe" << QStringList();
        QTest::newRow("opt") << "opt" << QStringList();
    }
    void freshForm()
    {
        QFETCH(QString, form);
        QFETCH(QStringList, checked);
        const auto page = makeForm(form);
        QCOMPARE(page->objectName(), "IPJESD204B__" + form + "_config");
        // A page the dialog has named keeps its name.
        QCOMPARE(makeForm(form, "tabPage")->objectName(), QStringLiteral("tabPage"));

        QStringList checkedNow;
        for (const QAbstractButton *button : page->findChildren<QAbstractButton *>())
            if (button->isChecked())
                checkedNow << button->objectName();
        QCOMPARE(checkedNow, checked);
        for (const QComboBox *box : page->findChildren<QComboBox *>()) {
            QStringList items;
            for (int i = 0; i < box->count(); ++i)
                items << box->itemText(i);
            QCOMPARE(items, formItems(box->objectName()));
            QCOMPARE(box->currentIndex(), items.isEmpty() ? -1 : 0);
        }
        for (const QLineEdit *edit : page->findChildren<QLineEdit *>())
            QVERIFY2(edit->text().isEmpty() || edit->objectName().startsWith("qt_"),
                     qPrintable(edit->objectName()));
    }

    // setupUi names every text through the form's own translation context.
    void translationContext_data()
    {
        QTest::addColumn<QString>("form");
        QTest::addColumn<QString>("context");
        QTest::addColumn<bool>("translated");
        const QStringList forms{"core", "phy", "afe", "opt"};
        for (int i = 0; i < forms.size(); ++i) {
            const QString own = "IPJESD204B::" + forms[i] + "_config";
            QTest::addRow("%s/own", qPrintable(forms[i])) << forms[i] << own << true;
            QTest::addRow("%s/bare class", qPrintable(forms[i]))
                << forms[i] << forms[i] + "_config" << false;
            QTest::addRow("%s/other form", qPrintable(forms[i]))
                << forms[i] << "IPJESD204B::" + forms[(i + 1) % 4] + "_config" << false;
        }
    }
    void translationContext()
    {
        QFETCH(QString, form);
        QFETCH(QString, context);
        QFETCH(bool, translated);
        ContextTranslator translator(context);
        QVERIFY(QCoreApplication::installTranslator(&translator));
        const auto page = makeForm(form);
        QVERIFY(QCoreApplication::removeTranslator(&translator));
        const auto expect = [translated](const QString &text) {
            return translated ? "[" + text + "]" : text;
        };
        QCOMPARE(page->windowTitle(), expect("Form"));
        for (const Widget &w : formWidgets) {
            if (form == w.form && w.text)
                QCOMPARE(displayText(page->findChild<QWidget *>(w.name)), expect(w.text));
        }
        for (const QComboBox *box : page->findChildren<QComboBox *>()) {
            const QStringList items = formItems(box->objectName());
            for (int i = 0; i < items.size(); ++i)
                QCOMPARE(box->itemText(i), expect(items[i]));
        }
    }
};

QTEST_MAIN(TestForms)
#include "tst_forms.moc"
