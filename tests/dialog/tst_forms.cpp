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

// Texts the user reads on the forms: form, object name, label or button text or group box title.
// clang-format off
const char *const formTexts[][3] = {
    {"core", "Receive", "Receive"}, {"core", "Transmit", "Transmit"},
    {"core", "Both", "Both Receive and Transmit"},
    {"core", "LMFCBuffer", "LMFC Buffer (Receiver parameter)"},
    {"core", "rpatGenerator", "Include RPAT Generator"},
    {"core", "jspatGenerator", "Include JSPAT Generator"}, {"core", "label_4", "(1~256)"},
    {"core", "label_6", "(1~32)"}, {"core", "checkBoxFixedCfgEnable", "Fixed Config Enable"},
    {"core", "label_9", "(1~100)"}, {"phy", "radioButton32Bit", "32bit"},
    {"phy", "radioButton64Bit", "64bit"}, {"phy", "pushButton", "Calculate"},
    {"afe", "groupBoxTx", "TX"}, {"afe", "label", "(0~19)"}, {"afe", "c0Lael", "TextLabel"},
    {"afe", "label_2", "(0~19)"}, {"afe", "groupBoxRx", "RX"}, {"afe", "label_14", "(0~10)"},
    {"afe", "label_15", "(0~15)"}, {"opt", "checkBoxDRPPort", "DRP Ports"},
};
// clang-format on

QString displayText(const QWidget *widget)
{
    if (auto *box = qobject_cast<const QGroupBox *>(widget))
        return box->title();
    return widget->property("text").toString();
}

// The only choices a form fills itself; the dialog fills every other box.
const QStringList autoManual{"Auto", "Manual"};
QStringList formItems(const QString &boxName)
{
    return boxName == "ffeModeCombox" || boxName == "equalizationModeCombox" ? autoManual
                                                                             : QStringList();
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
    void ranges_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("maximum");
        QTest::addColumn<int>("value");
        // clang-format off
        QTest::newRow("Cm") << "cmSpinBox" << 19 << 0;
        QTest::newRow("ATT") << "attSpinBox" << 10 << 7;
        QTest::newRow("BOOST") << "boostSpinBox" << 15 << 9;
        QTest::newRow("BIAS") << "biasSpinBox" << 15 << 7;
        // clang-format on
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
        QTest::addColumn<QString>("otherForm");
        QTest::addColumn<QStringList>("checked");
        // clang-format off
        QTest::newRow("core") << "core" << "phy" << QStringList{"Both"};
        QTest::newRow("phy") << "phy" << "afe" << QStringList{"radioButton32Bit"};
        QTest::newRow("afe") << "afe" << "opt" << QStringList();
        QTest::newRow("opt") << "opt" << "core" << QStringList();
        // clang-format on
    }
    // Every text goes through the form's own translation context, not another form's.
    void freshForm()
    {
        QFETCH(QString, form);
        QFETCH(QString, otherForm);
        QFETCH(QStringList, checked);
        for (const bool own : {true, false}) {
            ContextTranslator translator("IPJESD204B::" + (own ? form : otherForm) + "_config");
            QVERIFY(QCoreApplication::installTranslator(&translator));
            const auto page = makeForm(form);
            QVERIFY(QCoreApplication::removeTranslator(&translator));
            const auto expect = [own](const QString &text) {
                return own ? "[" + text + "]" : text;
            };
            QCOMPARE(page->objectName(), "IPJESD204B__" + form + "_config");
            QCOMPARE(page->windowTitle(), expect("Form"));
            for (const auto &text : formTexts) {
                if (form == text[0]) {
                    const QWidget *widget = page->findChild<QWidget *>(text[1]);
                    QVERIFY2(widget, text[1]);
                    QCOMPARE(displayText(widget), expect(text[2]));
                }
            }
            QStringList checkedNow;
            for (const QAbstractButton *button : page->findChildren<QAbstractButton *>())
                if (button->isChecked())
                    checkedNow << button->objectName();
            QCOMPARE(checkedNow, checked);
            for (const QComboBox *box : page->findChildren<QComboBox *>()) {
                const QStringList items = formItems(box->objectName());
                QCOMPARE(box->count(), items.size());
                for (int i = 0; i < items.size(); ++i)
                    QCOMPARE(box->itemText(i), expect(items[i]));
                QCOMPARE(box->currentIndex(), items.isEmpty() ? -1 : 0);
            }
            for (const QLineEdit *edit : page->findChildren<QLineEdit *>())
                QVERIFY2(edit->text().isEmpty() || edit->objectName().startsWith("qt_"),
                         qPrintable(edit->objectName()));
        }
        // A page the dialog has named keeps its name.
        QCOMPARE(makeForm(form, "tabPage")->objectName(), QStringLiteral("tabPage"));
    }
};

QTEST_MAIN(TestForms)
#include "tst_forms.moc"
