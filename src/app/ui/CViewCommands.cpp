// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/CViewCommands.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include "analysis/MeanRms.h"
#include "analysis/ui/CGeneratorDlg.h"
#include "analysis/ui/CMeanRmsDlg.h"
#include "document/CFileForms.h"
#include "document/DocumentFiles.h"
#include "qtcore/KivLanguage.h"
#include "view/ui/CChoosePlotDlg.h"
#include "view/ui/CKivView.h"
#include "view/ui/CPlotSettingsDlg.h"
#include "view/ui/CPrintPreview.h"
#include "view/ui/CScaleDlg.h"

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

CViewCommands::CViewCommands(CKivView& view) : m_view(view), m_doc(*view.GetDocument()) {
    m_promptFile = [this](QString& path, bool save) { return PromptFile(path, save); };
    QObject::connect(&view, &CKivView::axisDoubleClicked, &view, [this](int axis) { OnScale(axis); });
}

bool CViewCommands::OnCommand(int id) {
    if (const int mode = ModeOfCommand(id); mode >= 0) {
        m_doc.SetMode(mode);
        return true;
    }
    switch (id) {
    case ID_PLOT1_TOGGLE: m_doc.TogglePlot(1); return true;
    case ID_PLOT2_TOGGLE: m_doc.TogglePlot(2); return true;
    case ID_CURSOR: m_view.SetCursorsShown(!m_view.CursorsShown()); return true;
    case ID_WHITE_BACKGROUND: m_view.SetWhiteBackground(!m_view.WhiteBackground()); return true;
    case ID_OFFSET_CURSOR: m_view.SetOffsetCursorShown(!m_view.OffsetCursorShown()); return true;
    case ID_MEASUREMENTS: m_view.Measurements().Toggle(); return true;
    case ID_MEASURE_CHOOSE: m_view.Measurements().Choose(&m_view); return true;
    case ID_MEASURE_STATISTICS:
        m_view.Measurements().SetStatisticsShown(!m_view.Measurements().StatisticsShown());
        return true;
    case ID_MEASURE_RESET: m_view.Measurements().ResetStatistics(); return true;
    case ID_EDIT_COPY: OnEditCopy(); return true;
    case ID_PLOT1_DATA: OnPlotSettings(1); return true;
    case ID_PLOT2_DATA: OnPlotSettings(2); return true;
    case ID_PLOT1_SCALE: OnScale(m_doc.GetCurrentMode()->ShowsTwoCurves() ? HIT_Y1AXIS : HIT_YAXIS); return true;
    case ID_PLOT2_SCALE: OnScale(m_doc.GetCurrentMode()->ShowsTwoCurves() ? HIT_Y2AXIS : HIT_YAXIS); return true;
    case ID_AXIS_X_SCALE: OnScale(HIT_XAXIS); return true;
    case ID_MEAN_RMS: OnMeanRms(); return true;
    case ID_IMPORT: OnImport(); return true;
    case ID_EXPORT: OnExport(); return true;
    case ID_GENERATOR: OnGenerate(); return true;
    case ID_FILE_PRINT: OnFilePrint(true); return true;
    case ID_FILE_PRINT_DIRECT: OnFilePrint(false); return true;
    case ID_FILE_PRINT_PREVIEW: OnFilePrintPreview(); return true;
    default: return false;
    }
}

