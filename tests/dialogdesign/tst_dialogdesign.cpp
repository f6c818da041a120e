#include "designfixture.h"
#include "messageboxwatcher.h"

#include <serdesfunctions.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QPainter>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>

namespace {

const QStringList quad0{"Q0 Lane0", "Q0 Lane1", "Q0 Lane2", "Q0 Lane3"};
const QStringList pair{"Q0 Lane0", "Q0 Lane1"};

struct Calculation
{
    QString design, mode;
    QStringList lanes;
    QString lineRate, refClkFreq, pll, message, snapshot;
};

struct BiasScope
{
    QString mode;
    QStringList lanes;
    QMessageBox::StandardButton answer;
    QStringList asked, biasLines, published; // %1: the bias
    int decision;
};

QStringList withBias(QStringList lines, int bias)
{
    return lines.replaceInStrings("%1", QString::number(bias));
}

// Records and photographs each message box, then presses OK.
struct BoxCamera : QTimer
{
    BoxCamera()
    {
        connect(this, &QTimer::timeout, [this] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                lines << box->windowTitle() + ": " + box->text();
                picture = box->grab();
                box->button(QMessageBox::Ok)->click();
            }
        });
        start(5);
    }
    QStringList lines;
    QPixmap picture;
};

// Pictures for the documentation, written when JESD_SNAPSHOT_DIR is set; a message box shows
// over the lower part of the widget.
void snapshot(QWidget *widget, const QString &name, const QPixmap &box = QPixmap())
{
    QPixmap picture = widget->grab();
    QPainter painter(&picture);
    const QPoint at((picture.width() - box.width()) / 2, picture.height() * 2 / 3);
    painter.drawPixmap(at, box);
    painter.end();
    const QString dir = qEnvironmentVariable("JESD_SNAPSHOT_DIR");
    QVERIFY(dir.isEmpty() || picture.save(dir + "/" + name));
}

} // namespace

Q_DECLARE_METATYPE(Calculation)
Q_DECLARE_METATYPE(BiasScope)

class DialogDesignTest : public QObject
{
    Q_OBJECT

private slots:
    void laneOffer_data()
    {
        QTest::addColumn<QString>("design");
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QStringList>("offered");
        // rx_core_q1: a receive-only core holds all of quad 1. tx_protocols_q1: quad 1 lanes 0
        // and 1 transmit for the two named protocols, lane 2 for another core, lane 3 receives.
        // clang-format off
        QTest::newRow("lanes used the other way") << "rx_core_q1" << "Transmit" << quad0;
        QTest::newRow("lanes used our way") << "rx_core_q1" << "Receive" << quad0 + QStringList{"Q1 Lane0", "Q1 Lane1", "Q1 Lane2", "Q1 Lane3"};
        QTest::newRow("named protocols") << "tx_protocols_q1" << "Transmit" << quad0 + QStringList{"Q1 Lane2"};
        QTest::newRow("nothing free") << "all_taken" << "Both" << QStringList();
        // clang-format on
    }
    void laneOffer()
    {
        QFETCH(QString, design);
        QFETCH(QString, mode);
        QFETCH(QStringList, offered);
        DesignDialog d(design);
        d.setMode(mode);
        QCOMPARE(d.dialog()->availableLanes(), offered);
        QCOMPARE(d.dialog()->availableLaneCount(), offered.size());
        QStringList counts;
        for (int i = 1; i <= offered.size(); ++i)
            counts << QString::number(i);
        QCOMPARE(d.items(d.combo("comboxNumOfLanes")), counts);
        // Every box offers every free lane, and row k starts on the k-th one.
        for (int row = 0; row < 8; ++row) {
            QCOMPARE(d.items(d.laneBox(row)), offered);
            QCOMPARE(d.laneBox(row)->currentText(), offered.value(row, offered.value(0)));
        }
    }

    // The chosen count stays while offered, else the largest offered count replaces it.
    void laneCountFollowsOffer()
    {
        DesignDialog d("rx_core_q1");
        for (const QString chosen : {"3", "7"}) {
            d.setMode("Receive");
            d.select("comboxNumOfLanes", chosen);
            d.setMode("Transmit");
            QCOMPARE(d.combo("comboxNumOfLanes")->currentText(), chosen == "3" ? chosen : "4");
        }
        d.dialog()->collectUsedLanes();
        QCOMPARE(d.dialog()->usedLanes(), quad0);
    }

