#pragma once
#include <QAbstractScrollArea>
#include <QImage>

#include "data/CKivDoc.h"
#include "platform/IViewSink.h"

// The document's window: renders the current display mode into a back bitmap and
// copies it on paint. Commands reach it from the frame through OnCommand.
class CKivView : public QAbstractScrollArea, public IViewSink {
    Q_OBJECT
public:
    explicit CKivView(CKivDoc* pDoc, QWidget* parent = nullptr);
    ~CKivView() override;

    CKivDoc* GetDocument() const { return m_pDoc; }
    void OnInitialUpdate();

    // True when the view (or its document) handles the command id.
    bool OnCommand(int id);
    // Fills the enable/check state; false when the view does not know the id.
    bool OnUpdateCommand(int id, CmdState& state);

    // IViewSink
    void SetRedraw() override;
    void Invalidate() override;
    void GetStoredFlags(int32_t& cursors, int32_t& whiteBackground) const override;
    void SetStoredFlags(int32_t cursors, int32_t whiteBackground) override;

    int m_bRedraw = 1;
    int m_bWhiteBackground = 0;
    int m_bCursors = 0;
    int m_bOffsetCursor = 0;

protected:
    CKivDoc* m_pDoc;
};
