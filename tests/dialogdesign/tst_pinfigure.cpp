#include "designfixture.h"

#include <QCheckBox>
#include <QRadioButton>
#include <QTest>

#include <memory>

namespace {

QStringList labels(const QList<Utils::PinFigure> &pins)
{
    QStringList out;
    for (const Utils::PinFigure &pin : pins)
        out << pin.label();
    return out;
}

const Utils::PinFigure *find(const QList<Utils::PinFigure> &pins, const QString &label)
{
    for (const Utils::PinFigure &pin : pins) {
        if (pin.label() == label)
            return &pin;
    }
    return nullptr;
}

} // namespace

class PinFigureTest : public QObject
{
    Q_OBJECT

private slots:
    void ports_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QStringList>("lanes");
        QTest::addColumn<bool>("pcs64");
        QTest::addColumn<QString>("pll");
        QTest::addColumn<bool>("drp");
        QTest::addColumn<int>("count");
        QTest::addColumn<QStringList>("inOrder");
        QTest::addColumn<QStringList>("absent");

        QTest::newRow("both, 2 lanes, 64 bit")
            << "Both" << QStringList{"Q0 Lane0", "Q0 Lane1"} << true << "QPLL1" << false
            << 24 + 28 + 2 + 1
            << QStringList{"tx_data_sof_o[7:0]",        "tx_data_i[127:0]",  "tx_debug_o[143:0]",
                           "gt_tx_fifo_wrusewd_o[9:0]", "rx_rst_i",          "rx_data_o[127:0]",
                           "rx_data_err_o[15:0]",       "rx_debug_o[175:0]", "gt_cpll_ok_o[1:0]",
                           "gt_fabric_rstn_i",          "gt_q0_qpll1_ok_o"}
            << QStringList{"gt_q1_qpll1_ok_o", "user_drp_clk_o"};
        QTest::newRow("receive, 4 lanes, 32 bit")
            << "Receive" << QStringList{"Q0 Lane0", "Q0 Lane1", "Q0 Lane2", "Q0 Lane3"} << false
            << "QPLL0" << false << 28 + 2 + 1
            << QStringList{"rx_data_sof_o[3:0]", "gt_pma_rx_lock_o[3:0]",
                           "gt_rx_fifo_rdusewd_o[19:0]", "gt_cpll_ok_o[3:0]", "gt_q0_qpll0_ok_o"}
            << QStringList{"tx_rst_i"};
        QTest::newRow("both quads, QPLL1, DRP")
            << "Transmit" << QStringList{"Q0 Lane3", "Q1 Lane0"} << false << "QPLL1" << true
            << 24 + 2 + 2 + 10
            << QStringList{"gt_q0_qpll1_ok_o", "gt_q1_qpll1_ok_o", "user_drp_clk_o",
                           "user_drp_resp_o"}
            << QStringList{"rx_rst_i"};
        QTest::newRow("both quads, CPLL")
            << "Transmit" << QStringList{"Q0 Lane3", "Q1 Lane0"} << false << "CPLL" << false
            << 24 + 2 << QStringList{"gt_fabric_rstn_i"}
            << QStringList{"gt_q0_qpll1_ok_o", "gt_q1_qpll1_ok_o", "gt_q0_qpll0_ok_o"};
    }
    void ports()
    {
        QFETCH(QString, mode);
        QFETCH(QStringList, lanes);
        QFETCH(bool, pcs64);
        QFETCH(QString, pll);
        QFETCH(bool, drp);
        QFETCH(int, count);
        QFETCH(QStringList, inOrder);
        QFETCH(QStringList, absent);
        DesignDialog d;
        d.setMode(mode.toLatin1().constData());
        d.pickLanes(lanes);
        d.widget<QRadioButton>(pcs64 ? "radioButton64Bit" : "radioButton32Bit")->setChecked(true);
        d.select("PLL_Selection", pll);
        d.widget<QCheckBox>("checkBoxDRPPort")->setChecked(drp);

        const QList<Utils::PinFigure> pins = d.dialog()->figurePins();
        const QStringList names = labels(pins);
        QCOMPARE(pins.size(), count);
        int last = -1;
        for (const QString &label : inOrder) {
            const int at = names.indexOf(label);
            QVERIFY2(at > last, qPrintable(label));
            last = at;
        }
        for (const QString &label : absent)
            QVERIFY2(!names.contains(label), qPrintable(label));
        // Inputs on the left, outputs on the right.
        for (const Utils::PinFigure &pin : pins) {
            QCOMPARE(pin.alignment(), pin.side() == 0 ? Qt::Alignment(Qt::AlignLeft)
                                                      : Qt::Alignment(Qt::AlignRight));
            QCOMPARE(pin.label().endsWith("_i") || pin.label().contains("_i["), pin.side() == 0);
        }
    }

    // Bus flags do not follow the bit range alone.
    void busFlags_data()
    {
        QTest::addColumn<QString>("label");
        QTest::addColumn<bool>("bus");
        QTest::newRow("config address") << "rx_cfg_addr_i[31:0]" << true;
        QTest::newRow("lock per lane") << "gt_pma_rx_lock_o[1:0]" << false;
        QTest::newRow("receive fifo") << "gt_rx_fifo_rdusewd_o[9:0]" << false;
        QTest::newRow("transmit fifo") << "gt_tx_fifo_wrusewd_o[9:0]" << true;
        QTest::newRow("cpll lock") << "gt_cpll_ok_o[1:0]" << true;
        QTest::newRow("single bit") << "tx_sync_i" << false;
    }
    void busFlags()
    {
        QFETCH(QString, label);
        QFETCH(bool, bus);
        DesignDialog d;
        const Utils::PinFigure *pin = find(d.dialog()->figurePins(), label);
        QVERIFY2(pin, qPrintable(label));
        QCOMPARE(pin->isBus(), bus);
    }
};

std::unique_ptr<QObject> createPinFigureTest()
{
    return std::make_unique<PinFigureTest>();
}

#include "tst_pinfigure.moc"
