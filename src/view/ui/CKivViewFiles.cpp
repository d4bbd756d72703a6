// CKivView's file commands: import into a plot and export of the picture or the record.
#include <QApplication>
#include <QFileDialog>

#include "data/CDataSrcImport.h"
#include "data/CExport.h"
#include "view/ui/CChoosePlotDlg.h"
#include "view/ui/CKivView.h"

// A name typed without an extension gets the first of the dialog's list: "CSV" for the
// import, "csv" (the spreadsheet) for the export. The import's filters show both cases
// of an extension, because names on this system are case-sensitive.
bool CKivView::PromptFile(QString& path, bool save) {
    QFileDialog dialog(this);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setNameFilters({QStringLiteral("Pliki CSV Excel (*.csv)"),
                               QStringLiteral("Pliki CSV Tektronix 460A (*.CSV)"), QStringLiteral("Pliki PCX (*.pcx)")});
        dialog.setDefaultSuffix(QStringLiteral("csv"));
        dialog.selectFile(QStringLiteral("kiv"));
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setNameFilters(
            {QStringLiteral("Pliki CSV Tektronix 460A (*.CSV *.csv)"), QStringLiteral("Pliki DSO (*.DSO *.dso)")});
        dialog.setDefaultSuffix(QStringLiteral("CSV"));
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
    path = dialog.selectedFiles().first();
    return true;
}

void CKivView::OnImport() {
    QString path;
    if (!m_promptFile(path, false)) return;
    const std::string name = QFile::encodeName(path).toStdString();
    const std::string ext = PathExtension(name);
    if (ext != "CSV" && ext != "csv" && ext != "DSO" && ext != "dso") return;
    CChoosePlotDlg choose(this);
    if (choose.exec() != QDialog::Accepted) return;
    if (ImportFile(*m_pDoc, name, choose.m_nChoice == 1 ? 1 : 2) == 0)
        m_pDoc->Platform().Message(kImportBadFormat, "Kiv", MsgIcon::Exclamation);
    ReRender();
}

void CKivView::OnExport() {
    QString path;
    if (!m_promptFile(path, true)) return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const std::string name = QFile::encodeName(path).toStdString();
    if (ExportFormOf(name) == ExportForm::Pcx) {
        const RgbPicture picture = RenderExportPicture();
        ExportDocument(*m_pDoc, name, &picture);
    } else {
        ExportDocument(*m_pDoc, name, nullptr);
    }
    QApplication::restoreOverrideCursor();
}
