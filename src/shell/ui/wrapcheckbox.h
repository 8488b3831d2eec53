#pragma once

#include <QCheckBox>

// A check box whose long caption wraps onto several lines instead of widening the dialog.
class WrapCheckBox : public QCheckBox
{
    Q_OBJECT

public:
    explicit WrapCheckBox(QWidget *parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    bool hitButton(const QPoint &pos) const override;

private:
    int indicatorWidth() const;
    QRect textRect(int width) const;
};
