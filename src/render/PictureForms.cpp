// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/PictureForms.h"

#include <QBuffer>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <memory>

#include "document/CFileForms.h"
#include "render/CFourierCursor.h"
#include "render/CPlotRenderer.h"
#include "platform/TrNoop.h"

namespace {

class CPictureForm : public CExportForm {
public:
    bool Write(const CExportJob& job, std::string& out) const override {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        CFourierCursor cursor;
        cursor.m_nClickX = job.scene.fourierClickX;
        if (!Draw(job, cursor, buffer)) return false;
        out.append(buffer.data().constData(), static_cast<size_t>(buffer.data().size()));
        return !buffer.data().isEmpty();
    }

protected:
    virtual bool Draw(const CExportJob& job, CFourierCursor& cursor, QBuffer& buffer) const = 0;
};

class CPngForm : public CPictureForm {
public:
    const char* Name() const override { return "png"; }
    const char* FilterText() const override { return KIV_TR_NOOP("Kiv", "Obraz PNG (*.png)"); }
    const char* Extension() const override { return "png"; }

protected:
    bool Draw(const CExportJob& job, CFourierCursor& cursor, QBuffer& buffer) const override {
        const ExportScene& s = job.scene;
        CPlotRenderer renderer;
        return renderer.RenderPlot(job.doc, s.width, s.height, s.whiteBackground, &cursor).save(&buffer, "PNG");
    }
};

class CSvgForm : public CPictureForm {
public:
    const char* Name() const override { return "svg"; }
    const char* FilterText() const override { return KIV_TR_NOOP("Kiv", "Grafika SVG (*.svg)"); }
    const char* Extension() const override { return "svg"; }

protected:
    bool Draw(const CExportJob& job, CFourierCursor& cursor, QBuffer& buffer) const override {
        const ExportScene& s = job.scene;
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(QSize(s.width, s.height));
        svg.setViewBox(QRect(0, 0, s.width, s.height));
        svg.setResolution(96);  // CSS pixels: the file's size in millimetres is the picture's in pixels
        svg.setTitle(QStringLiteral("Kiv"));
        QPainter painter;
        if (!painter.begin(&svg)) return false;
        CPlotRenderer().PaintPlot(painter, job.doc, s.width, s.height, s.whiteBackground, &cursor);
        if (!painter.end()) return false;
        // The size in pixels, not in millimetres rounded to three places, so that a client
        // draws it at the picture's own size.
        QByteArray& bytes = buffer.buffer();
        const qsizetype width = bytes.indexOf(" width=\""), end = bytes.indexOf("\n", width);
        if (width < 0 || end < 0) return false;
        bytes.replace(width, end - width,
            QStringLiteral(" width=\"%1\" height=\"%2\"").arg(s.width).arg(s.height).toUtf8());
        return true;
    }
};

// A4 landscape, the picture across the page as the printout has it, on white.
class CPdfForm : public CPictureForm {
public:
    const char* Name() const override { return "pdf"; }
    const char* FilterText() const override { return KIV_TR_NOOP("Kiv", "Dokument PDF (*.pdf)"); }
    const char* Extension() const override { return "pdf"; }

protected:
    bool Draw(const CExportJob& job, CFourierCursor& cursor, QBuffer& buffer) const override {
        QPdfWriter pdf(&buffer);
        pdf.setPageSize(QPageSize(QPageSize::A4));
        pdf.setPageOrientation(QPageLayout::Landscape);
        pdf.setTitle(QStringLiteral("Kiv"));
        pdf.setCreator(QStringLiteral("Kiv"));
        QPainter painter;
        if (!painter.begin(&pdf)) return false;
        const int hr = pdf.width(), vr = pdf.height();
        // Lines as wide as the printout's pixels: a page's hairline is all but invisible.
        PaintPreviewPicture(painter, job.doc, QRect(0, 0, hr, CPlotRenderer::PrintedHeight(hr, vr)), &cursor, false);
        return painter.end();
    }
};

}  // namespace

void RegisterPictureForms() {
    CFileForms::AddExport(std::make_unique<CPngForm>());
    CFileForms::AddExport(std::make_unique<CSvgForm>());
    CFileForms::AddExport(std::make_unique<CPdfForm>());
}
