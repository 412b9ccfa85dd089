#pragma once
#include <QDialog>
#include <QLabel>
#include <QPixmap>
#include <QString>
#include <cstdint>

namespace zevo {

// A label that serves as a button: a click on it is a Click.
class TClickLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
signals:
    void Click();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

// Help > About: the maker's logo and lines, when the program was built and its version. One
// instance, created with the main window and shown modally on demand.
class TFormAbout : public QDialog {
    Q_OBJECT
public:
    // The language is the main window's, which owns this window and so outlives it.
    explicit TFormAbout(const std::uint8_t& languageIndex, QWidget* parent = nullptr);

    void FormCreate();   // once: build stamp, version, centred on the screen
    void FormActivate(); // every time it comes up: the caption of the current language
    void Button1Click(); // "OK"

    QLabel* Image1 = nullptr;
    QLabel* Label2 = nullptr;  // maker
    QLabel* Label3 = nullptr;  // street
    QLabel* Label4 = nullptr;  // postal code and town
    QLabel* Label5 = nullptr;  // country
    QLabel* Label9 = nullptr;  // e-mail
    QLabel* Label10 = nullptr; // web
    QLabel* LabelDate = nullptr;
    QLabel* LabelTime = nullptr;
    QLabel* LabelRsKey = nullptr;
    TClickLabel* LabelExit = nullptr;

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    const std::uint8_t& LanguageIndex;
};

// The maker's logo, 161 x 81, drawn in code like the tool's other pictures.
QPixmap MakerLogo();

// Opens a document with the viewer the desktop associates with it. False when the file is not there
// or no viewer could be started: desktop launchers report success before they look at the file.
bool OpenWithDesktop(const QString& path);

} // namespace zevo
