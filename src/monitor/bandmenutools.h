#pragma once

#include "shell/menutools.h"

#include <QString>

class BandMenu;

// The forms' view of the monitor's band menu: tools reached by name.
class BandMenuTools : public MenuTools
{
public:
    // The layout is saved to `layoutPath`.
    BandMenuTools(BandMenu &menu, QString layoutPath);

    bool toolChecked(const QString &tool) const override;
    bool toolEnabled(const QString &tool) const override;
    bool toolVisible(const QString &tool) const override;
    void setToolChecked(const QString &tool, bool checked) override;
    void setToolEnabled(const QString &tool, bool enabled) override;
    void setToolVisible(const QString &tool, bool visible) override;
    void setToolCaption(const QString &band, const QString &tool, const QString &caption) override;
    void setToolPicture(const QString &band, const QString &tool, const QPixmap &picture) override;
    void refreshBands() override;
    bool saveLayout() override;

private:
    BandMenu &m_menu;
    QString m_layoutPath;
};
