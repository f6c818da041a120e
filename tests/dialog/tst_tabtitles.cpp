#include "dialogfixture.h"

#include <QApplication>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>

// The dialog opens at a size that shows every tab title whole, whatever the font, as the
// snapshot renders it and a window shows it.
class TabTitlesTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_font = QApplication::font(); }
    void cleanup() { QApplication::setFont(m_font); }

    void titlesWhole_data()
    {
        QTest::addColumn<QString>("device");
        QTest::addColumn<qreal>("pointSizeGrowth"); // of the application font
        QTest::newRow("two quads") << twoQuadDevice << 0.0;
        QTest::newRow("group A") << groupADevice << 0.0;
        QTest::newRow("larger font") << twoQuadDevice << 4.0;
        QTest::newRow("much larger font") << groupBDevice << 9.0;
    }
    void titlesWhole()
    {
        QFETCH(QString, device);
        QFETCH(qreal, pointSizeGrowth);
        QFont font = m_font;
        font.setPointSizeF(font.pointSizeF() + pointSizeGrowth);
        QApplication::setFont(font);

        OpenDialog d(device);
        d.dialog()->show();
        QVERIFY(QTest::qWaitForWindowExposed(d.dialog()));
        const auto *tabs = d.widget<QTabWidget>(QStringLiteral("protocolTabs"));
        const QTabBar *bar = tabs->tabBar();
        QCOMPARE(bar->count(), 4);
        const QFontMetrics metrics(bar->font());
        // The label is drawn inside the tab less the style's horizontal padding.
        const int padding = bar->style()->pixelMetric(QStyle::PM_TabBarTabHSpace, nullptr, bar);
        for (int i = 0; i < bar->count(); ++i) {
            const QRect rect = bar->tabRect(i);
            const int textWidth = metrics.horizontalAdvance(bar->tabText(i));
            QVERIFY2(rect.width() - padding >= textWidth,
                     qPrintable(QStringLiteral("%1: %2 px of %3 px shown")
                                    .arg(bar->tabText(i))
                                    .arg(rect.width() - padding)
                                    .arg(textWidth)));
            QVERIFY(bar->rect().contains(rect));
        }
        QVERIFY(tabs->rect().contains(bar->geometry()));
    }

private:
    QFont m_font;
};

QTEST_MAIN(TabTitlesTest)
#include "tst_tabtitles.moc"