bool CViewCommands::OnUpdateCommand(int id, CmdState& state) {
    if (const int mode = ModeOfCommand(id); mode >= 0) {
        state = {m_doc.IsModeAvailable(mode), mode == m_doc.m_currentMode};
        return true;
    }
    const CData& mode = *m_doc.GetCurrentMode();
    const CDataSrc& src = m_doc.Source();
    switch (id) {
    case ID_PLOT1_TOGGLE:
    case ID_PLOT2_TOGGLE: {
        const uint8_t bit = id == ID_PLOT1_TOGGLE ? 1 : 2;
        state = {(src.m_nPresent & bit) != 0, (src.m_nEnabled & bit) != 0};
        return true;
    }
    case ID_CURSOR:
        state.enabled = mode.IsAvailable() && !mode.IsXY();
        state.checked = state.enabled && m_view.CursorsShown();
        return true;
    case ID_WHITE_BACKGROUND: state = {true, m_view.WhiteBackground()}; return true;
    case ID_MEASUREMENTS: state = {true, m_view.Measurements().IsOn()}; return true;
    case ID_MEASURE_CHOOSE: state = {true, false}; return true;
    case ID_MEASURE_STATISTICS:
        state = {true, m_view.Measurements().IsOn() && m_view.Measurements().StatisticsShown()};
        return true;
    case ID_MEASURE_RESET: state = {m_view.Measurements().IsOn(), false}; return true;
    case ID_OFFSET_CURSOR:
        state.enabled = COffsetMarkerItem::Applies(mode);
        state.checked = state.enabled && m_view.OffsetCursorShown();
        return true;
    case ID_PLOT1_DATA:
    case ID_PLOT2_DATA: state = {(src.m_nPresent & (id == ID_PLOT1_DATA ? 1 : 2)) != 0, false}; return true;
    case ID_PLOT1_SCALE:
    case ID_PLOT2_SCALE: state = {(src.m_nEnabled & (id == ID_PLOT1_SCALE ? 1 : 2)) != 0, false}; return true;
    case ID_AXIS_X_SCALE:
    case ID_EXPORT: state = {src.m_nEnabled != 0, false}; return true;
    case ID_MEAN_RMS: state = {m_doc.CanComputeMeanRms(), false}; return true;
    case ID_IMPORT:
    case ID_GENERATOR:
    case ID_EDIT_COPY:
    case ID_FILE_PRINT:
    case ID_FILE_PRINT_DIRECT:
    case ID_FILE_PRINT_PREVIEW: state = {true, false}; return true;
    default: return false;
    }
}

void CViewCommands::OnPlotSettings(int plot) {
    CDataSrc& src = m_doc.Source();
    PlotSettings settings;
    src.GetPlotSettings(settings, plot);
    PlotColour& colour = plot == 1 ? src.m_crColour1 : src.m_crColour2;
    CPlotSettingsDlg dlg(plot == 1 ? KivTr("Kiv", "Właściwości wykresu 1") : KivTr("Kiv", "Właściwości wykresu 2"),
                         settings, colour, &m_view);
    if (dlg.exec() != QDialog::Accepted) return;
    settings = dlg.Settings();
    src.SetPlotSettings(settings, plot);
    colour = dlg.SwatchColour();
    m_doc.DataChanged();
    m_view.MarkEdited();
}

void CViewCommands::OnScale(int code) {
    CData& mode = *m_doc.GetCurrentMode();
    const char* title = nullptr;
    int axis = 1;
    switch (code) {
    case HIT_YAXIS: title = KIV_TR_NOOP("Kiv", "Oś Y"); break;
    case HIT_Y1AXIS: title = KIV_TR_NOOP("Kiv", "Oś Y1"); break;
    case HIT_Y2AXIS: title = KIV_TR_NOOP("Kiv", "Oś Y2"), axis = 2; break;
    case HIT_XAXIS: title = KIV_TR_NOOP("Kiv", "Oś X"), axis = 3; break;
    default: return;
    }
    if (!mode.IsAvailable()) return;
    AxisWindowInfo info;
    mode.GetAxisInfo(info, axis);
    CScaleDlg dlg(KivTr("Kiv", title), info, &m_view);
    if (dlg.exec() != QDialog::Accepted) return;
    mode.SetAxisWindow(dlg.Info(), axis);
    mode.UpdateDisplay();
    m_view.MarkEdited();
    m_view.RenderAgain();
}

void CViewCommands::OnMeanRms() {
    // The cursors mark the range while the values are read.
    const bool cursors = m_view.CursorsShown();
    m_view.SetCursorsShown(true);
    std::string values[4];
    bool two = false;
    if (!m_doc.ComputeMeanRms(values, two)) {
        m_doc.Platform().Message(kMeanRmsErrorText, kMeanRmsErrorCaption, MsgIcon::Exclamation);
    } else {
        CMeanRmsDlg dlg(MeanRmsDialogFields(values, two), &m_view);
        dlg.exec();
    }
    m_view.SetCursorsShown(cursors);
}