    void pllChoice_data()
    {
        QTest::addColumn<QStringList>("lanes");
        QTest::addColumn<QString>("lineRate");
        QTest::addColumn<QStringList>("plls");
        // Quad 0: QPLL0 runs for another core at 9.8304 GHz, QPLL1 is free. Quad 1: both run
        // at VCOs that make no 4.9152 Gbps.
        // clang-format off
        QTest::newRow("rate of the running QPLL0") << QStringList{"Q0 Lane0"} << "4.9152" << QStringList{"QPLL0", "QPLL1", "CPLL"};
        QTest::newRow("other rate") << QStringList{"Q0 Lane0"} << "6.25" << QStringList{"QPLL1", "CPLL"};
        QTest::newRow("quad 1 only") << QStringList{"Q1 Lane0"} << "4.9152" << QStringList{"CPLL"};
        // clang-format on
    }
    void pllChoice()
    {
        QFETCH(QStringList, lanes);
        QFETCH(QString, lineRate);
        QFETCH(QStringList, plls);
        DesignDialog d("plls_running");
        d.select("PLL_Selection", "CPLL");
        d.setText("lineRate", lineRate);
        d.pickLanes(lanes);
        QCOMPARE(d.items(d.combo("PLL_Selection")), plls);
        QCOMPARE(d.combo("PLL_Selection")->itemData(plls.size() - 1).toInt(), 2);
        // The choice survives the rebuilds while it is offered.
        QCOMPARE(d.combo("PLL_Selection")->currentText(), QStringLiteral("CPLL"));
    }

    void calculation_data()
    {
        QTest::addColumn<Calculation>("c");
        const QString pll =
            "Error: Please set PLL is " + IPSERDESIP::FromPllToStringOption("QPLL1");
        // clang-format off
        QTest::newRow("feasible") << Calculation{"", "Transmit", pair, "4.9152", "122.88", "QPLL1", "Succeed: Succeed", "phy-succeeded.png"};
        // The generator's own reasons, not a fallback text.
        QTest::newRow("infeasible") << Calculation{"", "Transmit", pair, "8.0", "156.25", "QPLL1", "Failure: q0_ln0, q0_ln1 on Q0_QPLL1: QPLL1 cannot make 8 Gbps", "phy-failed.png"};
        QTest::newRow("duplicate lane") << Calculation{"", "Transmit", {"Q0 Lane1", "Q0 Lane2", "Q0 Lane1"}, "4.9152", "122.88", "QPLL1", "Error: Selected duplicate Q0 Lane1", ""};
        // rx_core_q0: a receive core on the same two lanes at 6.25 Gbps from QPLL1.
        QTest::newRow("lane at another rate") << Calculation{"rx_core_q0", "Receive", pair, "4.9152", "122.88", "QPLL1", "Error: On Q0 Lane0,the Line Rate must set 6.25", ""};
        QTest::newRow("lane on another PLL") << Calculation{"rx_core_q0", "Receive", pair, "6.25", "122.88", "CPLL", pll, ""};
        // Another core transmits on Q1 Lane2 but holds no rate or PLL there: only the host's
        // generator sees the clash.
        QTest::newRow("shared lane without rate") << Calculation{"tx_protocols_q1", "Transmit", {"Q1 Lane2", "Q0 Lane0"}, "4.9152", "122.88", "QPLL1", "Failure: Q1_LANE2_TX", ""};
        // refclk_running: Q0 REFCLK0 runs at 156.25 MHz.
        QTest::newRow("clock at another frequency") << Calculation{"refclk_running", "Transmit", pair, "4.9152", "122.88", "QPLL1", "Failure: The Expected Reference Clock Pin can not be connected to the Expected PLL", ""};
        // clang-format on
    }
    // Calculate twice (the lanes are released after each run, so the verdict repeats), then
    // accept: the same chain, with every failure box but no success box.
    void calculation()
    {
        QFETCH(Calculation, c);
        DesignDialog d(c.design);
        d.setMode(c.mode);
        d.setText("lineRate", c.lineRate);
        d.pickLanes(c.lanes);
        d.select("PLL_Selection", c.pll);
        d.widget<QLineEdit>("refClkFreq")->setText(c.refClkFreq);
        d.dialog()->tabWidget()->setCurrentIndex(1);
        d.dialog()->show();
        const bool feasible = c.message.startsWith("Succeed");

        BoxCamera boxes;
        QCOMPARE(d.calculate(), feasible);
        QCOMPARE(d.calculate(), feasible);
        QCOMPARE(boxes.lines.size(), 2);
        QVERIFY2(boxes.lines.first().startsWith(c.message), qPrintable(boxes.lines.first()));
        QCOMPARE(boxes.lines.last(), boxes.lines.first());
        QCOMPARE(IPSERDESIP::serdes::instance()->routeConflicts(), QStringList());
        QCOMPARE(QFileInfo::exists(d.projectDir() + "/temp/jesd204b/jesd204b.csr"), feasible);
        if (!c.snapshot.isEmpty())
            snapshot(d.dialog()->tabWidget()->currentWidget(), c.snapshot, boxes.picture);

        d.dialog()->accept();
        QCOMPARE(d.dialog()->result() == QDialog::Accepted, feasible);
        QCOMPARE(boxes.lines.size(), feasible ? 2 : 3);
        QCOMPARE(boxes.lines.last(), boxes.lines.first());
    }

