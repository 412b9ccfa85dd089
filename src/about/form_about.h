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
    // The release of the tool beside the build stamp ("ZEVO 0.1.0"); LabelRsKey's number is the
    // unit's protocol version, which stays 56 across releases.
    QLabel* LabelRelease = nullptr;
    TClickLabel* LabelExit = nullptr;

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    const std::uint8_t& LanguageIndex;
};

// The maker's logo, 161 x 81, drawn in code like the tool's other pictures.
QPixmap MakerLogo();

// What became of asking the desktop to open a document.
enum class DocumentOpening { Opened, Missing, NoViewer, Refused };

// Opens a document with the viewer the desktop associates with it. Desktop launchers report success
// before they look at the file, so the file is looked for first; on a desktop that keeps its
// associations in the freedesktop way, a PDF file with no program associated is reported as such
// instead of being handed to a launcher that fails unseen.
DocumentOpening OpenWithDesktop(const QString& path);

} // namespace zevo
