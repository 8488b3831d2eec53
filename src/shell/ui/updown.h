#pragma once

#include <QWidget>

class QLabel;
class QToolButton;

// An up-down spinner whose value lives as text in a buddy label: a click moves the label's
// number one step within [minimum, maximum] and raises Change. The label's text is the value
// the program stores and compares; a label that holds no number starts from the minimum.
// Up and Down arrow keys step it too while one of its buttons has the focus.
class UpDown : public QWidget
{
    Q_OBJECT

public:
    explicit UpDown(QWidget *parent = nullptr);

    // The label that holds the value. The counter's accessible name (set on the form) names
    // its buttons' purpose and describes the label for a screen reader.
    void setBuddy(QLabel *label);
    QLabel *buddy() const { return m_buddy; }
    void setRange(int minimum, int maximum);
    int minimum() const { return m_min; }
    int maximum() const { return m_max; }

    void stepUp() { step(+1); }
    void stepDown() { step(-1); }

Q_SIGNALS:
    void Change();

protected:
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void step(int delta);

    QLabel *m_buddy = nullptr;
    QToolButton *m_up;
    QToolButton *m_down;
    int m_min = 0;
    int m_max = 100;
};
