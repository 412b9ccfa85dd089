// The start-up floor the tool is measured against: a Qt Widgets process showing one main window of
// the tool's size, empty, or with one label ("label"), since the first text a process draws makes
// Qt load its font database, which no window with text avoids.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <cstring>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("bare"));
    window.resize(978, 834);
    if (argc > 1 && std::strcmp(argv[1], "label") == 0)
        window.setCentralWidget(new QLabel(QStringLiteral("ZEVO"), &window));
    window.show();
    return QApplication::exec();
}
