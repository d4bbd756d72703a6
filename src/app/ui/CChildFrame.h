#pragma once
#include <QMdiSubWindow>
#include <memory>

#include "app/CommandIds.h"
#include "document/CKivDoc.h"

class CKivApp;
class CKivView;

// The window of one document: it owns the document and holds its one view. The
// document's own file commands (close, save, save as) are handled here.
class CChildFrame : public QMdiSubWindow {
    Q_OBJECT
public:
    CChildFrame(CKivApp& app, std::unique_ptr<CKivDoc> doc, QWidget* parent = nullptr);
    ~CChildFrame() override;

    CKivDoc* GetDocument() const { return m_pDoc.get(); }
    CKivView* GetView() const { return m_pView; }

    const QString& GetPathName() const { return m_strPathName; }
    void SetPathName(const QString& path);
    const QString& GetTitle() const { return m_strTitle; }
    void SetTitle(const QString& title);

    // First showing of a new or opened document.
    void InitialUpdateFrame();
    // A document's window is always shown maximised when it is brought up.
    void ActivateFrame();

    // Asks whether to save a modified document; false when the user cancelled.
    bool SaveModified();
    // Saves under path, or asks for a name when path is empty; false when not saved.
    bool DoSave(const QString& path);

    // Routing: the view first, then the document (its file commands and plot toggles).
    bool OnCommand(int id);
    bool OnUpdateCommand(int id, CmdState& state);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    CKivApp& m_app;
    std::unique_ptr<CKivDoc> m_pDoc;
    CKivView* m_pView;
    QString m_strPathName;
    QString m_strTitle;
};
