#pragma once

#include <QGroupBox>
#include <array>

class QLineEdit;
class QToolButton;

// The four sample boxes of the work states, each shown in its state's colour, with a button
// (or a double-click on the box) that picks a new colour.
class StateColorGroup : public QGroupBox
{
    Q_OBJECT
public:
    explicit StateColorGroup(QWidget *parent = nullptr);

    std::array<QColor, 4> colors() const;
    void setColors(const std::array<QColor, 4> &colors);
    // Asks for a new colour of state 1 to 4, starting from its current one.
    void pickColor(int state);

    QLineEdit *m_pendingSampleEdit;
    QLineEdit *m_inProgressSampleEdit;
    QLineEdit *m_doneSampleEdit;
    QLineEdit *m_abandonedSampleEdit;
    QToolButton *m_pendingColorButton;
    QToolButton *m_inProgressColorButton;
    QToolButton *m_doneColorButton;
    QToolButton *m_abandonedColorButton;

signals:
    void colorsChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::array<QLineEdit *, 4> samples() const;
};
