#include "corepinfigure.h"
#include "dialogfixture.h"
#include "laneallocation.h"
#include "messageboxwatcher.h"
#include "testpaths.h"

#include <serdesfunctions.h>

#include <QApplication>
#include <QFileInfo>
#include <QPainter>
#include <QRegularExpression>
#include <QTabWidget>

namespace {

const QStringList quad0{"Q0 Lane0", "Q0 Lane1", "Q0 Lane2", "Q0 Lane3"};
const QString succeed = QStringLiteral("Succeed: Succeed");

// A new core on the two-quad device, in designs/<design>.json when one is named.
class DesignDialog : public OpenDialog
{
public:
    explicit DesignDialog(const QString &design = QString())
        : OpenDialog(twoQuadDevice, Start::NewCore,
                     design.isEmpty()
                         ? design
                         : TestPaths::sourceDir() + "/tests/dialog/designs/" + design + ".json")
    {}
    void calculate() const { widget<QAbstractButton>("pushButton")->click(); }
};

// Pictures for the documentation, written when JESD_SNAPSHOT_DIR is set; a message box shows
// over the lower part of the widget.
void snapshot(QWidget *widget, const QString &name, const QPixmap &box = QPixmap())
{
    QPixmap picture = widget->grab();
    QPainter painter(&picture);
    painter.drawPixmap(QPoint((picture.width() - box.width()) / 2, picture.height() * 2 / 3), box);
    painter.end();
    const QString dir = qEnvironmentVariable("JESD_SNAPSHOT_DIR");
    QVERIFY(dir.isEmpty() || picture.save(dir + "/" + name));
}

} // namespace

class DialogDesignTest : public QObject
{
    Q_OBJECT

private slots:
    void laneOffer_data()
    {
        QTest::addColumn<QString>("design");
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QStringList>("offered");
        // rx_core_q1: a receive-only core holds all of quad 1 (the offer rules are the model's).
        // clang-format off
        QTest::newRow("lanes used the other way") << "rx_core_q1" << "Transmit" << quad0;
        QTest::newRow("nothing free") << "all_taken" << "Both" << QStringList();
        // clang-format on
    }
    void laneOffer()
    {
        QFETCH(QString, design);
        QFETCH(QString, mode);
        QFETCH(QStringList, offered);
        DesignDialog d(design);
        d.set({mode + "=1"});
        QCOMPARE(d.dialog()->availableLanes(), offered);
        QCOMPARE(d.combo("comboxNumOfLanes")->count(), offered.size());
        // Every box offers every free lane, and row k starts on the k-th one.
        for (int row = 0; row < 8; ++row) {
            QCOMPARE(d.items(d.laneBox(row)), offered);
            QCOMPARE(d.laneBox(row)->currentText(), offered.value(row, offered.value(0)));
        }
        if (offered.isEmpty()) {
            MessageBoxWatcher boxes;
            d.dialog()->accept();
            QCOMPARE(boxes.lines(), QStringList{"Error: No available lanes"});
        }

        // Duplicates are named in table order, not in the order they are found.
        QCOMPARE(IPJESD204B::LaneAllocation::duplicateLane(
                     {"Q1 Lane0", "Q0 Lane1", "Q1 Lane0", "Q0 Lane1"}),
                 QStringLiteral("Q0 Lane1"));
    }

