// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QFrame>
#include <QString>
#include <map>
#include <string>

class QLineEdit;

// Common ground of the read-out panels over the plot: read-only fields looked up by
// their control id. The panels lie over the view and must never take its keyboard
// focus, or the view's keys would stop working while a panel is shown.
class CReadoutPanel : public QFrame {
    Q_OBJECT
public:
    explicit CReadoutPanel(QWidget* parent);

    // One row of a cursor table: its label and the fields of its three columns.
    struct CursorRow {
        const char* label;
        int ids[3];  // "Kursor początkowy", "Kursor końcowy", "Różnica"
    };

    // Text of the field with that control id; a null string when there is none.
    QString FieldText(int controlId) const;

protected:
    // A read-only field wide enough for sample.
    QLineEdit* AddField(int controlId, const QString& sample = QStringLiteral("-000.0m"));
    void SetField(int controlId, const std::string& text);
    // The cursor panels' group "Współrzędne kursorów": column heads and one row a curve.
    void BuildCursorTable(const CursorRow* rows, int count);
    // Value at cursor 1, at cursor 2 and their difference, taken in double.
    void ShowCursorRow(const CursorRow& row, float first, float second, int exponent);
    // Close spacing: the panel covers part of the plot.
    void Tighten();
    // After the layout is built: nothing takes the focus, the size is the layout's.
    void Freeze();

private:
    std::map<int, QLineEdit*> m_fields;
};
