#include "hostservicestests.h"

#include <QTest>

QTEST_MAIN(HostServicesTest)
