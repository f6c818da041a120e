#pragma once

#include <QObject>

class SerdesModelTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void laneKeysAndDevice_data();
    void laneKeysAndDevice();
    void laneStatusFromDesign();
    void pllsForRate_data();
    void pllsForRate();
    void referenceClockReach_data();
    void referenceClockReach();
    void referenceClockFrequency();
    void routeConflicts_data();
    void routeConflicts();
    void resetLaneReleasesOrCommits();
    void addInstanceClaimsOrRefuses();
    void removeInstanceFrees();
    void laneSetEncoding();
    void nameConversions_data();
    void nameConversions();
    void resetForgetsEverything();
};

class DesignFileTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void examplesLoad_data();
    void examplesLoad();
    void malformedDesign_data();
    void malformedDesign();
    void pllTableOverride();
    void addInstanceWritesBack();
    void addInstanceRefusesClash();
};