    void pllChoice_data()
    {
        QTest::addColumn<QStringList>("actions"); // after choosing CPLL
        QTest::addColumn<QStringList>("plls");
        // Quad 0: QPLL0 runs for another core at 9.8304 GHz, QPLL1 is free. Quad 1: both run
        // at VCOs that make no 4.9152 Gbps.
        // clang-format off
        QTest::newRow("rate of the running QPLL0") << QStringList{"comboxNumOfLanes=1"} << QStringList{"QPLL0", "QPLL1", "CPLL"};
        QTest::newRow("other rate") << QStringList{"lineRate=6.25", "comboxNumOfLanes=1"} << QStringList{"QPLL1", "CPLL"};
        QTest::newRow("quad 1 only") << QStringList{"comboxNumOfLanes=1", "Lane0Connect=Q1 Lane0"} << QStringList{"CPLL"};
        // clang-format on
    }
    void pllChoice()
    {
        QFETCH(QStringList, actions);
        QFETCH(QStringList, plls);
        DesignDialog d("plls_running");
        d.set(QStringList{"PLL_Selection=CPLL"} + actions);
        QCOMPARE(d.items(d.combo("PLL_Selection")), plls);
        QCOMPARE(d.combo("PLL_Selection")->itemData(plls.size() - 1).toInt(), 2);
        // The choice survives the rebuilds while it is offered.
        QCOMPARE(d.combo("PLL_Selection")->currentText(), QStringLiteral("CPLL"));
    }

    void calculation_data()
    {
        QTest::addColumn<QString>("design");
        // On a new core: both directions on Q0 Lane0 and Q0 Lane1, 4.9152 Gbps from 122.88 MHz
        // on QPLL1.
        QTest::addColumn<QStringList>("actions");
        QTest::addColumn<QString>("message"); // how the box's "title: text" starts
        QTest::addColumn<QString>("picture");
        // clang-format off
        QTest::newRow("feasible") << "" << QStringList{"Transmit=1"} << succeed << "phy-succeeded.png";
        // The generator's own reasons, not a fallback text.
        QTest::newRow("infeasible") << "" << QStringList{"Transmit=1", "lineRate=8.0", "refClkFreq=156.25"} << "Failure: q0_ln0, q0_ln1 on Q0_QPLL1: QPLL1 cannot make 8 Gbps" << "phy-failed.png";
        QTest::newRow("duplicate lane") << "" << QStringList{"Transmit=1", "comboxNumOfLanes=3", "Lane0Connect=Q0 Lane1", "Lane1Connect=Q0 Lane2", "Lane2Connect=Q0 Lane1"} << "Error: Selected duplicate Q0 Lane1" << "";
        // rx_core_q0: a receive core on the same two lanes at 6.25 Gbps from QPLL1.
        QTest::newRow("lane at another rate") << "rx_core_q0" << QStringList{"Receive=1"} << "Error: On Q0 Lane0,the Line Rate must set 6.25" << "";
        QTest::newRow("lane on another PLL") << "rx_core_q0" << QStringList{"Receive=1", "lineRate=6.25", "PLL_Selection=CPLL"} << "Error: Please set PLL is QPLL1" << "";
        // Another core transmits on Q1 Lane2 but holds no rate or PLL there: only the host's
        // generator sees the clash, from the route the dialog registers.
        QTest::newRow("shared lane without rate") << "tx_protocols_q1" << QStringList{"Transmit=1", "Lane0Connect=Q1 Lane2", "Lane1Connect=Q0 Lane0"} << "Failure: Q1_LANE2_TX" << "";
        // refclk_running: Q0 REFCLK0 runs at 156.25 MHz.
        QTest::newRow("clock at another frequency") << "refclk_running" << QStringList{"Transmit=1", "refClkFreq=122.88"} << "Failure: The Expected Reference Clock Pin can not be connected to the Expected PLL" << "";
        // clang-format on
    }
    // Calculate twice (the lanes are released after each run, so the verdict repeats), then
    // accept: the same chain, with every failure box but no success box.
    void calculation()
    {
        QFETCH(QString, design);
        QFETCH(QStringList, actions);
        QFETCH(QString, message);
        QFETCH(QString, picture);
        DesignDialog d(design);
        d.set(actions);
        d.dialog()->tabWidget()->setCurrentIndex(1);
        d.dialog()->show();
        const bool feasible = message == succeed;

        QPixmap boxPicture; // of the first box
        QTimer::singleShot(
            0, [&boxPicture] { boxPicture = QApplication::activeModalWidget()->grab(); });
        MessageBoxWatcher boxes;
        d.calculate();
        d.calculate();
        const QString verdict = boxes.lines().value(0);
        QVERIFY2(verdict.startsWith(message), qPrintable(verdict));
        const QStringList twice{verdict, verdict};
        QCOMPARE(boxes.lines(), twice);
        QCOMPARE(IPSERDESIP::serdes::instance()->routeConflicts(), QStringList());
        QCOMPARE(QFileInfo::exists(d.projectDir() + "/temp/jesd204b/jesd204b.csr"), feasible);
        if (!picture.isEmpty())
            snapshot(d.dialog()->tabWidget()->currentWidget(), picture, boxPicture);

        d.dialog()->accept();
        QCOMPARE(d.dialog()->result() == QDialog::Accepted, feasible);
        QCOMPARE(boxes.lines(), feasible ? twice : twice + QStringList{verdict});
        // Only a calculation that passes records the bias decision.
        QCOMPARE(d.parameters().contains("ifChangedAllOfBias"), feasible);
    }

