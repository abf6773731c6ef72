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
    Recordset m_timeZones;

public:
    explicit WorldClocksPage(QWidget *parent = nullptr);

    // Opens the list of places; false (after saying so) when it cannot be read.
    bool ReadyTimeZone();
    // The one-second tick: every clock to the clock's now.
    void Timer1Timer();
    // Puts the face picture of the program folder on all nine clocks (the page's first show).
    void loadFaces(const QString &path);

    Recordset &dsTimeZone() { return m_timeZones; }

    // The fixed clocks and their digital times, in the order of fixedCities().
    QList<AnalogClock *> fixedClocks;
    QList<QLabel *> fixedTimes;
    DataGrid *placeGrid;
    AnalogClock *BmpClock9;
    QLabel *Label28;
    QLabel *Label29;

private:
    QWidget *buildFixedClocks();
    QWidget *buildPlaceGroup();
    void dsTimeZoneAfterScroll();
    // The chosen place's time on the ninth clock; false when the list has no current row.
    bool showPlace();
};
