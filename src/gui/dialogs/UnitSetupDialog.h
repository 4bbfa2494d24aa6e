// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QRadioButton;

// "Unit setup": British (inches, pounds) or Metric (centimetres, kilograms)
// units for heights and weights, kept in the "UnitSetup" setting.
class UnitSetupDialog : public QDialog
{
    Q_OBJECT
public:
    explicit UnitSetupDialog(QWidget *parent = nullptr);

    QRadioButton *britishButton() const { return british_; }
    QRadioButton *metricButton() const { return metric_; }
    // 0 British, 1 Metric, -1 when neither is selected.
    int selectedIndex() const;

    // The button a stored "UnitSetup" selects: 0 British, 1 Metric, -1 neither.
    static int indexForSetting(int setting);

public Q_SLOTS:
    void accept() override;

private:
    QRadioButton *british_ = nullptr;
    QRadioButton *metric_ = nullptr;
};
