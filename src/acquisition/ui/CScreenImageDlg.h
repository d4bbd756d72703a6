// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QDialog>
#include <QImage>
#include <functional>

// "Zrzut ekranu oscyloskopu": the picture the instrument sent of its screen, and "Zapisz…" to
// keep it as PNG.
class CScreenImageDlg : public QDialog {
    Q_OBJECT
public:
    CScreenImageDlg(const QImage& picture, const QString& instrument, QWidget* parent = nullptr);

    // Save as PNG to path; false (the user told) when it cannot be written.
    bool SaveTo(const QString& path);
    // The file dialog; tests answer it.
    std::function<bool(QString& path)> m_promptFile;

private:
    void Save();

    QImage m_picture;
};

// The acquisition's instrument's screen, fetched in the progress window and shown; a family
// that sends no picture says so. Nothing is shown when the fetch failed (its message said why).
class CAcquisition;
struct CPlatform;
void RunScreenshotCommand(CAcquisition& acquisition, const CPlatform& platform, QWidget* parent);