    void refClkFrequencyFollowsSource()
    {
        DesignDialog d("refclk_running");
        for (const QString source : {"Q0 REFCLK0", "Q0 REFCLK1", "Q0 REFCLK0"}) {
            d.set({"refClkSource=" + source});
            const bool fixed = source == "Q0 REFCLK0";
            QCOMPARE(d.widget<QLineEdit>("refClkFreq")->text(), fixed ? "156.25" : "122.88");
            QCOMPARE(d.widget<QLineEdit>("refClkFreq")->isEnabled(), !fixed);
        }
    }

    // Refusals before anything is recorded: a DRP record of another module on the same lanes,
    // and a main tap of 20 or less, which is also warned about as it is set.
    void acceptChecks_data()
    {
        QTest::addColumn<QStringList>("actions");  // on a transmit core on Q0 Lane0 and Q0 Lane1
        QTest::addColumn<QStringList>("recorded"); // the lanes of adc_link's DRP record
        QTest::addColumn<QStringList>("boxes");
        // clang-format off
        QTest::newRow("DRP on the same lanes") << QStringList{"checkBoxDRPPort=1"} << QStringList{"Q0 Lane0", "Q0 Lane1"} << QStringList{"Error: There is a DRP interface conflict between adc_link and jesd204b_0"};
        QTest::newRow("DRP port off") << QStringList() << QStringList{"Q0 Lane0", "Q0 Lane1"} << QStringList();
        QTest::newRow("C0 20") << QStringList{"cmSpinBox=19", "c1SpinBox=1"} << QStringList() << QStringList{"Warning: C0 must be greater than 20.", "Warning: C0 must be greater than 20."};
        // clang-format on
    }
    void acceptChecks()
    {
        QFETCH(QStringList, actions);
        QFETCH(QStringList, recorded);
        DesignDialog d;
        d.set({"Transmit=1"});
        IPSERDESIP::serdes *model = IPSERDESIP::serdes::instance();
        model->setData("jesd204bCheckDRP_adc_link", IPSERDESIP::FromLaneToInt(recorded));
        MessageBoxWatcher boxes;
        d.set(actions);
        d.dialog()->accept();
        QTEST(boxes.lines(), "boxes");
        const bool accepted = boxes.lines().isEmpty();
        QCOMPARE(d.dialog()->result() == QDialog::Accepted, accepted);
        QCOMPARE(d.parameters().isEmpty(), !accepted);
        // Only an accepted core with the port leaves its own record.
        const QVariant own = IPSERDESIP::FromLaneToInt({"Q0 Lane0", "Q0 Lane1"});
        QCOMPARE(model->getData("jesd204bCheckDRP_jesd204b_0"),
                 accepted && actions.contains("checkBoxDRPPort=1") ? own : QVariant());
    }

