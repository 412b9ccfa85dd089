#pragma once
#include <QDockWidget>

class QMainWindow;

namespace zevo {

// A tool window of the tool (the servo curves, the live chart, the replay, the differences, the
// restore points) as a dock of the main window: beside the design's area, tabbed with the others
// there, able to float. The window inside keeps its own show, hide and close: showing it shows the
// dock and brings its tab to the front, hiding it hides the dock; the dock's close button closes
// the window inside (or only hides it, where closing would end what it runs: the replay goes on
// without its controls, and comes back with them).
class ToolDock : public QDockWidget {
    Q_OBJECT
public:
    ToolDock(QMainWindow& main, QWidget* content, const QString& name, bool closeClosesContent);

    // A floating dock wholly on the screen it is on, title bar included.
    void KeepOnScreen();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QWidget* Content;
    bool CloseClosesContent;
};

} // namespace zevo