    void refClkFrequencyFollowsSource()
    {
        DesignDialog d("refclk_running");
        for (const char *source : {"Q0 REFCLK0", "Q0 REFCLK1", "Q0 REFCLK0"}) {
            d.select("refClkSource", source);
            const bool fixed = qstrcmp(source, "Q0 REFCLK0") == 0;
            QCOMPARE(d.widget<QLineEdit>("refClkFreq")->text(), fixed ? "156.25" : "122.88");
            QCOMPARE(d.widget<QLineEdit>("refClkFreq")->isEnabled(), !fixed);
        }
    }

    void drpConflict_data()
    {
        QTest::addColumn<bool>("drpPort");
        QTest::addColumn<QStringList>("recordedLanes");
        QTest::addColumn<bool>("conflict");
        QTest::newRow("same lanes") << true << pair << true;
        QTest::newRow("other lanes") << true << QStringList{"Q0 Lane2", "Q0 Lane3"} << false;
        QTest::newRow("port off") << false << pair << false;
    }
    void drpConflict()
    {
        QFETCH(bool, drpPort);
        QFETCH(QStringList, recordedLanes);
        QFETCH(bool, conflict);
        DesignDialog d;
        d.setMode("Transmit");
        d.widget<QCheckBox>("checkBoxDRPPort")->setChecked(drpPort);
        IPSERDESIP::serdes *model = IPSERDESIP::serdes::instance();
        model->setData("jesd204bCheckDRP_adc_link", IPSERDESIP::FromLaneToInt(recordedLanes));
        MessageBoxWatcher boxes;
        d.dialog()->accept();
        const QString message =
            "Error: There is a DRP interface conflict between adc_link and jesd204b_0";
        QCOMPARE(boxes.lines(), conflict ? QStringList{message} : QStringList());
        QCOMPARE(d.dialog()->result() == QDialog::Accepted, !conflict);
        // Only an accepted core with the port leaves its own record.
        const QVariant own = model->getData("jesd204bCheckDRP_jesd204b_0");
        QCOMPARE(own,
                 drpPort && !conflict ? QVariant(IPSERDESIP::FromLaneToInt(pair)) : QVariant());
    }

    void mainTap()
    {
        DesignDialog d;
        MessageBoxWatcher boxes;
        const auto c0 = [&d] { return d.widget<QLabel>("c0Lael")->text(); };
        d.widget<QSpinBox>("cmSpinBox")->setValue(19);
        QCOMPARE(c0(), QStringLiteral("21"));
        QVERIFY(boxes.lines().isEmpty());
        d.widget<QSpinBox>("c1SpinBox")->setValue(1);
        QCOMPARE(c0(), QStringLiteral("20"));
        const QString warning = "Warning: C0 must be greater than 20.";
        QCOMPARE(boxes.lines(), QStringList{warning});
        // Acceptance stops on the same rule, before anything is recorded.
        d.dialog()->accept();
        QCOMPARE(boxes.lines(), (QStringList{warning, warning}));
        QVERIFY(d.parameters().isEmpty());
    }