    void biasScope_data()
    {
        QTest::addColumn<QStringList>("actions");
        QTest::addColumn<QString>("affected");      // lanes named by the question; none: not asked
        QTest::addColumn<int>("decision");          // 2: the answer is No, else Yes
        QTest::addColumn<QStringList>("biasLines"); // %1: the bias
        // clang-format off
        QTest::newRow("half a quad, no") << QStringList{"Receive=1"} << "Q0 Lane2, Q0 Lane3" << 2 << QStringList();
        QTest::newRow("both quads, yes") << QStringList{"Both=1", "Lane0Connect=Q0 Lane3", "Lane1Connect=Q1 Lane0"} << "Q0 Lane0, Q0 Lane1, Q0 Lane2, Q1 Lane1, Q1 Lane2, Q1 Lane3" << 1 << QStringList{"q0_rx_eq_bias %1", "q1_rx_eq_bias %1"};
        QTest::newRow("quad 1, yes") << QStringList{"Receive=1", "comboxNumOfLanes=1", "Lane0Connect=Q1 Lane2"} << "Q1 Lane0, Q1 Lane1, Q1 Lane3" << 1 << QStringList{"q1_rx_eq_bias %1"};
        // A mode switch sets the box back to 7: that value reaches the question and the generator.
        QTest::newRow("whole quad") << QStringList{"biasSpinBox=12", "Receive=1", "comboxNumOfLanes=4"} << "" << 1 << QStringList{"q0_rx_eq_bias %1"};
        QTest::newRow("transmit only") << QStringList{"Transmit=1", "comboxNumOfLanes=1"} << "" << 0 << QStringList();
        // clang-format on
    }
    // Asked once per configuration; a new bias value asks again, here at acceptance, which
    // publishes the quad bias only when it applies.
    void biasScope()
    {
        QFETCH(QStringList, actions);
        QFETCH(QString, affected);
        QFETCH(int, decision);
        QFETCH(QStringList, biasLines);
        DesignDialog d;
        d.set(actions);
        MessageBoxWatcher boxes;
        boxes.setDefaultAnswer(decision == 2 ? QMessageBox::No : QMessageBox::Yes);
        QStringList asked; // %1: the bias
        if (!affected.isEmpty())
            asked << "Question: " + affected +
                         " BIAS will also be changed to %1, whether to accept or not? ";
        const auto with = [](QStringList lines, int bias) {
            return lines.replaceInStrings("%1", QString::number(bias));
        };
        d.calculate();
        d.calculate();
        QCOMPARE(boxes.lines(), with(asked, 7) << succeed << succeed);
        QCOMPARE(d.dialog()->serdesOptions().filter("_rx_eq_bias "), with(biasLines, 7));
        QCOMPARE(d.dialog()->biasDecision(), decision);

        d.set({"biasSpinBox=12"});
        QCOMPARE(d.dialog()->biasDecision(), 0);
        boxes.clear();
        d.dialog()->accept();
        QCOMPARE(d.dialog()->result(), int(QDialog::Accepted));
        QCOMPARE(boxes.lines(), with(asked, 12));
        QCOMPARE(d.dialog()->serdesOptions().filter("_rx_eq_bias "), with(biasLines, 12));
        for (const QString quad : {"q0", "q1"})
            QCOMPARE(IPSERDESIP::serdes::instance()->getData(quad.toUpper() + "_BIAS").toInt(),
                     biasLines.filter(quad + "_").isEmpty() ? 0 : 12);
        QCOMPARE(d.parameters().value("ifChangedAllOfBias").toBool(), !biasLines.isEmpty());
    }

