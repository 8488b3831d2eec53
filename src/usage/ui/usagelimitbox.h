#pragma once

#include <QGroupBox>

class AppContext;
class QComboBox;
class QSpinBox;

// The monthly usage limit in Preferences: an amount (0, "No limit", the default) in hours or
// megabytes. It shows the stored limit and stores the one shown when the window's OK saves.
class UsageLimitBox : public QGroupBox
{
    Q_OBJECT

public:
    explicit UsageLimitBox(AppContext &context, QWidget *parent = nullptr);

    void save();

    QSpinBox *txtUsageLimit;
    QComboBox *cboUsageLimitUnit;

private:
    AppContext &m_context;
};