    void biasScope_data()
    {
        QTest::addColumn<BiasScope>("b");
        const auto asked = [](const QString &lanes) {
            return QStringList{
                QStringLiteral(
                    "Question: %1 BIAS will also be changed to %2, whether to accept or not? ")
                    .arg(lanes, "%1")};
        };
        // clang-format off
        QTest::newRow("half a quad, no") << BiasScope{"Receive", pair, QMessageBox::No, asked("Q0 Lane2, Q0 Lane3"), {}, {}, 2};
        QTest::newRow("both quads, yes") << BiasScope{"Both", {"Q0 Lane3", "Q1 Lane0"}, QMessageBox::Yes, asked("Q0 Lane0, Q0 Lane1, Q0 Lane2, Q1 Lane1, Q1 Lane2, Q1 Lane3"), {"q0_rx_eq_bias %1", "q1_rx_eq_bias %1"}, {"Q0_BIAS", "Q1_BIAS"}, 1};
        QTest::newRow("quad 1, yes") << BiasScope{"Receive", {"Q1 Lane2"}, QMessageBox::Yes, asked("Q1 Lane0, Q1 Lane1, Q1 Lane3"), {"q1_rx_eq_bias %1"}, {"Q1_BIAS"}, 1};
        QTest::newRow("whole quad") << BiasScope{"Receive", quad0, QMessageBox::No, {}, {"q0_rx_eq_bias %1"}, {"Q0_BIAS"}, 1};
        QTest::newRow("transmit only") << BiasScope{"Transmit", {"Q0 Lane0"}, QMessageBox::Yes, {}, {}, {}, 0};
        // clang-format on
    }
    // Asked once per configuration; a new bias value asks again, here at acceptance, which
    // publishes the quad bias only when it applies.
    void biasScope()
    {
        QFETCH(BiasScope, b);
        DesignDialog d;
        d.setMode(b.mode);
        d.pickLanes(b.lanes);
        MessageBoxWatcher boxes;
        boxes.setDefaultAnswer(b.answer);
        QVERIFY(d.calculate());
        QVERIFY(d.calculate());
        const QStringList succeed{"Succeed: Succeed"};
        QCOMPARE(boxes.lines(), withBias(b.asked, 7) + succeed + succeed);
        QCOMPARE(d.dialog()->serdesOptions().filter("_rx_eq_bias "), withBias(b.biasLines, 7));
        QCOMPARE(d.dialog()->biasDecision(), b.decision);

        d.widget<QSpinBox>("biasSpinBox")->setValue(12);
        QCOMPARE(d.dialog()->biasDecision(), 0);
        boxes.clear();
        d.dialog()->accept();
        QCOMPARE(d.dialog()->result(), int(QDialog::Accepted));
        QCOMPARE(boxes.lines(), withBias(b.asked, 12));
        QCOMPARE(d.dialog()->serdesOptions().filter("_rx_eq_bias "), withBias(b.biasLines, 12));
        for (const QString key : {"Q0_BIAS", "Q1_BIAS"})
            QCOMPARE(IPSERDESIP::serdes::instance()->getData(key).toInt(),
                     b.published.contains(key) ? 12 : 0);
        QCOMPARE(d.parameters().value("ifChangedAllOfBias").toBool(), !b.published.isEmpty());
    }

    // The box follows what other cores published for the one quad in use.
    void biasDefault()
    {
        DesignDialog d;
        IPSERDESIP::serdes::instance()->setData("Q0_BIAS", 11);
        auto *bias = d.widget<QSpinBox>("biasSpinBox");
        d.pickLanes({"Q1 Lane1"});
        bias->setValue(5);
        QMetaObject::invokeMethod(d.dialog(), "updateBiasDefaultValue", Qt::DirectConnection);
        QCOMPARE(bias->value(), 5); // nothing published for quad 1
        d.pickLanes({"Q0 Lane1"});
        QCOMPARE(bias->value(), 11);
        d.pickLanes({"Q0 Lane1", "Q1 Lane1"});
        QCOMPARE(bias->value(), 7);
    }

    // The full port set is compared with the generated wrapper's elsewhere; here the order,
    // the sides and the bus flags.
    void pinFigure()
    {
        DesignDialog d; // both directions on Q0 Lane0 and Q0 Lane1
        d.widget<QRadioButton>("radioButton64Bit")->setChecked(true);
        d.select("PLL_Selection", "QPLL1");
        d.widget<QCheckBox>("checkBoxDRPPort")->setChecked(true);
        // clang-format off
        const QStringList order{"tx_data_sof_o[7:0]", "tx_data_i[127:0]", "tx_debug_o[143:0]", "gt_tx_fifo_wrusewd_o[9:0]",
                                "rx_rst_i", "rx_data_o[127:0]", "rx_data_err_o[15:0]", "rx_debug_o[175:0]",
                                "gt_cpll_ok_o[1:0]", "gt_fabric_rstn_i", "gt_q0_qpll1_ok_o", "user_drp_clk_o", "user_drp_resp_o"};
        // clang-format on
        // The per-lane status and receive FIFO ports are multi-bit but not drawn as buses.
        const QRegularExpression perLane(
            "^gt_(pma_rx_lock|rx_k_lock|rx_align_link|rx_fifo_rdusewd)");
        QStringList listed;
        for (const Utils::PinFigure &pin : d.dialog()->figurePins()) {
            const QString label = pin.label();
            if (order.contains(label))
                listed << label;
            QCOMPARE(label.endsWith("_i") || label.contains("_i["), pin.side() == 0);
            QCOMPARE(pin.alignment(),
                     Qt::Alignment(pin.side() == 0 ? Qt::AlignLeft : Qt::AlignRight));
            QCOMPARE(pin.isBus(), label.contains('[') && !label.contains(perLane));
        }
        QCOMPARE(d.dialog()->figurePins().size(), 24 + 28 + 2 + 1 + 10);
        QCOMPARE(listed, order);
        d.dialog()->show();
        snapshot(d.dialog(), "pins-both-drp.png");
    }
};

QTEST_MAIN(DialogDesignTest)
#include "tst_dialogdesign.moc"
