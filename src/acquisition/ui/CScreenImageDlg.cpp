// SPDX-License-Identifier: GPL-3.0-or-later
#include "acquisition/ui/CScreenImageDlg.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSaveFile>
#include <QScrollArea>
#include <QVBoxLayout>

#include "acquisition/CAcquisition.h"
#include "acquisition/CScpiDriver.h"
#include "acquisition/ui/CProgressDlg.h"
#include "platform/Translate.h"
#include "qtcore/KivLanguage.h"

CScreenImageDlg::CScreenImageDlg(const QImage& picture, const QString& instrument, QWidget* parent)
    : QDialog(parent), m_picture(picture) {
    setWindowTitle(KivTr("Kiv", "Ekran oscyloskopu — %1").arg(instrument));
    auto* label = new QLabel(this);
    label->setObjectName(QStringLiteral("picture"));
    label->setPixmap(QPixmap::fromImage(picture));
    auto* scroll = new QScrollArea(this);
    scroll->setWidget(label);
    scroll->setWidgetResizable(false);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* save = buttons->addButton(KivTr("Kiv", "&Zapisz jako PNG..."), QDialogButtonBox::ActionRole);
    save->setObjectName(QStringLiteral("save"));
    buttons->addButton(QDialogButtonBox::Close)->setText(KivTr("Kiv", "Zamknij"));
    connect(save, &QPushButton::clicked, this, &CScreenImageDlg::Save);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(scroll, 1);
    layout->addWidget(buttons);
    resize(std::min(picture.width() + 40, 1100), std::min(picture.height() + 90, 800));
    m_promptFile = [this](QString& path) {
        QFileDialog dialog(this, KivTr("Kiv", "Zapisz obraz ekranu"));
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setNameFilter(KivTr("Kiv", "Obrazy PNG (*.png)"));
        dialog.setDefaultSuffix(QStringLiteral("png"));
        dialog.selectFile(QStringLiteral("ekran.png"));
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
        path = dialog.selectedFiles().first();
        return true;
    };
}

// Written aside and renamed: a failed save leaves a file already there as it was.
bool CScreenImageDlg::SaveTo(const QString& path) {
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && m_picture.save(&file, "PNG") && file.commit();
}

void CScreenImageDlg::Save() {
    QString path;
    if (!m_promptFile(path)) return;
    if (!SaveTo(path))
        QMessageBox::warning(this, QStringLiteral("Kiv"),
                             KivTr("Kiv", "Nie można zapisać pliku. Sprawdź, czy folder istnieje i czy masz prawo zapisu."));
}

void RunScreenshotCommand(CAcquisition& acquisition, const CPlatform& platform, QWidget* parent) {
    CScopeDriver& chosen = acquisition.PrepareDriver();
    auto* driver = dynamic_cast<CScpiDriver*>(&chosen);
    if (!driver) {
        platform.Message(KivText(KIV_TR_NOOP("Kiv", "%1 nie wysyła obrazu swojego ekranu"), {chosen.Model().name}), "Kiv",
                         MsgIcon::Information);
        return;
    }
    // The picture needs no plot: only the instrument's identity goes before it.
    driver->m_job = CScpiDriver::EJob::Screen;
    driver->m_nPlot1Channel = 1;
    CProgressDlg progress(*driver, platform, parent);
    const int result = progress.exec();
    driver->m_job = CScpiDriver::EJob::Waveforms;
    if (result == kDialogCancel || driver->m_nState != 0) return;
    const std::string& bytes = driver->ScreenImage();
    const QImage picture = QImage::fromData(reinterpret_cast<const uchar*>(bytes.data()), static_cast<int>(bytes.size()));
    if (picture.isNull()) {
        platform.Message(KivText(KIV_TR_NOOP("Kiv", "%1: obraz ekranu jest uszkodzony"), {driver->DeviceName()}), "Kiv",
                         MsgIcon::Exclamation);
        return;
    }
    CScreenImageDlg dialog(picture, QString::fromStdString(driver->FoundInstrument()), parent);
    dialog.exec();
}
