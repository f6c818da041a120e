#include <QApplication>
#include <QObject>
#include <QTest>

#include <memory>

std::unique_ptr<QObject> createInitDialogTest();
std::unique_ptr<QObject> createFieldRulesTest();
std::unique_ptr<QObject> createParametersTest();
std::unique_ptr<QObject> createRecordingTest();
std::unique_ptr<QObject> createShellTest();

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    int failed = 0;
    for (auto create : {createInitDialogTest, createFieldRulesTest, createParametersTest,
                        createRecordingTest, createShellTest}) {
        const std::unique_ptr<QObject> test = create();
        failed += QTest::qExec(test.get(), argc, argv);
    }
    return failed;
}
