#pragma once

#include <QCheckBox>
#include <QList>

#include <utility>

// A check box whose caption is a sentence with gaps that controls fill, as in "If line is
// busy, retry [n] times until connected". The caption (text()) stays the whole sentence as
// written; the controls put into the gaps become children of the box and stand where their
// gap is, and a click on them never ticks the box.
class GapCheckBox : public QCheckBox
{
    Q_OBJECT

public:
    // A gap follows a word of the caption (its first occurrence after the previous gap).
    struct Gap {
        QString afterWord;
        QList<QWidget *> widgets;
    };

    explicit GapCheckBox(QWidget *parent = nullptr);

    void setGaps(const QList<Gap> &gaps);
    // The caption as the box shows it: the sentence's pieces, with the gaps between them.
    QStringList shownPieces() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool hitButton(const QPoint &pos) const override;
    bool event(QEvent *event) override;

private:
    struct Piece {
        QString text;
        QList<QWidget *> widgets;
    };
    QList<Piece> pieces() const;
    // Lays the pieces out from the indicator on; returns the width they take.
    int layOut(bool place) const;
    int indicatorWidth() const;
    int pieceWidth(const QString &text) const;

    QList<Gap> m_gaps;
};