void CViewCommands::OnGenerate() {
    CGeneratorDlg dlg(m_doc.Platform(), &m_view);
    const bool ok = dlg.exec() == QDialog::Accepted;
    m_doc.OnGenerate(ok ? &dlg.Params() : nullptr);
    m_view.RenderAgain();
}

void CViewCommands::OnEditCopy() {
    const QImage picture = m_view.RenderPicture(800, 600, m_view.WhiteBackground());
    if (QClipboard* clipboard = QGuiApplication::clipboard(); clipboard && !picture.isNull())
        clipboard->setImage(picture);
}

bool CViewCommands::PrintPage(QPrinter& printer) {
    const QImage picture = m_view.RenderPicture(800, 600, true);
    if (picture.isNull()) return false;
    QPainter p;
    if (!p.begin(&printer)) return false;
    // Without this the page would carry the picture as a lossy JPEG.
    p.setRenderHint(QPainter::LosslessImageRendering);
    const int hr = printer.width(), vr = printer.height();
    p.drawImage(QRect(0, 0, hr, CPlotRenderer::PrintedHeight(hr, vr)), picture);
    return p.end();
}

QPrinter& CViewCommands::SharedPrinter() {
    static QPrinter* printer = [] {
        auto* p = new QPrinter(QPrinter::HighResolution);
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, [p] { delete p; });
        return p;
    }();
    return *printer;
}

void CViewCommands::OnFilePrint(bool withDialog) {
    QPrinter& printer = SharedPrinter();
    printer.setFromTo(1, 1);
    if (withDialog) {
        QPrintDialog dialog(&printer, &m_view);
        dialog.setMinMax(1, 1);
        if (dialog.exec() != QDialog::Accepted) return;
    }
    PrintPage(printer);
}

void CViewCommands::OnFilePrintPreview() {
    QPrintPreviewDialog dialog(&SharedPrinter(), &m_view);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &m_view,
                     [this](QPrinter* printer) { PaintPreviewPage(m_doc, *printer, &m_view.FourierCursor()); });
    dialog.exec();
}

// The import's filters show both cases of an extension, because names on this system are
// case-sensitive.
bool CViewCommands::PromptFile(QString& path, bool save) {
    QFileDialog dialog(&m_view, save ? KivTr("Kiv", "Eksportuj") : KivTr("Kiv", "Importuj"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        OfferForms(dialog, FilterLines(CFileForms::Exports()));
        dialog.selectFile(QFileInfo(m_strTitle).completeBaseName());
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
        OfferForms(dialog, FilterLines(CFileForms::Imports()));
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
    path = dialog.selectedFiles().first();
    return true;
}

void CViewCommands::OnImport() {
    QString path;
    if (!m_promptFile(path, false)) return;
    const std::string name = QFile::encodeName(path).toStdString();
    if (!CFileForms::ImportForPath(name)) return;
    CChoosePlotDlg choose(&m_view);
    if (choose.exec() != QDialog::Accepted) return;
    if (ImportFile(m_doc, name, choose.m_nChoice == 1 ? 1 : 2) == 0)
        m_doc.Platform().Message(kImportBadFormat, "Kiv", MsgIcon::Exclamation);
    m_view.RenderAgain();
}

// The form follows the extension of the name alone, as the dialog left it.
void CViewCommands::OnExport() {
    QString path;
    if (!m_promptFile(path, true)) return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    // The picture forms that draw at any size take the window's picture as it stands.
    QWidget* viewport = m_view.Viewport();
    const ExportScene scene{std::max(viewport->width(), 400), std::max(viewport->height(), 200),
                            m_view.WhiteBackground(), m_view.FourierClickX()};
    ExportDocument(m_doc, QFile::encodeName(path).toStdString(), [this] { return m_view.RenderExportPicture(); },
                   scene);
    QApplication::restoreOverrideCursor();
}
