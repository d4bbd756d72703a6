// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QDialog>
#include <map>

#include "analysis/MeanRms.h"

class QLineEdit;

// "Wartość średnia i skuteczna przebiegów": the rectified mean and the RMS value of each
// shown curve between the cursors. One class for both templates: 147 with the row Y1,
// 148 with Y1 and Y2 (fields.bTwoPlots).
class CMeanRmsDlg : public QDialog {
    Q_OBJECT
public:
    CMeanRmsDlg(const MeanRmsFields& fields, QWidget* parent = nullptr);

    // Text of the field with that control id; a null string when the layout has none.
    QString FieldText(int controlId) const;
    bool HasField(int controlId) const;

private:
    std::map<int, QLineEdit*> m_fields;
};
