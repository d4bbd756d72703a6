// CKivView's file commands: import into a plot and export of the picture or the record.
#include <QApplication>
#include <QFileDialog>

#include "data/CDataSrcImport.h"
#include "data/CExport.h"
#include "document/DocumentFiles.h"
#include "document/CFileForms.h"
#include "view/ui/CChoosePlotDlg.h"
#include "view/ui/CKivView.h"
#include "qtcore/KivLanguage.h"

namespace {

// A line of a file dialog's filter list and the extension it stands for.
struct FilterLine {
    QString text, extension;
};

template <class Form>
QList<FilterLine> FilterLines(const std::vector<const Form*>& forms) {
    QList<FilterLine> lines;
    for (const Form* f : forms)
        if (*f->FilterText()) lines.append({KivTr("Kiv", f->FilterText()), QString::fromUtf8(f->Extension())});
    return lines;
}

// A name without an extension takes the chosen filter's, not always the first filter's.
void OfferForms(QFileDialog& dialog, const QList<FilterLine>& lines) {
    QStringList texts;
    for (const FilterLine& l : lines) texts.append(l.text);
    dialog.setNameFilters(texts);
    auto follow = [&dialog, lines](const QString& chosen) {
        for (const FilterLine& l : lines)
            if (l.text == chosen) dialog.setDefaultSuffix(l.extension);
    };
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, follow);
    follow(dialog.selectedNameFilter());
}

}  // namespace

// The import's filters show both cases of an extension, because names on this system are
// case-sensitive.
bool CKivView::PromptFile(QString& path, bool save) {
    QFileDialog dialog(this);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        OfferForms(dialog, FilterLines(CFileForms::Exports()));
        dialog.selectFile(QStringLiteral("kiv"));
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
        OfferForms(dialog, FilterLines(CFileForms::Imports()));
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
    path = dialog.selectedFiles().first();
    return true;
}

void CKivView::OnImport() {
    QString path;
    if (!m_promptFile(path, false)) return;
    const std::string name = QFile::encodeName(path).toStdString();
    if (!CFileForms::ImportForPath(name)) return;
    CChoosePlotDlg choose(this);
    if (choose.exec() != QDialog::Accepted) return;
    if (ImportFile(*m_pDoc, name, choose.m_nChoice == 1 ? 1 : 2) == 0)
        m_pDoc->Platform().Message(kImportBadFormat, "Kiv", MsgIcon::Exclamation);
    ReRender();
}

// The form follows the extension of the name alone, as the dialog left it.
void CKivView::OnExport() {
    QString path;
    if (!m_promptFile(path, true)) return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    // The picture forms that draw at any size take the window's picture as it stands.
    const ExportScene scene{std::max(viewport()->width(), 400), std::max(viewport()->height(), 200),
                            m_bWhiteBackground != 0, m_fourierCursor.m_nClickX};
    ExportDocument(*m_pDoc, QFile::encodeName(path).toStdString(), [this] { return RenderExportPicture(); }, scene);
    QApplication::restoreOverrideCursor();
}
