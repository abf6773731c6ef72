#pragma once

#include "data/Recordset.h"

#include <QList>
#include <QWidget>

class AnalogClock;
class DataGrid;
class QLabel;

// The " 世界时钟 " page: eight fixed cities in two rows, and a ninth clock for the place
// chosen in the list of TTimeZone; the digital times are blue in working hours.
class WorldClocksPage : public QWidget
{
    Q_OBJECT
    // First, so the grid built in the constructor finds it constructed.
    Recordset m_places;

public:
    explicit WorldClocksPage(QWidget *parent = nullptr);

    // Opens the list of places; false (after saying so) when it cannot be read.
    bool loadPlaces();
    // The one-second tick: every clock to the clock's now.
    void clockTick();
    // Puts the face picture of the program folder on all nine clocks (the page's first show).
    void loadFaces(const QString &path);

    Recordset &places() { return m_places; }

    // The fixed clocks and their digital times, in the order of fixedCities().
    QList<AnalogClock *> m_fixedClocks;
    QList<QLabel *> m_fixedTimeLabels;
    DataGrid *m_placeGrid;
    AnalogClock *m_placeClock;
    QLabel *m_placeNameLabel;
    QLabel *m_placeTimeLabel;

private:
    QWidget *buildFixedClocks();
    QWidget *buildPlaceGroup();
    void placeChosen();
    // The chosen place's time on the ninth clock; false when the list has no current row.
    bool showPlace();
};