    // The bias box follows what other cores published for the one quad in use, 7 otherwise. A
    // core-mode switch refills the lane boxes: on the way no lane is in use and the box goes
    // back to 7, from where only a bias published for the quad finally chosen moves it.
    void biasAfterModeSwitch_data()
    {
        QTest::addColumn<QString>("design");
        QTest::addColumn<QStringList>("actions");
        QTest::addColumn<QStringList>("lanes"); // in use afterwards
        QTest::addColumn<int>("bias");
        // rx_core_q0_bias_q1: quad 0 receives for another core, so a core in both directions
        // starts on quad 1; "Q1_BIAS" is 9, nothing is published for quad 0.
        // clang-format off
        QTest::newRow("typed, to transmit") << "" << QStringList{"biasSpinBox=3", "Transmit=1"} << QStringList{"Q0 Lane0", "Q0 Lane1"} << 7;
        QTest::newRow("quad 1 published, quad 0 chosen") << "rx_core_q0_bias_q1" << QStringList{"Receive=1"} << QStringList{"Q0 Lane0", "Q0 Lane1"} << 7;
        QTest::newRow("quad 0 not published: typed value stays") << "rx_core_q0_bias_q1" << QStringList{"Receive=1", "comboxNumOfLanes=1", "biasSpinBox=5", "Lane0Connect=Q0 Lane1"} << QStringList{"Q0 Lane1"} << 5;
        QTest::newRow("two quads") << "rx_core_q0_bias_q1" << QStringList{"Receive=1", "comboxNumOfLanes=2", "Lane0Connect=Q1 Lane1", "Lane1Connect=Q0 Lane0"} << QStringList{"Q1 Lane1", "Q0 Lane0"} << 7;
        QTest::newRow("quad 1 published, quad 1 chosen") << "rx_core_q0_bias_q1" << QStringList{"Receive=1", "Lane0Connect=Q1 Lane0", "Lane1Connect=Q1 Lane1", "biasSpinBox=12", "Both=1"} << QStringList{"Q1 Lane0", "Q1 Lane1"} << 9;
        // clang-format on
    }
    void biasAfterModeSwitch()
    {
        QFETCH(QString, design);
        QFETCH(QStringList, actions);
        QFETCH(QStringList, lanes);
        QFETCH(int, bias);
        DesignDialog d(design);
        d.set(actions);
        QCOMPARE(d.unmet({{"usedLanes", lanes}, {"biasSpinBox.value", bias}, {"biasDecision", 0}}),
                 QString());
    }

    // Holds keep the figure while its inputs change; the last one draws it once, and unchanged
    // inputs draw nothing.
    void pinFigureHolds()
    {
        IPJESD204B::CorePinFigure::Inputs inputs;
        inputs.transmit = true;
        inputs.lanes = 2;
        QStringList drawn; // the label of each drawing's data bus
        IPJESD204B::CorePinFigure figure(
            [&inputs] { return inputs; },
            [&drawn](const QList<Utils::PinFigure> &pins) { drawn << pins.at(19).label(); });
        {
            const IPJESD204B::CorePinFigure::Hold outer(figure);
            {
                const IPJESD204B::CorePinFigure::Hold inner(figure);
                figure.refresh();
            }
            inputs.widthFactor = 2;
            figure.refresh();
            QCOMPARE(drawn, QStringList());
        }
        QCOMPARE(drawn, QStringList{"tx_data_i[127:0]"});
        figure.refresh();
        inputs.lanes = 4;
        figure.refresh();
        QCOMPARE(drawn, (QStringList{"tx_data_i[127:0]", "tx_data_i[255:0]"}));
    }

    // The port set with the sides is compared with the generated wrapper's elsewhere; here the
    // order, the alignment and the bus flags.
    void pinFigure()
    {
        DesignDialog d; // both directions on Q0 Lane0 and Q0 Lane1
        d.set({"radioButton64Bit=1", "PLL_Selection=QPLL1", "checkBoxDRPPort=1"});
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
            QCOMPARE(pin.alignment(),
                     Qt::Alignment(pin.side() == 0 ? Qt::AlignLeft : Qt::AlignRight));
            QCOMPARE(pin.isBus(), label.contains('[') && !label.contains(perLane));
        }
        QCOMPARE(listed, order);
        d.dialog()->show();
        snapshot(d.dialog(), "pins-both-drp.png");
    }
};

QTEST_MAIN(DialogDesignTest)
#include "tst_dialogdesign.moc"
