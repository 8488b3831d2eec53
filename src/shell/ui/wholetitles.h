#pragma once

#include <QObject>

class QWidget;

// A window manager cuts a title that is wider than its window ("Closing Brisvan…ustomize
// Dialog"). Each top-level window with a title is made at least as wide as the title needs
// in a bold title-bar font, with room for the icon and the buttons beside it, when it is
// first shown. Install once on the application object.
class WholeTitles : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // The width `window`'s title needs on its title bar.
    static int titleWidth(const QWidget &window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
